#pragma once

#include <windows.h>

namespace dravlink::win {

// A window's device context, released when done.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a device context for one scope and puts the previous one back.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  ~ScopedSelect() { ::SelectObject(dc_, previous_); }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Size of `text` on one line in `font`, as `window` would draw it.
inline SIZE TextExtent(HWND window, HGDIOBJ font, const char* text) {
  SIZE size{0, 0};
  WindowDc dc(window);
  if (!dc.Get()) return size;
  ScopedSelect select(dc.Get(), font);
  ::GetTextExtentPoint32A(dc.Get(), text, ::lstrlenA(text), &size);
  return size;
}

}  // namespace dravlink::win
