#include "win/ini_store.h"

#include <windows.h>

#include "core/failure.h"
#include "core/messages.h"
#include "win/module_path.h"

namespace dravlink::win {

namespace {
constexpr DWORD kReadBufferSize = 2048;
}

void IniStore::Open() {
  path_ = FolderOf(ExePath()) + iniFileName_;
}

std::string IniStore::ReadString(const std::string& section, const std::string& key,
                                 const std::string& fallback) const {
  char buffer[kReadBufferSize];
  const DWORD length = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(),
                                                  buffer, kReadBufferSize, path_.c_str());
  return std::string(buffer, length);
}

void IniStore::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
  if (!::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str()))
    throw Failure(UnableToWriteMessage(path_), ::GetLastError());
}

}  // namespace dravlink::win
