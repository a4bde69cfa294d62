#include "win/spawn_application.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "win/module_path.h"

namespace dravlink::win {
namespace {

// Runs this thread's message loop until `done` holds or the time is up; the launcher's reports
// arrive only while the loop runs.
template <typename Done>
bool PumpUntil(Done done, DWORD timeoutMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  while (!done()) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    if (done()) break;
    if (::GetTickCount64() >= deadline) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return true;
}

void Pump(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

// What the events said, and on which thread.
struct Events {
  int completed = 0;
  int timedOut = 0;
  std::vector<std::uint16_t> spawnErrors;
  DWORD thread = 0;
  DWORD childExitAtCompletion = 0;
};

// A launcher of this test program as a child that sleeps `sleepMs` and exits with `exitCode`.
std::unique_ptr<SpawnApplication> ChildLauncher(Events& events, int sleepMs, int exitCode = 0) {
  auto launcher = std::make_unique<SpawnApplication>(::GetModuleHandleA(nullptr), "test");
  launcher->FileName = ExePath();
  launcher->RunParameters =
      "--child-sleep " + std::to_string(sleepMs) + " " + std::to_string(exitCode);
  launcher->ShowState = TShowState::ssHidden;
  launcher->OnCompleted = [&events](SpawnApplication& sender) {
    ++events.completed;
    events.thread = ::GetCurrentThreadId();
    ::GetExitCodeProcess(sender.Spawned(), &events.childExitAtCompletion);
  };
  launcher->OnTimeOut = [&events](SpawnApplication&) { ++events.timedOut; };
  launcher->OnSpawnError = [&events](SpawnApplication&, std::uint16_t error) {
    events.spawnErrors.push_back(error);
  };
  return launcher;
}

TEST(SpawnApplication, HandsTheShellItsSettingsWithEmptyTextsAsNull) {
  SpawnApplication launcher(::GetModuleHandleA(nullptr), "test");
  launcher.FileName = "C:\\Drav\\\\DravProg.Exe";
  SHELLEXECUTEINFOA info = launcher.ExecuteInfo();
  EXPECT_EQ(info.cbSize, sizeof(SHELLEXECUTEINFOA));
  EXPECT_EQ(info.fMask, 0x440u);
  EXPECT_EQ(info.hwnd, nullptr);
  EXPECT_STREQ(info.lpVerb, "open");
  EXPECT_STREQ(info.lpFile, "C:\\Drav\\\\DravProg.Exe");
  EXPECT_EQ(info.lpParameters, nullptr);
  EXPECT_EQ(info.lpDirectory, nullptr);
  EXPECT_EQ(info.nShow, SW_SHOWNORMAL);
  EXPECT_EQ(info.hInstApp, nullptr);

  launcher.RunParameters = "a b";
  launcher.DefaultDir = "C:\\Work";
  launcher.SpawnCommand = TSpawnCommand::scPrint;
  info = launcher.ExecuteInfo();
  EXPECT_STREQ(info.lpParameters, "a b");
  EXPECT_STREQ(info.lpDirectory, "C:\\Work");
  EXPECT_STREQ(info.lpVerb, "print");

  const struct {
    TShowState state;
    int show;
  } shows[] = {{TShowState::ssHidden, SW_HIDE},
               {TShowState::ssNormal, SW_SHOWNORMAL},
               {TShowState::ssMinimized, SW_SHOWMINIMIZED},
               {TShowState::ssMaximized, SW_SHOWMAXIMIZED},
               {TShowState::ssMinNotActive, SW_SHOWMINNOACTIVE}};
  for (const auto& c : shows) {
    launcher.ShowState = c.state;
    EXPECT_EQ(launcher.ExecuteInfo().nShow, c.show) << static_cast<int>(c.state);
  }
}

TEST(SpawnApplication, ReportsTheEndOfTheProcessOnItsOwnThreadOnce) {
  Events events;
  auto launcher = ChildLauncher(events, 300, 7);
  const ULONGLONG started = ::GetTickCount64();
  ASSERT_NE(launcher->Spawn(), nullptr);
  // Spawn does not wait for the program.
  EXPECT_LT(::GetTickCount64() - started, 250u);
  EXPECT_TRUE(launcher->Waiting());
  EXPECT_EQ(events.completed, 0);

  ASSERT_TRUE(PumpUntil([&] { return events.completed > 0; }, 10000));
  EXPECT_EQ(events.thread, ::GetCurrentThreadId());
  EXPECT_EQ(events.childExitAtCompletion, 7u);  // the process had ended
  EXPECT_FALSE(launcher->Waiting());
  Pump(300);
  EXPECT_EQ(events.completed, 1);
  EXPECT_EQ(events.timedOut, 0);
  EXPECT_TRUE(events.spawnErrors.empty());
}

TEST(SpawnApplication, AWaitLimitEndsInTimeOutNotCompletion) {
  Events events;
  auto launcher = ChildLauncher(events, 20000);
  launcher->TimeOut = 1;
  const HANDLE child = launcher->Spawn();
  ASSERT_NE(child, nullptr);
  const ULONGLONG started = ::GetTickCount64();
  ASSERT_TRUE(PumpUntil([&] { return events.timedOut > 0; }, 10000));
  EXPECT_GE(::GetTickCount64() - started, 900u);
  EXPECT_EQ(::WaitForSingleObject(child, 0), static_cast<DWORD>(WAIT_TIMEOUT));  // still runs
  EXPECT_EQ(events.completed, 0);
  ::TerminateProcess(child, 0);
}

TEST(SpawnApplication, AFailedStartIsASpawnErrorAndNeverACompletion) {
  Events events;
  auto launcher = ChildLauncher(events, 0);
  launcher->FileName = ExePath() + ".missing.exe";
  EXPECT_EQ(launcher->Spawn(), nullptr);
  // The shell's own error comes at once, inside Spawn.
  ASSERT_EQ(events.spawnErrors.size(), 1u);
  EXPECT_EQ(events.spawnErrors[0], ERROR_FILE_NOT_FOUND);
  // The wait on no process fails at once and is a spawn error as well.
  ASSERT_TRUE(PumpUntil([&] { return events.spawnErrors.size() == 2; }, 5000));
  EXPECT_EQ(events.spawnErrors[1], ERROR_INVALID_HANDLE);
  Pump(200);
  EXPECT_EQ(events.completed, 0);
  EXPECT_FALSE(launcher->Waiting());
}

TEST(SpawnApplication, WithoutNotifyWhenDoneNothingWaits) {
  Events events;
  auto launcher = ChildLauncher(events, 0);
  launcher->NotifyWhenDone = false;
  const HANDLE child = launcher->Spawn();
  ASSERT_NE(child, nullptr);
  EXPECT_FALSE(launcher->Waiting());
  EXPECT_EQ(::WaitForSingleObject(child, 10000), WAIT_OBJECT_0);
  Pump(300);
  EXPECT_EQ(events.completed, 0);
}

TEST(SpawnApplication, GoneWhileTheProgramRunsReportsNothingAndLeavesItRunning) {
  Events events;
  auto launcher = ChildLauncher(events, 1500);
  HANDLE child = nullptr;
  ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), launcher->Spawn(), ::GetCurrentProcess(),
                                &child, 0, FALSE, DUPLICATE_SAME_ACCESS));
  launcher.reset();
  Pump(200);
  EXPECT_EQ(::WaitForSingleObject(child, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(::WaitForSingleObject(child, 10000), WAIT_OBJECT_0);
  Pump(300);
  EXPECT_EQ(events.completed, 0);
  ::CloseHandle(child);
}

}  // namespace
}  // namespace dravlink::win
