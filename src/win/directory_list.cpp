#include "win/directory_list.h"

#include <windows.h>

#include "win/files.h"

namespace dravlink::win {

std::string CurrentDirectory() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = ::GetCurrentDirectoryA(static_cast<DWORD>(path.size()), path.data());
    if (length == 0) ThrowIoError(::GetLastError());
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(length);  // the size it needs, terminator included
  }
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a.data(),
                          static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

DirectoryList::DirectoryList() : directory_(CurrentDirectory()) {}

void DirectoryList::SetDirectory(const std::string& target) {
  if (target.empty() || SameIgnoringCase(target, directory_)) return;
  if (!::SetCurrentDirectoryA(target.c_str())) ThrowIoError(::GetLastError());
  directory_ = CurrentDirectory();
  Changed();
}

void DirectoryList::SetDirLabel(Label* label) {
  dirLabel_ = label;
  Changed();
}

void DirectoryList::Changed() {
  if (dirLabel_) dirLabel_->SetCaption(directory_);
}

}  // namespace dravlink::win
