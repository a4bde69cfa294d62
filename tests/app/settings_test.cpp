#include "app/settings.h"

#include <gtest/gtest.h>

#include "core/failure.h"
#include "temp_folder.h"

namespace dravlink {
namespace {

std::string NumberedLines(int count) {
  std::string text;
  for (int n = 1; n <= count; ++n) text += "line " + std::to_string(n) + "\r\n";
  return text;
}

class RewriteSettingsFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { devices_.Fill(); }

  // Runs the rewrite, which must fail; returns its message.
  std::string FailureMessage(const std::string& location, const RewriteArguments& args) {
    try {
      RewriteSettingsFiles(location, devices_, args);
    } catch (const Failure& failure) {
      return failure.what();
    }
    ADD_FAILURE() << "the rewrite succeeded";
    return "";
  }

  DeviceTable devices_;
  TempFolder folder_;
  const RewriteArguments args_{"C:\\p\\a.hex", "16F877", "a"};
};

TEST_F(RewriteSettingsFilesTest, WritesTheSameTextToBothFiles) {
  WriteBytes(folder_ / "dravsettings.txt", NumberedLines(90));
  RewriteSettingsFiles(folder_.Path(), devices_, args_);
  const std::string settings = ReadBytes(folder_ / "dravsettings.txt");
  EXPECT_EQ(settings, ReadBytes(folder_ / "dravsettings1.txt"));
  EXPECT_NE(settings.find("\r\n 256 Input Size  4\r\n 8192 Command Size  4\r\n"),
            std::string::npos);
  EXPECT_EQ(settings.substr(settings.size() - 9), "line 90\r\n");
}

TEST_F(RewriteSettingsFilesTest, MissingFileOrFolderTouchesNothing) {
  struct Case {
    const char* name;
    std::string location;
    const char* message;
  };
  const Case cases[] = {
      {"settings file missing", folder_.Path(), "File not found"},
      {"toolkit folder missing", folder_ / "gone", "Invalid filename"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FailureMessage(c.location, args_), c.message) << c.name;
    EXPECT_TRUE(folder_.Entries().empty()) << c.name;
  }
}

TEST_F(RewriteSettingsFilesTest, ACopyHeldByAnotherProgramLeavesTheSettingsAlone) {
  WriteBytes(folder_ / "dravsettings.txt", NumberedLines(90));
  HANDLE holder = ::CreateFileA((folder_ / "dravsettings1.txt").c_str(), GENERIC_READ, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_EQ(FailureMessage(folder_.Path(), args_), "I/O error 32");
  ::CloseHandle(holder);
  EXPECT_EQ(ReadBytes(folder_ / "dravsettings.txt"), NumberedLines(90));
}

TEST_F(RewriteSettingsFilesTest, ARefusedArgumentWritesNothing) {
  WriteBytes(folder_ / "dravsettings.txt", NumberedLines(90));
  const RewriteArguments bad{"a\nb", "16F877", "c"};
  EXPECT_EQ(FailureMessage(folder_.Path(), bad),
            "Argument 1 contains a line break or end-of-file character and cannot be written to "
            "the settings file");
  EXPECT_EQ(ReadBytes(folder_ / "dravsettings.txt"), NumberedLines(90));
  EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"dravsettings.txt"});
}

}  // namespace
}  // namespace dravlink
