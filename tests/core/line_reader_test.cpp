#include "core/line_reader.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace dravlink {
namespace {

// Every line the reader yields before AtEnd() turns true.
std::vector<std::string> ReadAll(std::string_view bytes) {
  LineReader reader(bytes);
  std::vector<std::string> lines;
  while (!reader.AtEnd()) lines.push_back(reader.ReadLine());
  return lines;
}

struct ReadCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> expected;
};

// Only the row name: the rows hold bytes that print badly.
void PrintTo(const ReadCase& row, std::ostream* os) {
  *os << row.name;
}

class LineRuleTest : public testing::TestWithParam<ReadCase> {};

TEST_P(LineRuleTest, ReadsLines) {
  EXPECT_EQ(ReadAll(GetParam().bytes), GetParam().expected);
}

const ReadCase kReadCases[] = {
    {"Empty", "", {}},
    {"CrLf", "a\r\nb\r\n", {"a", "b"}},
    {"CrOnly", "a\rb\r", {"a", "b"}},
    {"LfOnly", "a\nb\n", {"a", "b"}},
    {"Mixed", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
    {"LfCrIsTwoLineEnds", "a\n\rb", {"a", "", "b"}},
    {"CrCrIsTwoLineEnds", "a\r\rb", {"a", "", "b"}},
    {"LastLineWithoutEnd", "a\r\nlast", {"a", "last"}},
    {"EmptyLines", "\r\n\r\n", {"", ""}},
    {"LoneLineEnd", "\n", {""}},
    {"CtrlZEndsTheInput",
     "a\r\nb\x1a"
     "c\r\nd\r\n",
     {"a", "b"}},
    {"CtrlZAtLineStart",
     "a\r\n\x1a"
     "b",
     {"a"}},
    {"CtrlZFirst",
     "\x1a"
     "abc",
     {}},
    {"NulIsOrdinary", std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
    {"HighBytesKept", "\xff\xfe\r\n", {"\xff\xfe"}},
};

INSTANTIATE_TEST_SUITE_P(LineReader, LineRuleTest, testing::ValuesIn(kReadCases),
                         [](const testing::TestParamInfo<ReadCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(LineReaderTest, ReadingAtTheEndYieldsEmptyLinesForever) {
  LineReader reader("only\r\n");
  EXPECT_EQ(reader.ReadLine(), "only");
  EXPECT_TRUE(reader.AtEnd());
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(reader.ReadLine(), "");
    EXPECT_TRUE(reader.AtEnd());
  }
}

TEST(LineReaderTest, NothingAfterCtrlZIsEverRead) {
  LineReader reader(
      "a\x1a"
      "b\r\n");
  EXPECT_FALSE(reader.AtEnd());
  EXPECT_EQ(reader.ReadLine(), "a");
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.ReadLine(), "");
  EXPECT_EQ(reader.ReadLine(), "");
  EXPECT_TRUE(reader.AtEnd());
}

// The end test looks at the next byte only: after the last line end of a file that ends with
// CR LF there is nothing left, so no extra empty line is seen.
TEST(LineReaderTest, AtEndRightAfterTheFinalLineEnd) {
  LineReader reader("a\r\n");
  EXPECT_FALSE(reader.AtEnd());
  reader.ReadLine();
  EXPECT_TRUE(reader.AtEnd());
}

TEST(LineReaderTest, LongLineHasNoLimit) {
  const std::string longLine(1 << 20, 'x');
  const std::string bytes = longLine + "\r\nnext";
  LineReader reader(bytes);
  EXPECT_EQ(reader.ReadLine(), longLine);
  EXPECT_EQ(reader.ReadLine(), "next");
}

}  // namespace
}  // namespace dravlink
