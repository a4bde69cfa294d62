#include "core/settings_text.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace dravlink {
namespace {

// A settings file of `count` lines "L1".."Lcount", each ended by `lineEnd`.
std::string NumberedFile(int count, const std::string& lineEnd = "\r\n") {
  std::string text;
  for (int n = 1; n <= count; ++n) text += "L" + std::to_string(n) + lineEnd;
  return text;
}

class RewriteTest : public testing::Test {
 protected:
  void SetUp() override { table.Fill(); }

  std::vector<std::string> Rewrite(std::string_view bytes, const std::string& device = "16F877") {
    return RewriteLines(bytes, table, {"first.hex", device, "third"}, "C:");
  }

  DeviceTable table;
};

// Output line `n`, 1-based, as the file numbers them.
const std::string& Line(const std::vector<std::string>& lines, int n) {
  return lines.at(static_cast<std::size_t>(n - 1));
}

TEST_F(RewriteTest, TemplateLinesForAMatchedDevice) {
  const auto lines = Rewrite(NumberedFile(100));
  EXPECT_EQ(Line(lines, 4), " 1");
  EXPECT_EQ(Line(lines, 5), "third");
  EXPECT_EQ(Line(lines, 6), " 2338 Input size  0");
  EXPECT_EQ(Line(lines, 8), "first.hex");
  EXPECT_EQ(Line(lines, 21), "first.hex");
  EXPECT_EQ(Line(lines, 22), " 256 Input Size  4");
  EXPECT_EQ(Line(lines, 23), " 8192 Command Size  4");
  EXPECT_EQ(Line(lines, 81), "PIC16F877");
  EXPECT_EQ(Line(lines, 82), " 8192");
  EXPECT_EQ(Line(lines, 83), " 256");
  EXPECT_EQ(Line(lines, 84), " 0");
}

TEST_F(RewriteTest, CorrectedSizeOfF627IsWritten) {
  const auto lines = Rewrite(NumberedFile(100), "16F627");
  EXPECT_EQ(Line(lines, 23), " 1024 Command Size  4");
  EXPECT_EQ(Line(lines, 82), " 1024");
  EXPECT_EQ(Line(lines, 83), " 128");
}

struct UnmatchedCase {
  const char* name;
  std::string device;
  std::string line81;
};

// Only the row name: the rows hold bytes that print badly.
void PrintTo(const UnmatchedCase& row, std::ostream* os) {
  *os << row.name;
}

class UnmatchedDeviceTest : public RewriteTest,
                            public testing::WithParamInterface<UnmatchedCase> {};

// No row matches: the sizes are empty, yet every template line is still written.
TEST_P(UnmatchedDeviceTest, SizesAreEmptyAndLine81KeepsTheArgument) {
  const auto lines = Rewrite(NumberedFile(100), GetParam().device);
  EXPECT_EQ(Line(lines, 4), " 1");
  EXPECT_EQ(Line(lines, 6), " 2338 Input size  0");
  EXPECT_EQ(Line(lines, 22), "  Input Size  4");
  EXPECT_EQ(Line(lines, 23), "  Command Size  4");
  EXPECT_EQ(Line(lines, 81), GetParam().line81);
  EXPECT_EQ(Line(lines, 82), " ");
  EXPECT_EQ(Line(lines, 83), " ");
  EXPECT_EQ(Line(lines, 84), " 0");
}

const UnmatchedCase kUnmatchedCases[] = {
    {"LowerCase", "16f877", "PIC16f877"},
    {"PrefixTwice", "PIC16F877", "PICPIC16F877"},
    {"Empty", "", "PIC"},
};

INSTANTIATE_TEST_SUITE_P(Settings, UnmatchedDeviceTest, testing::ValuesIn(kUnmatchedCases),
                         [](const testing::TestParamInfo<UnmatchedCase>& info) {
                           return std::string(info.param.name);
                         });

// Replaced input lines are read and dropped, so every kept line stays at its own number and the
// copied rest starts with input line 85.
TEST_F(RewriteTest, KeptLinesStayInPlace) {
  const auto lines = Rewrite(NumberedFile(100));
  ASSERT_EQ(lines.size(), 100u);
  for (int n : {1, 2, 3, 7, 9, 20, 24, 80, 85, 100}) {
    EXPECT_EQ(Line(lines, n), "L" + std::to_string(n)) << "line " << n;
  }
}

TEST_F(RewriteTest, EmptyArgumentsGiveEmptyLines) {
  const auto lines = RewriteLines(NumberedFile(100), table, {"", "16F84", ""}, "C:");
  EXPECT_EQ(Line(lines, 5), "");
  EXPECT_EQ(Line(lines, 8), "");
  EXPECT_EQ(Line(lines, 21), "");
  EXPECT_EQ(Line(lines, 22), " 64 Input Size  4");
}

struct TotalCase {
  const char* name;
  int inputLines;
  std::size_t outputLines;
  bool driveTail;
};

void PrintTo(const TotalCase& row, std::ostream* os) {
  *os << row.name;
}

class TotalsTest : public RewriteTest, public testing::WithParamInterface<TotalCase> {};

TEST_P(TotalsTest, AddsTheDriveTailOnlyWhenShort) {
  const auto lines = Rewrite(NumberedFile(GetParam().inputLines));
  ASSERT_EQ(lines.size(), GetParam().outputLines);
  if (GetParam().driveTail) {
    for (std::size_t i = lines.size() - kDriveLines; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i], "C:") << "line " << i + 1;
    }
  } else {
    EXPECT_EQ(lines.back(), "L" + std::to_string(GetParam().inputLines));
  }
}

