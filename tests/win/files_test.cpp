#include "win/files.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/failure.h"
#include "temp_folder.h"

namespace dravlink::win {
namespace {

// Runs `action`, which must fail; returns its failure.
template <typename Action>
Failure FailureOf(Action action) {
  try {
    action();
  } catch (const Failure& failure) {
    return failure;
  }
  ADD_FAILURE() << "no failure was raised";
  return Failure("");
}

TEST(FileExists, TellsFilesFromFoldersAndMissingNames) {
  TempFolder folder;
  WriteBytes(folder / "DravProg.exe", "MZ");
  ::CreateDirectoryA((folder / "dravlink.ini").c_str(), nullptr);
  EXPECT_TRUE(FileExists(folder / "DravProg.exe"));
  EXPECT_FALSE(FileExists(folder / "dravlink.ini"));
  EXPECT_FALSE(FileExists(folder / "missing.txt"));
}

TEST(InputFile, ReadsEveryByte) {
  TempFolder folder;
  std::string bytes;
  for (int i = 0; i < 200000; ++i) bytes.push_back(static_cast<char>(i * 7));
  WriteBytes(folder / "big.txt", bytes);
  InputFile input(folder / "big.txt");
  EXPECT_EQ(input.ReadAll(), bytes);
}

struct OpenFailureCase {
  const char* name;
  const char* relativePath;
  unsigned long code;
  const char* message;
};

TEST(InputFile, FailsWithTheMessageOfTheSystemCode) {
  const OpenFailureCase cases[] = {
      {"missing file", "dravsettings.txt", 2, "File not found"},
      {"missing folder", "gone\\dravsettings.txt", 3, "Invalid filename"},
  };
  TempFolder folder;
  for (const auto& c : cases) {
    const Failure failure = FailureOf([&] { InputFile input(folder / c.relativePath); });
    EXPECT_EQ(failure.SystemCode(), c.code) << c.name;
    EXPECT_STREQ(failure.what(), c.message) << c.name;
  }
}

TEST(OutputFile, EmptiesAnExistingFileAndLetsOthersRead) {
  TempFolder folder;
  WriteBytes(folder / "copy.txt", "old text that is longer");
  OutputFile output(folder / "copy.txt");
  output.Write("new\r\n");
  // While it is open, another reader gets in but a writer does not.
  HANDLE reader =
      ::CreateFileA((folder / "copy.txt").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(reader, INVALID_HANDLE_VALUE);
  if (reader != INVALID_HANDLE_VALUE) ::CloseHandle(reader);
  HANDLE writer =
      ::CreateFileA((folder / "copy.txt").c_str(), GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
  if (writer != INVALID_HANDLE_VALUE) ::CloseHandle(writer);
  output.Close();
  EXPECT_EQ(ReadBytes(folder / "copy.txt"), "new\r\n");
}

TEST(OutputFile, AFileHeldByAnotherWriterIsAnIoError) {
  TempFolder folder;
  HANDLE holder = ::CreateFileA((folder / "copy.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  const Failure failure = FailureOf([&] { OutputFile output(folder / "copy.txt"); });
  ::CloseHandle(holder);
  EXPECT_EQ(failure.SystemCode(), 32u);
  EXPECT_STREQ(failure.what(), "I/O error 32");
}

TEST(SaveFileReplacing, ReplacesTheTextAndLeavesNothingBeside) {
  TempFolder folder;
  WriteBytes(folder / "dravsettings.txt", "a much longer old text\r\nwith two lines\r\n");
  SaveFileReplacing(folder / "dravsettings.txt", "new\r\n");
  EXPECT_EQ(ReadBytes(folder / "dravsettings.txt"), "new\r\n");
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"dravsettings.txt"});
}

TEST(SaveFileReplacing, CreatesAMissingFile) {
  TempFolder folder;
  SaveFileReplacing(folder / "dravsettings.txt", "x\r\n");
  EXPECT_EQ(ReadBytes(folder / "dravsettings.txt"), "x\r\n");
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"dravsettings.txt"});
}

TEST(SaveFileReplacing, KeepsTheFilesAttributes) {
  TempFolder folder;
  const std::string path = folder / "dravsettings.txt";
  WriteBytes(path, "old\r\n");
  ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
  SaveFileReplacing(path, "new\r\n");
  EXPECT_EQ(ReadBytes(path), "new\r\n");
  EXPECT_TRUE(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST(SaveFileReplacing, AReadOnlyFileIsRefusedAndKept) {
  TempFolder folder;
  const std::string path = folder / "dravsettings.txt";
  WriteBytes(path, "old\r\n");
  ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  const Failure failure = FailureOf([&] { SaveFileReplacing(path, "new\r\n"); });
  EXPECT_EQ(std::string(failure.what()), "Cannot create file " + path);
  EXPECT_EQ(ReadBytes(path), "old\r\n");
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"dravsettings.txt"});
}

TEST(SaveFileReplacing, AFileHeldOpenByAnotherProgramIsRefusedAndKept) {
  TempFolder folder;
  const std::string path = folder / "dravsettings.txt";
  WriteBytes(path, "old\r\n");
  // A reader that shares nothing, as a program that keeps its settings open might.
  HANDLE holder = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  const Failure failure = FailureOf([&] { SaveFileReplacing(path, "new\r\n"); });
  ::CloseHandle(holder);
  EXPECT_EQ(std::string(failure.what()), "Cannot create file " + path);
  EXPECT_EQ(ReadBytes(path), "old\r\n");
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"dravsettings.txt"});
}

TEST(SaveFileReplacing, AFolderInThePlaceOfTheFileIsRefused) {
  TempFolder folder;
  const std::string path = folder / "dravsettings.txt";
  ASSERT_TRUE(::CreateDirectoryA(path.c_str(), nullptr));
  const Failure failure = FailureOf([&] { SaveFileReplacing(path, "new\r\n"); });
  EXPECT_EQ(std::string(failure.what()), "Cannot create file " + path);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"dravsettings.txt"});
}

TEST(SaveFileReplacing, AMissingFolderIsRefused) {
  TempFolder folder;
  const std::string path = folder / "gone\\dravsettings.txt";
  const Failure failure = FailureOf([&] { SaveFileReplacing(path, "new\r\n"); });
  EXPECT_EQ(std::string(failure.what()), "Cannot create file " + path);
}

}  // namespace
}  // namespace dravlink::win
