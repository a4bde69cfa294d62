#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dravlink {

// Reads a settings file's bytes line by line. A line ends at CR, CR LF or a lone LF; a Ctrl-Z
// (0x1A) ends the input as the physical end does. Reading at the end yields an empty line, as
// often as asked. The reader does not own the bytes.
class LineReader {
 public:
  explicit LineReader(std::string_view bytes);

  std::string ReadLine();

  // True exactly when the next byte is the physical end or a Ctrl-Z.
  bool AtEnd() const;

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

}  // namespace dravlink
