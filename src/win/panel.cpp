#include "win/panel.h"

namespace dravlink::win {
namespace {

LRESULT CALLBACK PanelProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_COMMAND:
      return ::SendMessageA(::GetParent(hwnd), message, wParam, lParam);
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(hwnd, &ps);
      RECT r;
      ::GetClientRect(hwnd, &r);
      ::DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
      ::InflateRect(&r, -1, -1);
      ::DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
      ::EndPaint(hwnd, &ps);
      return 0;
    }
    default:
      return ::DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

const char* PanelClass(HINSTANCE instance) {
  static const char kName[] = "TPanel";
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &PanelProcedure;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kName;
  ::RegisterClassExA(&wc);  // a second registration in one run fails harmlessly
  return kName;
}

}  // namespace dravlink::win
