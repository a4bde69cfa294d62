#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <string_view>

namespace dravlink::win {

// The one kind of error box: modal, stop icon, a single OK button. The full stop rule is
// applied to `message` here.
void ShowErrorBox(HWND owner, std::string_view caption, std::string_view message);

// The message of the exception being handled; for use inside a catch block only.
std::string CurrentExceptionMessage();

// Runs one event handler. A failure it raises is shown in the error box and ends the handler;
// the program carries on. This is the only place failures are caught.
template <typename Handler>
void Dispatch(HWND owner, std::string_view caption, Handler&& handler) noexcept {
  try {
    handler();
  } catch (...) {
    ShowErrorBox(owner, caption, CurrentExceptionMessage());
  }
}

}  // namespace dravlink::win
