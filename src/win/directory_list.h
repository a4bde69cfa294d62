#pragma once

#include <string>

#include "win/label.h"

namespace dravlink::win {

// The folder the user is looking at. It always has one: at first the process's current
// directory. Moving it moves the process's current directory along (a program started later
// inherits it), and its label, when it has one, always shows it.
class DirectoryList {
 public:
  DirectoryList();

  const std::string& Directory() const { return directory_; }

  // Empty, or the same folder but for letter case: nothing happens. Otherwise the folder is
  // entered (relative to the current one, drive letters allowed); its full path becomes the
  // directory. A folder that can't be entered raises the I/O failure and changes nothing.
  void SetDirectory(const std::string& target);

  // The label takes the directory now and after every move.
  void SetDirLabel(Label* label);

 private:
  void Changed();

  std::string directory_;
  Label* dirLabel_ = nullptr;
};

// The process's current directory as the system reports it.
std::string CurrentDirectory();

// Equal apart from letter case, by the user's locale.
bool SameIgnoringCase(const std::string& a, const std::string& b);

}  // namespace dravlink::win
