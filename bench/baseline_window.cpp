// The least a program can do and still look like dravlink.exe to the UI driver: one visible
// top-level window of the same class and caption that closes on WM_CLOSE. bench/run times
// dravlink.exe's start against this one in the same Wine session.
//
// With a DravProg.Exe in its current folder it also does the least that starts that program and
// ends with it: one shell call once the window shows, then a wait on the main thread, and out.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

namespace {

constexpr char kClassName[] = "TfrmMain";
constexpr char kCaption[] = "Drav Link  v1.04";
// dravlink.exe's frame and client area, so both programs paint the same amount of screen.
constexpr int kLeft = 390, kTop = 197, kClientWidth = 473, kClientHeight = 309;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  // DefWindowProc destroys the window on WM_CLOSE.
  return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (!::RegisterClassA(&windowClass)) return 1;
  RECT frame{0, 0, kClientWidth, kClientHeight};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  HWND window = ::CreateWindowExA(kExStyle, kClassName, kCaption, kStyle, kLeft, kTop,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                  nullptr, instance, nullptr);
  if (!window) return 1;
  ::ShowWindow(window, showCommand);
  ::UpdateWindow(window);
  if (::GetFileAttributesA("DravProg.Exe") != INVALID_FILE_ATTRIBUTES) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = "DravProg.Exe";
    info.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExA(&info) || !info.hProcess) return 1;
    ::WaitForSingleObject(info.hProcess, INFINITE);
    return 0;
  }
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return 0;
}
