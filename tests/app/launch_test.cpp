#include "app/launch.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

namespace dravlink {
namespace {

TEST(ProgrammerPath, AppendsTheNameWithoutTouchingTheSeparator) {
  const struct {
    const char* location;
    const char* path;
  } cases[] = {
      {"C:\\Drav", "C:\\Drav\\DravProg.Exe"},
      {"Q:\\", "Q:\\\\DravProg.Exe"},  // a drive root: two in a row, passed on as they are
      {"C:\\Drav\\", "C:\\Drav\\\\DravProg.Exe"},
      {"", "\\DravProg.Exe"},
  };
  for (const auto& c : cases) EXPECT_EQ(ProgrammerPath(c.location), c.path) << c.location;
}

// What StartProgrammer made of a folder: whether it named the file to the launcher and whether
// a process came of it.
struct Attempt {
  std::string fileName;
  bool started;
};

Attempt StartIn(const std::string& location) {
  win::SpawnApplication runApp(::GetModuleHandleA(nullptr), "test");
  runApp.NotifyWhenDone = false;
  StartProgrammer(location, runApp);
  return {runApp.FileName, runApp.Spawned() != nullptr};
}

TEST(StartProgrammer, StartsNothingWithoutAFileOfThatName) {
  TempFolder missing;
  EXPECT_EQ(StartIn(missing.Path()).fileName, "");

  TempFolder folder;
  ASSERT_TRUE(::CreateDirectoryA((folder / "DravProg.Exe").c_str(), nullptr));
  EXPECT_EQ(StartIn(folder.Path()).fileName, "");
}

TEST(StartProgrammer, HandsAnyFileOfThatNameToTheShell) {
  TempFolder folder;
  WriteBytes(folder / "DravProg.Exe", "not a program\r\n");
  const Attempt attempt = StartIn(folder.Path());
  EXPECT_EQ(attempt.fileName, folder / "DravProg.Exe");
  EXPECT_FALSE(attempt.started);  // the shell refuses it; nothing is reported
}

}  // namespace
}  // namespace dravlink