const TotalCase kTotalCases[] = {
    {"Empty", 0, 107, true},
    {"ShorterThanTheTemplate", 40, 107, true},
    {"ExactlyTheTemplate", 84, 107, true},
    {"OneCopied", 85, 108, true},
    {"FourCopied", 88, 111, true},
    {"FiveCopied", 89, 89, false},
    {"Long", 300, 300, false},
};

INSTANTIATE_TEST_SUITE_P(Settings, TotalsTest, testing::ValuesIn(kTotalCases),
                         [](const testing::TestParamInfo<TotalCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(RewriteTest, EmptyFileGivesEmptyInputLines) {
  const auto lines = Rewrite("");
  EXPECT_EQ(Line(lines, 1), "");
  EXPECT_EQ(Line(lines, 80), "");
  EXPECT_EQ(Line(lines, 84), " 0");
  EXPECT_EQ(Line(lines, 85), "C:");
}

TEST_F(RewriteTest, FinalLineEndDoesNotMatter) {
  for (int count : {3, 84, 86, 95}) {
    std::string withEnd = NumberedFile(count);
    std::string withoutEnd = withEnd.substr(0, withEnd.size() - 2);
    EXPECT_EQ(Rewrite(withEnd), Rewrite(withoutEnd)) << count << " lines";
  }
}

struct LineEndCase {
  const char* name;
  std::string lineEnd;
};

void PrintTo(const LineEndCase& row, std::ostream* os) {
  *os << row.name;
}

class LineEndTest : public RewriteTest, public testing::WithParamInterface<LineEndCase> {};

TEST_P(LineEndTest, SameOutputAsCrLf) {
  EXPECT_EQ(Rewrite(NumberedFile(95, GetParam().lineEnd)), Rewrite(NumberedFile(95)));
}

const LineEndCase kLineEndCases[] = {{"Cr", "\r"}, {"Lf", "\n"}};

INSTANTIATE_TEST_SUITE_P(Settings, LineEndTest, testing::ValuesIn(kLineEndCases),
                         [](const testing::TestParamInfo<LineEndCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(RewriteTest, CtrlZCutsTheCopy) {
  const std::string bytes = NumberedFile(90) + "\x1a" + NumberedFile(20);
  const auto lines = Rewrite(bytes);
  EXPECT_EQ(lines.size(), 90u);
  EXPECT_EQ(lines.back(), "L90");
}

TEST_F(RewriteTest, CtrlZInsideTheTemplateEndsTheInput) {
  const std::string bytes = NumberedFile(10) + "\x1a" + NumberedFile(200);
  const auto lines = Rewrite(bytes);
  ASSERT_EQ(lines.size(), 107u);
  EXPECT_EQ(Line(lines, 10), "L10");
  EXPECT_EQ(Line(lines, 11), "");
  EXPECT_EQ(Line(lines, 85), "C:");
}

TEST_F(RewriteTest, EmptyLinesAfterTheTemplateCount) {
  const auto lines = Rewrite(NumberedFile(84) + "\r\n\r\n\r\n\r\n\r\n");
  ASSERT_EQ(lines.size(), 89u);
  EXPECT_EQ(lines.back(), "");
}

TEST_F(RewriteTest, DriveLinesUseTheGivenDrive) {
  const auto lines = RewriteLines("", table, {"a", "16F84", "c"}, "\\\\srv\\share");
  ASSERT_EQ(lines.size(), 107u);
  EXPECT_EQ(lines.back(), "\\\\srv\\share");
}

TEST(JoinLinesTest, EveryLineEndsWithCrLf) {
  EXPECT_EQ(JoinLines({}), "");
  EXPECT_EQ(JoinLines({""}), "\r\n");
  EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

TEST_F(RewriteTest, RewrittenFileRewritesToItself) {
  const std::string once = JoinLines(Rewrite(NumberedFile(120)));
  EXPECT_EQ(JoinLines(Rewrite(once)), once);
}

struct DriveCase {
  const char* name;
  std::string path;
  std::string expected;
};

void PrintTo(const DriveCase& row, std::ostream* os) {
  *os << row.name;
}

class DriveOfPathTest : public testing::TestWithParam<DriveCase> {};

TEST_P(DriveOfPathTest, TakesTheDrivePart) {
  EXPECT_EQ(DriveOfPath(GetParam().path), GetParam().expected);
}

const DriveCase kDriveCases[] = {
    {"DriveLetter", "C:\\Tools\\dravlink.exe\\", "C:"},
    {"OtherDrive", "z:\\x\\", "z:"},
    {"DriveOnly", "D:", "D:"},
    {"Unc", "\\\\server\\share\\dir\\dravlink.exe\\", "\\\\server\\share"},
    {"UncShareRoot", "\\\\server\\share\\", "\\\\server\\share"},
    {"UncWithoutSecondBackslash", "\\\\server\\share", "\\\\server\\share"},
    {"UncServerOnly", "\\\\server\\", "\\\\server"},
    {"UncBare", "\\\\server", "\\\\server"},
    {"Empty", "", ""},
    {"OneByte", "C", ""},
    {"Relative", "dir\\x.exe\\", ""},
    {"SingleBackslash", "\\dir\\", ""},
    {"ColonLater", "ab:c\\", ""},
};

INSTANTIATE_TEST_SUITE_P(Settings, DriveOfPathTest, testing::ValuesIn(kDriveCases),
                         [](const testing::TestParamInfo<DriveCase>& info) {
                           return std::string(info.param.name);
                         });

struct ProblemCase {
  const char* name;
  RewriteArguments args;
  std::string expected;
};

void PrintTo(const ProblemCase& row, std::ostream* os) {
  *os << row.name;
}

class ArgumentsProblemTest : public testing::TestWithParam<ProblemCase> {};

TEST_P(ArgumentsProblemTest, RefusesLineBreakingBytes) {
  EXPECT_EQ(ArgumentsProblem(GetParam().args), GetParam().expected);
}

std::string Refusal(int argument) {
  return "Argument " + std::to_string(argument) +
         " contains a line break or end-of-file character and cannot be written to the settings "
         "file";
}

const ProblemCase kProblemCases[] = {
    {"Plain", {"C:\\a b\\x.hex", "16F877", "z"}, ""},
    {"AllEmpty", {"", "", ""}, ""},
    {"TabAndHighBytesAreFine", {"a\tb", "\xff", std::string("n\0l", 3)}, ""},
    {"CrInFirst", {"a\rb", "16F877", "z"}, Refusal(1)},
    {"LfInDevice", {"a", "16F877\n", "z"}, Refusal(2)},
    {"CtrlZInThird", {"a", "16F877", "\x1a"}, Refusal(3)},
    {"FirstOffenderNamed", {"a", "\r", "\n"}, Refusal(2)},
};

INSTANTIATE_TEST_SUITE_P(Settings, ArgumentsProblemTest, testing::ValuesIn(kProblemCases),
                         [](const testing::TestParamInfo<ProblemCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace dravlink
