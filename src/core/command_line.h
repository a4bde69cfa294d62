#pragma once

#include <string>
#include <string_view>

namespace dravlink {

// Argument `position` of a raw command line (0 is the program's own name), split the way the
// IDE's post-build step expects: bytes 1..32 separate arguments, a pair of double quotes standing
// alone is skipped, a double quote only groups (it is dropped, and so is its partner), and there
// is no escape character. A NUL byte ends the text. Missing arguments are empty.
std::string ArgumentAt(std::string_view commandLine, int position);

// The text with every comma (0x2C) removed; nothing else changes.
std::string StripCommas(std::string_view text);

}  // namespace dravlink
