// Demo programmer program: shows what it would program, read from the settings file in its
// current directory, and closes when the user closes it.
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Summary() {
  std::ifstream in("dravsettings.txt", std::ios::binary);
  if (!in) return "No dravsettings.txt in the current folder.";
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  auto at = [&](std::size_t n) { return n <= lines.size() ? lines[n - 1] : std::string(); };
  std::ostringstream out;
  out << "Demo programmer\r\n\r\nDevice:\t" << at(81) << "\r\nFile:\t" << at(8) << "\r\nName:\t"
      << at(5) << "\r\nSizes:\t" << at(23) << " /" << at(22) << "\r\n";
  return out.str();
}

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = &Procedure;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = "DravProgDemo";
  ::RegisterClassA(&wc);
  HWND window = ::CreateWindowA("DravProgDemo", "Drav programmer (demo)",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 440, 540, 420, 200,
                                nullptr, nullptr, instance, nullptr);
  const std::string text = Summary();
  ::CreateWindowA("STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 12, 12,
                  390, 150, window, nullptr, instance, nullptr);
  ::ShowWindow(window, showCommand);
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return 0;
}
