#include "win/spawn_application.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "core/failure.h"
#include "win/error_box.h"

namespace dravlink::win {
namespace {

constexpr char kNotifierClass[] = "TSpawnNotifier";
constexpr UINT kWaitEnded = WM_APP + 1;  // lParam: the WaitReport, on the waiting thread's stack

// What the waiting thread owns: its own duplicates of the handles it waits on, so the launcher
// may drop its copies at any time without pulling them from under a running wait.
struct WaitJob {
  UniqueKernelHandle process;
  UniqueKernelHandle doneEvent;
  HWND notifier;
  DWORD limitMs;
  unsigned launch;
};

struct WaitReport {
  DWORD result;
  DWORD lastError;
  unsigned launch;
};

DWORD WINAPI WaitThread(void* parameter) {
  const std::unique_ptr<WaitJob> job(static_cast<WaitJob*>(parameter));
  const HANDLE objects[] = {job->process.Get(), job->doneEvent.Get()};
  WaitReport report{};
  report.result = ::WaitForMultipleObjects(2, objects, FALSE, job->limitMs);
  report.lastError = report.result == WAIT_FAILED ? ::GetLastError() : 0;
  report.launch = job->launch;
  // Synchronous: returns once the owning thread has dealt with the outcome. When the launcher
  // is gone, so is its window, and this returns at once.
  ::SendMessageA(job->notifier, kWaitEnded, 0, reinterpret_cast<LPARAM>(&report));
  return 0;
}

// A null handle stays null: the wait on it then fails, as it should.
UniqueKernelHandle Duplicate(HANDLE handle) {
  HANDLE copy = nullptr;
  if (handle)
    ::DuplicateHandle(::GetCurrentProcess(), handle, ::GetCurrentProcess(), &copy, 0, FALSE,
                      DUPLICATE_SAME_ACCESS);
  return UniqueKernelHandle(copy);
}

const char* NullIfEmpty(const std::string& text) {
  return text.empty() ? nullptr : text.c_str();
}

int ShowCommandOf(TShowState state) {
  switch (state) {
    case TShowState::ssHidden:
      return SW_HIDE;
    case TShowState::ssMinimized:
      return SW_SHOWMINIMIZED;
    case TShowState::ssMaximized:
      return SW_SHOWMAXIMIZED;
    case TShowState::ssMinNotActive:
      return SW_SHOWMINNOACTIVE;
    case TShowState::ssNormal:
      break;
  }
  return SW_SHOWNORMAL;
}

}  // namespace

SpawnApplication::SpawnApplication(HINSTANCE instance, std::string errorCaption)
    : errorCaption_(std::move(errorCaption)) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &SpawnApplication::NotifierProcedure;
  wc.hInstance = instance;
  wc.lpszClassName = kNotifierClass;
  ::RegisterClassExA(&wc);  // a second registration in one run fails harmlessly
  notifier_.Reset(::CreateWindowExA(0, kNotifierClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    instance, nullptr));
  if (!notifier_) throw Failure("Cannot create the launcher's window", ::GetLastError());
  ::SetWindowLongPtrA(notifier_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

SpawnApplication::~SpawnApplication() {
  // A wait may still run (the program ends while the started one goes on). Its report must
  // find nothing: the window forgets this object and goes first, then the launch's event lets
  // the thread go.
  ::SetWindowLongPtrA(notifier_.Get(), GWLP_USERDATA, 0);
  notifier_.Reset();
  if (doneEvent_) ::SetEvent(doneEvent_.Get());
}

SHELLEXECUTEINFOA SpawnApplication::ExecuteInfo() const {
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  // The process handle comes back, and the shell shows no error box of its own.
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.hwnd = nullptr;
  info.lpVerb = SpawnCommand == TSpawnCommand::scPrint ? "print" : "open";
  info.lpFile = NullIfEmpty(FileName);
  info.lpParameters = NullIfEmpty(RunParameters);
  info.lpDirectory = NullIfEmpty(DefaultDir);
  info.nShow = ShowCommandOf(ShowState);
  info.hInstApp = nullptr;
  return info;
}

HANDLE SpawnApplication::Spawn() {
  process_.Reset();
  SHELLEXECUTEINFOA info = ExecuteInfo();
  if (::ShellExecuteExA(&info)) {
    process_.Reset(info.hProcess);  // null when the shell handed the file to a running program
  } else {
    SpawnError(::GetLastError());
  }
  // After a failed start there is no process: that wait fails at once and ends as a spawn
  // error, never as completion.
  if (NotifyWhenDone) BeginWait();
  return process_.Get();
}

void SpawnApplication::BeginWait() {
  UniqueKernelHandle done(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!done) return SpawnError(::GetLastError());
  auto job = std::make_unique<WaitJob>();
  job->process = Duplicate(process_.Get());
  job->doneEvent = Duplicate(done.Get());
  if (!job->doneEvent) return SpawnError(::GetLastError());
  job->notifier = notifier_.Get();
  constexpr int kLongestLimit = static_cast<int>((INFINITE - 1) / 1000);
  job->limitMs =
      TimeOut > 0 ? static_cast<DWORD>(std::min(TimeOut, kLongestLimit)) * 1000 : INFINITE;
  job->launch = ++launch_;
  // The thread frees itself when it ends; nobody joins it.
  const UniqueKernelHandle thread(::CreateThread(nullptr, 64 * 1024, &WaitThread, job.get(),
                                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
  if (!thread) return SpawnError(::GetLastError());
  job.release();
  doneEvent_ = std::move(done);
}

void SpawnApplication::Outcome(DWORD waitResult, DWORD lastError) {
  switch (waitResult) {
    case WAIT_OBJECT_0:
    case WAIT_OBJECT_0 + 1:
      if (NotifyWhenDone && OnCompleted) OnCompleted(*this);
      break;
    case WAIT_TIMEOUT:
      if (OnTimeOut) OnTimeOut(*this);
      break;
    case WAIT_FAILED:
      SpawnError(lastError);
      break;
    default:
      break;
  }
}

void SpawnApplication::SpawnError(DWORD lastError) {
  if (OnSpawnError) OnSpawnError(*this, static_cast<std::uint16_t>(lastError & 0xFFFF));
}

LRESULT CALLBACK SpawnApplication::NotifierProcedure(HWND hwnd, UINT message, WPARAM wParam,
                                                     LPARAM lParam) {
  if (message != kWaitEnded) return ::DefWindowProcA(hwnd, message, wParam, lParam);
  auto* self = reinterpret_cast<SpawnApplication*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  const auto& report = *reinterpret_cast<const WaitReport*>(lParam);
  if (!self || report.launch != self->launch_ || !self->doneEvent_) return 0;
  // The wait is over once its outcome has been dealt with; a handler may start the next one.
  UniqueKernelHandle done = std::move(self->doneEvent_);
  const std::string caption = self->errorCaption_;
  Dispatch(nullptr, caption, [&] { self->Outcome(report.result, report.lastError); });
  ::SetEvent(done.Get());
  return 0;
}

}  // namespace dravlink::win
