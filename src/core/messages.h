#pragma once

#include <string>
#include <string_view>

namespace dravlink {

// Message of a failed file or folder operation, chosen by the system's error code.
std::string IoMessage(unsigned long systemCode);

// "Unable to write to <path>": the ini file could not be written.
std::string UnableToWriteMessage(std::string_view iniPath);

// "Cannot create file <path>": the settings file could not be saved.
std::string CannotCreateFileMessage(std::string_view path);

// The settings file was saved short.
inline constexpr std::string_view kStreamWriteError = "Stream write error";

// The text the error box shows: the message, with a full stop appended when it is not empty and
// its last byte sorts above '.', so "File not found" gains one and "(x)" or "y." do not.
std::string ErrorBoxText(std::string_view message);

}  // namespace dravlink
