#pragma once

#include <string>
#include <string_view>

namespace dravlink::win {

// Full path of the running program file, as the system reports it.
std::string ExePath();

// `path` cut after its last backslash or colon: the folder with its trailing separator.
std::string FolderOf(std::string_view path);

}  // namespace dravlink::win
