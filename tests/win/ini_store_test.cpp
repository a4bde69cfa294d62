#include "win/ini_store.h"

#include <gtest/gtest.h>

#include "core/failure.h"
#include "temp_folder.h"
#include "win/module_path.h"

namespace dravlink::win {
namespace {

struct FolderCase {
  const char* name;
  const char* path;
  const char* folder;
};

TEST(FolderOf, CutsAfterTheLastBackslashOrColon) {
  const FolderCase cases[] = {
      {"plain", "C:\\Tools\\Drav\\dravlink.exe", "C:\\Tools\\Drav\\"},
      {"drive root", "C:\\dravlink.exe", "C:\\"},
      {"drive relative", "C:dravlink.exe", "C:"},
      {"network share", "\\\\server\\share\\dravlink.exe", "\\\\server\\share\\"},
      {"bare name", "dravlink.exe", ""},
      {"empty", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FolderOf(c.path), c.folder) << c.name;
}

// Each test gets an ini name of its own beside the test program, removed afterwards.
class IniStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    name_ = std::string("win-tests-") + info->name() + ".ini";
    path_ = FolderOf(ExePath()) + name_;
    ::DeleteFileA(path_.c_str());
  }
  void TearDown() override { ::DeleteFileA(path_.c_str()); }

  std::string name_;
  std::string path_;
};

TEST_F(IniStoreTest, OpenBindsToTheFileBesideTheProgram) {
  IniStore store(name_);
  EXPECT_EQ(store.IniFileName(), name_);
  IniSession session(store);
  EXPECT_EQ(store.FullPath(), path_);
}

TEST_F(IniStoreTest, ANewFileHoldsTheSectionAndTheKeyLine) {
  IniStore store(name_);
  {
    IniSession session(store);
    store.WriteString("DravLink", "Location", "C:\\Tools\\Drav\\");
  }
  EXPECT_EQ(ReadBytes(path_), "[DravLink]\r\nLocation=C:\\Tools\\Drav\\\r\n");
  IniSession session(store);
  EXPECT_EQ(store.ReadString("DravLink", "Location", ""), "C:\\Tools\\Drav\\");
}

TEST_F(IniStoreTest, MissingFileSectionOrKeyReadAsTheFallback) {
  IniStore store(name_);
  IniSession session(store);
  EXPECT_EQ(store.ReadString("DravLink", "Location", ""), "");
  WriteBytes(path_, "[Other]\r\nLocation=x\r\n[DravLink]\r\nElse=y\r\n");
  EXPECT_EQ(store.ReadString("DravLink", "Location", ""), "");
}

TEST_F(IniStoreTest, AtMost2047BytesAreRead) {
  WriteBytes(path_, "[DravLink]\r\nLocation=" + std::string(3000, 'x') + "\r\n");
  IniStore store(name_);
  IniSession session(store);
  EXPECT_EQ(store.ReadString("DravLink", "Location", ""), std::string(2047, 'x'));
}

TEST_F(IniStoreTest, AnUnwritableFileIsReportedWithItsPath) {
  IniStore store("no-such-folder\\dravlink.ini");
  IniSession session(store);
  try {
    store.WriteString("DravLink", "Location", "C:\\");
    FAIL() << "the write succeeded";
  } catch (const Failure& failure) {
    EXPECT_EQ(std::string(failure.what()), "Unable to write to " + store.FullPath());
  }
}

}  // namespace
}  // namespace dravlink::win
