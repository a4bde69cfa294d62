// Keeps one Wine session alive for a whole test run: a hidden message-only window in a
// GetMessage loop, so services.exe and the virtual desktop stay up between test programs
// (and are started by us, with our output going to /dev/null, not into a captured pipe).
//
// keepalive.exe [READY-FILE]
//   READY-FILE (a Windows path): written once the desktop is up, so the session script knows
//   the first GUI test program will not race the desktop start-up.
#include <windows.h>

namespace {

LRESULT CALLBACK KeepAliveProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void WriteReadyFile(const char* path) {
  HANDLE file =
      CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, "ready\n", 6, &written, nullptr);
  CloseHandle(file);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = KeepAliveProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "DravlinkKeepAlive";
  if (!RegisterClassA(&windowClass)) return 1;
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, "keepalive", 0, 0, 0, 0, 0,
                                HWND_MESSAGE, nullptr, instance, nullptr);
  if (!window) return 1;

  // Asking for the desktop window makes Wine start the desktop (explorer) and wait for it.
  GetDesktopWindow();
  if (__argc > 1) WriteReadyFile(__argv[1]);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
