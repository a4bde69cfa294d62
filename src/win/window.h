#pragma once

#include <windows.h>

#include "win/error_box.h"

namespace dravlink::win {

// Base of a top-level window class. The window object is stored with the HWND at WM_NCCREATE,
// so messages reach `Derived::HandleMessage(UINT, WPARAM, LPARAM)`, each behind the exception
// barrier: a failure in a handler is shown in the error box captioned
// `Derived::ErrorCaption()` and the handler's message counts as handled.
template <typename Derived>
class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd_; }

 protected:
  Window() = default;
  // A derived class destroys its window in its own destructor (DestroyHandle), while the
  // members its handlers use still exist. Here the derived part is gone, so the window's last
  // messages go to the default procedure.
  ~Window() {
    if (!hwnd_) return;
    ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
  }

  void DestroyHandle() {
    if (hwnd_) ::DestroyWindow(hwnd_);
  }

  static void RegisterWindowClass(HINSTANCE instance, const char* className, UINT style,
                                  HBRUSH background) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &Window::Procedure;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    ::RegisterClassExA(&wc);  // a second registration in one run fails harmlessly
  }

  // Returns false when the system refused to create the window.
  bool CreateHandle(HINSTANCE instance, const char* className, const char* caption, DWORD style,
                    DWORD exStyle, int x, int y, int width, int height) {
    return ::CreateWindowExA(exStyle, className, caption, style, x, y, width, height, nullptr,
                             nullptr, instance, static_cast<Derived*>(this)) != nullptr;
  }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Derived* self = nullptr;
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      self = static_cast<Derived*>(create->lpCreateParams);
      self->hwnd_ = hwnd;
      ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<Derived*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
      return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    LRESULT result = 0;
    Dispatch(hwnd, Derived::ErrorCaption(),
             [&] { result = self->HandleMessage(message, wParam, lParam); });
    return result;
  }

  HWND hwnd_ = nullptr;
};

}  // namespace dravlink::win
