#pragma once

#include <windows.h>

#include <string>

namespace dravlink::win {

// A one-line text label. The caption lives here, byte for byte; the control only shows it.
class Label {
 public:
  void Attach(HWND control) {
    control_ = control;
    Show();
  }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) {
    caption_ = std::move(caption);
    Show();
  }

 private:
  void Show() {
    if (control_) ::SetWindowTextA(control_, caption_.c_str());
  }

  HWND control_ = nullptr;  // owned by its parent window
  std::string caption_;
};

}  // namespace dravlink::win
