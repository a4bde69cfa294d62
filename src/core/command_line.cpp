#include "core/command_line.h"

#include <cstddef>

namespace dravlink {
namespace {

constexpr char kQuote = '"';

// Bytes 1..32 separate arguments; 128..255 are ordinary bytes, hence the unsigned compare.
bool IsSeparator(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 1 && byte <= 32;
}

// Takes one argument starting at `pos` and leaves `pos` just after it.
std::string TakeArgument(std::string_view text, std::size_t& pos) {
  for (;;) {
    while (pos < text.size() && IsSeparator(text[pos])) ++pos;
    // A pair of quotes standing at the start is no argument of its own.
    if (pos + 1 < text.size() && text[pos] == kQuote && text[pos + 1] == kQuote) {
      pos += 2;
      continue;
    }
    break;
  }

  std::string argument;
  while (pos < text.size() && !IsSeparator(text[pos])) {
    if (text[pos] != kQuote) {
      argument.push_back(text[pos++]);
      continue;
    }
    // A quote only groups: everything up to its partner, spaces included, is taken as it is.
    const std::size_t start = pos + 1;
    const std::size_t close = text.find(kQuote, start);
    const std::size_t end = close == std::string_view::npos ? text.size() : close;
    argument.append(text.substr(start, end - start));
    pos = close == std::string_view::npos ? text.size() : close + 1;
  }
  return argument;
}

}  // namespace

std::string ArgumentAt(std::string_view commandLine, int position) {
  if (position < 0) return {};
  // The command line is a C string to the system: nothing after a NUL belongs to it.
  const std::size_t nul = commandLine.find('\0');
  if (nul != std::string_view::npos) commandLine = commandLine.substr(0, nul);

  std::size_t pos = 0;
  std::string argument = TakeArgument(commandLine, pos);
  for (int taken = 0; taken < position; ++taken) {
    // Taking stops at the first empty argument; everything after it counts as missing.
    if (argument.empty()) return {};
    argument = TakeArgument(commandLine, pos);
  }
  return argument;
}

std::string StripCommas(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (const char c : text) {
    if (c != ',') result.push_back(c);
  }
  return result;
}

}  // namespace dravlink
