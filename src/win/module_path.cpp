#include "win/module_path.h"

#include <windows.h>

#include "core/failure.h"

namespace dravlink::win {

std::string ExePath() {
  // The path may be longer than MAX_PATH; grow until it fits.
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw Failure("Cannot find the program's own path", ::GetLastError());
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string FolderOf(std::string_view path) {
  const auto cut = path.find_last_of("\\:");
  return std::string(cut == std::string_view::npos ? std::string_view() : path.substr(0, cut + 1));
}

}  // namespace dravlink::win
