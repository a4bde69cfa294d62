#include "core/messages.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace dravlink {
namespace {

struct IoCase {
  const char* name;
  unsigned long code;
  std::string expected;
};

// Only the row name: the rows hold bytes that print badly.
void PrintTo(const IoCase& row, std::ostream* os) {
  *os << row.name;
}

class IoMessageTest : public testing::TestWithParam<IoCase> {};

TEST_P(IoMessageTest, ChoosesTheMessageByCode) {
  EXPECT_EQ(IoMessage(GetParam().code), GetParam().expected);
}

const IoCase kIoCases[] = {
    {"FileNotFound", 2, "File not found"},
    {"PathNotFound", 3, "Invalid filename"},
    {"TooManyOpenFiles", 4, "Too many open files"},
    {"AccessDenied", 5, "File access denied"},
    {"Zero", 0, "I/O error 0"},
    {"One", 1, "I/O error 1"},
    {"SharingViolation", 32, "I/O error 32"},
    {"AboveSignedRange", 0x80070005UL, "I/O error 2147942405"},
    {"Largest32Bit", 0xFFFFFFFFUL, "I/O error 4294967295"},
};

INSTANTIATE_TEST_SUITE_P(Messages, IoMessageTest, testing::ValuesIn(kIoCases),
                         [](const testing::TestParamInfo<IoCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(MessagesTest, PathMessages) {
  EXPECT_EQ(UnableToWriteMessage("C:\\x\\dravlink.ini"), "Unable to write to C:\\x\\dravlink.ini");
  EXPECT_EQ(CannotCreateFileMessage("D:\\t\\dravsettings.txt"),
            "Cannot create file D:\\t\\dravsettings.txt");
}

struct BoxCase {
  const char* name;
  std::string message;
  std::string expected;
};

void PrintTo(const BoxCase& row, std::ostream* os) {
  *os << row.name;
}

class ErrorBoxTextTest : public testing::TestWithParam<BoxCase> {};

TEST_P(ErrorBoxTextTest, AppliesTheFullStopRule) {
  EXPECT_EQ(ErrorBoxText(GetParam().message), GetParam().expected);
}

const BoxCase kBoxCases[] = {
    {"Letter", "File not found", "File not found."},
    {"Digit", "I/O error 87", "I/O error 87."},
    {"FullStop", "Done.", "Done."},
    {"ClosingParenthesis", "failed (x)", "failed (x)"},
    {"Empty", "", ""},
    {"Minus", "a-", "a-"},
    {"Slash", "a/", "a/."},
    {"Space", "a ", "a "},
    {"HighByte", "caf\xe9", "caf\xe9."},
    {"Byte255", "\xff", "\xff."},
    {"StreamWriteError", std::string(kStreamWriteError), "Stream write error."},
};

INSTANTIATE_TEST_SUITE_P(Messages, ErrorBoxTextTest, testing::ValuesIn(kBoxCases),
                         [](const testing::TestParamInfo<BoxCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace dravlink
