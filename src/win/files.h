#pragma once

#include <string>
#include <string_view>

#include "win/unique_handle.h"

namespace dravlink::win {

// Raises the I/O failure for a system error code: its message comes from the code.
[[noreturn]] void ThrowIoError(unsigned long systemCode);

// True when `name` names a file; a folder of that name does not count. A bare name is looked
// for in the process's current directory.
bool FileExists(const std::string& name);

// A file held open for reading; others may read it meanwhile, but not write it.
class InputFile {
 public:
  explicit InputFile(const std::string& path);  // raises the I/O failure when it can't open
  std::string ReadAll();                        // every byte from the current position
  void Close() { handle_.Reset(); }

 private:
  UniqueFile handle_;
};

// A file created afresh (or emptied) for writing; others may read it meanwhile, but not write.
class OutputFile {
 public:
  explicit OutputFile(const std::string& path);  // raises the I/O failure when it can't create
  void Write(std::string_view bytes);
  void Close();  // flushes what the system still holds, then releases the file

 private:
  UniqueFile handle_;
};

// Puts `bytes` in place of the file at `path` so that a crash or a full disk never leaves it
// short: the text is written and flushed beside it and swapped in in one step (the original's
// attributes and security are kept). Where the folder takes no new file, the file is written in
// place instead. Raises "Cannot create file <path>" when the file can't be replaced or created
// and "Stream write error" when the text can't be written whole; no temporary file is left.
void SaveFileReplacing(const std::string& path, std::string_view bytes);

}  // namespace dravlink::win
