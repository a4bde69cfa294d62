#include "win/directory_list.h"

#include <gtest/gtest.h>

#include "core/failure.h"
#include "temp_folder.h"

namespace dravlink::win {
namespace {

// Puts the process's current directory back after each test.
class DirectoryListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = CurrentDirectory();
    ASSERT_TRUE(::CreateDirectoryA((folder_ / "Tools").c_str(), nullptr));
    ASSERT_TRUE(::SetCurrentDirectoryA(folder_.Path().c_str()));
    start_ = CurrentDirectory();
  }
  void TearDown() override { ::SetCurrentDirectoryA(saved_.c_str()); }

  TempFolder folder_;
  std::string saved_;
  std::string start_;
};

TEST_F(DirectoryListTest, StartsInTheCurrentDirectoryAndTheLabelFollows) {
  DirectoryList list;
  Label label;
  label.SetCaption("from the layout");
  list.SetDirLabel(&label);
  EXPECT_EQ(list.Directory(), start_);
  EXPECT_EQ(label.Caption(), start_);

  list.SetDirectory("Tools\\");
  EXPECT_EQ(list.Directory(), start_ + "\\Tools");
  EXPECT_EQ(CurrentDirectory(), start_ + "\\Tools");
  EXPECT_EQ(label.Caption(), start_ + "\\Tools");
}

TEST_F(DirectoryListTest, EmptyOrSameButForCaseDoesNotMove) {
  DirectoryList list;
  Label label;
  list.SetDirLabel(&label);
  list.SetDirectory("Tools");
  label.SetCaption("c:\\kept");
  list.SetDirectory("");
  list.SetDirectory(start_ + "\\TOOLS");
  EXPECT_EQ(list.Directory(), start_ + "\\Tools");
  EXPECT_EQ(label.Caption(), "c:\\kept");
}

TEST_F(DirectoryListTest, ADriveRootKeepsItsBackslash) {
  DirectoryList list;
  list.SetDirectory("C:\\");
  EXPECT_EQ(list.Directory(), "C:\\");
}

struct MoveFailureCase {
  const char* name;
  const char* target;
  unsigned long code;
  const char* message;
};

TEST_F(DirectoryListTest, AFolderThatCannotBeEnteredChangesNothing) {
  WriteBytes(folder_ / "a-file", "x");
  const MoveFailureCase cases[] = {
      {"missing folder", "gone", 2, "File not found"},
      {"missing parent", "gone\\deeper", 3, "Invalid filename"},
      {"a file", "a-file", 267, "I/O error 267"},
  };
  DirectoryList list;
  Label label;
  list.SetDirLabel(&label);
  for (const auto& c : cases) {
    try {
      list.SetDirectory(c.target);
      ADD_FAILURE() << c.name << ": the move succeeded";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.SystemCode(), c.code) << c.name;
      EXPECT_STREQ(failure.what(), c.message) << c.name;
    }
    EXPECT_EQ(list.Directory(), start_) << c.name;
    EXPECT_EQ(CurrentDirectory(), start_) << c.name;
    EXPECT_EQ(label.Caption(), start_) << c.name;
  }
}

}  // namespace
}  // namespace dravlink::win
