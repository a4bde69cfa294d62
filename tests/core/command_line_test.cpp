#include "core/command_line.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace dravlink {
namespace {

// Arguments 1..4 of a command line whose argument 0 is the program's name.
std::vector<std::string> ArgumentsOf(std::string_view commandLine) {
  std::vector<std::string> arguments;
  for (int position = 1; position <= 4; ++position) {
    arguments.push_back(ArgumentAt(commandLine, position));
  }
  return arguments;
}

struct SplitCase {
  const char* name;
  std::string commandLine;
  std::vector<std::string> expected;  // arguments 1..4
};

// Only the row name: the rows hold bytes that print badly.
void PrintTo(const SplitCase& row, std::ostream* os) {
  *os << row.name;
}

class SplitTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, SplitsLikeThePostBuildStep) {
  EXPECT_EQ(ArgumentsOf(GetParam().commandLine), GetParam().expected);
}

const SplitCase kSplitCases[] = {
    {"ThreePlain", "dravlink.exe a 16F877 c", {"a", "16F877", "c", ""}},
    {"EmptyText", "", {"", "", "", ""}},
    {"ProgramOnly", "dravlink.exe", {"", "", "", ""}},
    {"QuotedProgramPath", "\"C:\\Program Files\\dravlink.exe\" a", {"a", "", "", ""}},
    {"QuotedPathKeepsSpaces",
     "p \"C:\\My Files\\x.hex\" 16F84 z",
     {"C:\\My Files\\x.hex", "16F84", "z", ""}},
    {"QuoteInTheMiddleOnlyGroups", "p x\"y z\"w b", {"xy zw", "b", "", ""}},
    {"EmptyQuotesAloneAreSkipped", "p \"\" b c", {"b", "c", "", ""}},
    {"SeveralEmptyQuotePairs", "p \"\"\"\" \"\" b", {"b", "", "", ""}},
    {"EmptyQuotesInsideAnArgument", "p x\"\"y", {"xy", "", "", ""}},
    {"EmptyQuotesBeforeText", "p \"\"abc", {"abc", "", "", ""}},
    {"TabSeparates", "p\ta\tb", {"a", "b", "", ""}},
    {"ControlBytesSeparate",
     "p a\x01"
     "b\x1f"
     "c",
     {"a", "b", "c", ""}},
    {"RunsOfSeparators", "  p    a  \t b   ", {"a", "b", "", ""}},
    {"MoreThanThree", "p 1 2 3 4 5", {"1", "2", "3", "4"}},
    {"BackslashBeforeQuoteIsOrdinary", "p a\\\"b c\" d", {"a\\b c", "d", "", ""}},
    {"TrailingBackslashInQuotes", "p \"C:\\dir\\\" x", {"C:\\dir\\", "x", "", ""}},
    {"UnterminatedQuoteRunsToTheEnd", "p \"a b  c", {"a b  c", "", "", ""}},
    {"LoneQuoteAtEndStopsTaking", "p a \"", {"a", "", "", ""}},
    {"HighBytesAreOrdinary", "p \xe9t\xe9 \xff\x80", {"\xe9t\xe9", "\xff\x80", "", ""}},
    {"NulEndsTheText", std::string("p a\0b c", 7), {"a", "", "", ""}},
    {"CommasAreKept", "p 16F,877", {"16F,877", "", "", ""}},
};

INSTANTIATE_TEST_SUITE_P(CommandLine, SplitTest, testing::ValuesIn(kSplitCases),
                         [](const testing::TestParamInfo<SplitCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(ArgumentAtTest, PositionZeroIsTheProgramName) {
  EXPECT_EQ(ArgumentAt("\"C:\\a b\\dravlink.exe\" x", 0), "C:\\a b\\dravlink.exe");
}

TEST(ArgumentAtTest, NegativePositionIsEmpty) {
  EXPECT_EQ(ArgumentAt("p a b", -1), "");
}

TEST(ArgumentAtTest, VeryLongArgumentComesBackWhole) {
  const std::string longArgument(100 * 1024, 'x');
  EXPECT_EQ(ArgumentAt("p " + longArgument + " b", 1), longArgument);
  EXPECT_EQ(ArgumentAt("p " + longArgument + " b", 2), "b");
}

struct StripCase {
  const char* name;
  std::string text;
  std::string expected;
};

void PrintTo(const StripCase& row, std::ostream* os) {
  *os << row.name;
}

class StripCommasTest : public testing::TestWithParam<StripCase> {};

TEST_P(StripCommasTest, RemovesEveryCommaOnly) {
  EXPECT_EQ(StripCommas(GetParam().text), GetParam().expected);
}

const StripCase kStripCases[] = {
    {"CommaInDeviceName", "16F,877", "16F877"},
    {"OnlyCommas", ",,,", ""},
    {"NoCommas", "C:\\dir\\x.hex", "C:\\dir\\x.hex"},
    {"Empty", "", ""},
    {"CommasAtBothEnds", ",a b,", "a b"},
    {"OtherBytesUntouched", "a;b.c\xac,\x2d", "a;b.c\xac\x2d"},
};

INSTANTIATE_TEST_SUITE_P(CommandLine, StripCommasTest, testing::ValuesIn(kStripCases),
                         [](const testing::TestParamInfo<StripCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(StripCommasTest, CommaInsideQuotedPathIsRemovedToo) {
  EXPECT_EQ(StripCommas(ArgumentAt("p \"C:\\a,b c\\x.hex\"", 1)), "C:\\ab c\\x.hex");
}

}  // namespace
}  // namespace dravlink
