#include "core/line_reader.h"

namespace dravlink {
namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr char kCtrlZ = '\x1a';

}  // namespace

LineReader::LineReader(std::string_view bytes) : bytes_(bytes) {}

bool LineReader::AtEnd() const {
  return pos_ >= bytes_.size() || bytes_[pos_] == kCtrlZ;
}

std::string LineReader::ReadLine() {
  const std::size_t start = pos_;
  while (pos_ < bytes_.size()) {
    const char c = bytes_[pos_];
    if (c == kCtrlZ) return std::string(bytes_.substr(start, pos_ - start));  // stays put
    if (c == kCr || c == kLf) break;
    ++pos_;
  }
  std::string line(bytes_.substr(start, pos_ - start));
  if (pos_ < bytes_.size()) {
    // CR LF is one line end; a lone CR or a lone LF is one too, so LF CR makes two.
    const bool cr = bytes_[pos_] == kCr;
    ++pos_;
    if (cr && pos_ < bytes_.size() && bytes_[pos_] == kLf) ++pos_;
  }
  return line;
}

}  // namespace dravlink
