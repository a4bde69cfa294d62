#include "core/messages.h"

#include <array>

namespace dravlink {
namespace {

struct IoMessageRow {
  unsigned long code;
  std::string_view message;
};

// System error code, message shown for it.
constexpr std::array<IoMessageRow, 4> kIoMessages = {{
    {2, "File not found"},
    {3, "Invalid filename"},
    {4, "Too many open files"},
    {5, "File access denied"},
}};

}  // namespace

std::string IoMessage(unsigned long systemCode) {
  for (const IoMessageRow& row : kIoMessages) {
    if (row.code == systemCode) return std::string(row.message);
  }
  return "I/O error " + std::to_string(systemCode);
}

std::string UnableToWriteMessage(std::string_view iniPath) {
  return "Unable to write to " + std::string(iniPath);
}

std::string CannotCreateFileMessage(std::string_view path) {
  return "Cannot create file " + std::string(path);
}

std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  // Compared as unsigned so that a last byte of 128..255 also gains the full stop.
  if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) {
    text.push_back('.');
  }
  return text;
}

}  // namespace dravlink
