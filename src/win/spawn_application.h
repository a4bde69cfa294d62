#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <string>

#include "win/unique_handle.h"

namespace dravlink::win {

enum class TSpawnCommand { scOpen, scPrint };
enum class TShowState { ssHidden, ssNormal, ssMinimized, ssMaximized, ssMinNotActive };

// Starts a program through the shell and, when asked to, waits for its process on a thread of
// its own. The end of the wait is reported on the thread that created this object, between two
// messages of that thread's message loop, while the waiting thread blocks until it has been
// dealt with. One launch at a time: a second Spawn while a wait runs replaces the first.
class SpawnApplication {
 public:
  // `errorCaption` captions the error box for a failure that escapes an event handler.
  SpawnApplication(HINSTANCE instance, std::string errorCaption);
  ~SpawnApplication();
  SpawnApplication(const SpawnApplication&) = delete;
  SpawnApplication& operator=(const SpawnApplication&) = delete;

  // Settings; an empty text is handed to the shell as null.
  std::string FileName;
  std::string RunParameters;
  std::string DefaultDir;
  TSpawnCommand SpawnCommand = TSpawnCommand::scOpen;
  TShowState ShowState = TShowState::ssNormal;
  bool NotifyWhenDone = true;
  int TimeOut = 0;  // whole seconds; 0 or less: no limit

  // Events, run on the owning thread.
  std::function<void(SpawnApplication& sender)> OnCompleted;
  std::function<void(SpawnApplication& sender, std::uint16_t error)> OnSpawnError;
  std::function<void(SpawnApplication& sender)> OnTimeOut;

  // Starts FileName. Returns the started process (owned here), or null when the shell started
  // none; a failure is reported through OnSpawnError, never raised.
  HANDLE Spawn();

  // What Spawn hands to ShellExecuteExA; its texts point into this object's settings.
  SHELLEXECUTEINFOA ExecuteInfo() const;

  // The process the last Spawn started, or null.
  HANDLE Spawned() const { return process_.Get(); }

  // True from the start of a wait until its outcome has been dealt with.
  bool Waiting() const { return doneEvent_.Valid(); }

 private:
  static LRESULT CALLBACK NotifierProcedure(HWND, UINT, WPARAM, LPARAM);
  void BeginWait();
  void Outcome(DWORD waitResult, DWORD lastError);
  void SpawnError(DWORD lastError);

  std::string errorCaption_;
  UniqueWindow notifier_;         // hidden, of the owning thread: where the wait reports
  UniqueKernelHandle process_;    // the started process
  UniqueKernelHandle doneEvent_;  // the launch's own event; set once the outcome is dealt with
  unsigned launch_ = 0;           // tells a report of an earlier, replaced launch from this one
};

}  // namespace dravlink::win
