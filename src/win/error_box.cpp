#include "win/error_box.h"

#include <new>
#include <stdexcept>

#include "core/messages.h"

namespace dravlink::win {

void ShowErrorBox(HWND owner, std::string_view caption, std::string_view message) {
  const std::string text = ErrorBoxText(message);
  const std::string title(caption);
  ::MessageBoxA(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONSTOP);
}

std::string CurrentExceptionMessage() {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return "Out of memory";
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unexpected failure";
  }
}

}  // namespace dravlink::win
