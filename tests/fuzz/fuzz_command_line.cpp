// Splitting and comma stripping on arbitrary command lines.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/command_line.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool IsSeparator(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 1 && byte <= 32;
}

bool IsSubsequence(std::string_view part, std::string_view whole) {
  std::size_t at = 0;
  for (const char c : part) {
    at = whole.find(c, at);
    if (at == std::string_view::npos) return false;
    ++at;
  }
  return true;
}

// Without quotes the rule is plain: runs of bytes 1..32 separate the words.
std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::size_t pos = 0;
  for (;;) {
    while (pos < text.size() && IsSeparator(text[pos])) ++pos;
    if (pos == text.size()) return words;
    const std::size_t start = pos;
    while (pos < text.size() && !IsSeparator(text[pos])) ++pos;
    words.emplace_back(text.substr(start, pos - start));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view raw(reinterpret_cast<const char*>(data), size);
  const std::string_view text = raw.substr(0, raw.find('\0'));
  const bool quoted = text.find('"') != std::string_view::npos;
  const std::vector<std::string> words = Words(text);

  constexpr int kPositions = 6;
  std::string taken;
  bool ended = false;
  for (int position = 0; position < kPositions; ++position) {
    const std::string argument = dravlink::ArgumentAt(raw, position);
    Check(argument.find('"') == std::string::npos);
    Check(argument.find('\0') == std::string::npos);
    // Once an argument is empty every later one is.
    if (ended) Check(argument.empty());
    ended = ended || argument.empty();
    taken += argument;
    if (!quoted) {
      const auto index = static_cast<std::size_t>(position);
      Check(argument == (index < words.size() ? words[index] : std::string()));
    }

    const std::string stripped = dravlink::StripCommas(argument);
    Check(stripped.find(',') == std::string::npos);
    Check(IsSubsequence(stripped, argument));
    Check(argument.size() - stripped.size() ==
          static_cast<std::size_t>(std::count(argument.begin(), argument.end(), ',')));
  }
  // The arguments are taken left to right from the text, never invented.
  Check(IsSubsequence(taken, text));
  return 0;
}
