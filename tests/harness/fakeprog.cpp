// Stand-in programmer program for the end-to-end tests. It records how it was started and
// behaves as "fakeprog.ini" beside it says, in section [fakeprog] (or [child] when it runs as
// its own child, started with the argument --child):
//
//   log=PATH          where to append the record (default: fakeprog.log beside the exe)
//   wait_window=CLASS before anything else, wait up to 10 s for a visible window of that class
//   child=1           start a copy of itself as --child, without waiting for it
//   quit=NAME         exit only once the named event is set (at most 120 s); without it, at once
//   exit_code=N       the exit code (default 0)
//
// Record lines, tab-separated:
//   ROLE-start PID CURRENT-DIRECTORY COMMAND-LINE ARGUMENTS SHOW-COMMAND
//   ROLE-window CLASS seen|missing
//   ROLE-end PID quit|timeout|at-once MICROSECONDS
// where ROLE is the section name, ARGUMENTS is the command line after the program's own name and
// SHOW-COMMAND is STARTUPINFO.wShowWindow, or "none" without STARTF_USESHOWWINDOW, and
// MICROSECONDS the wall-clock time of the end since 1970 (for timing what follows it).
#include <windows.h>

#include <string>

namespace {

constexpr DWORD kQuitLimitMs = 120000;
constexpr DWORD kWindowLimitMs = 10000;

std::string ExeFolder() {
  char path[MAX_PATH * 4] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\'));
}

std::string Setting(const std::string& ini, const char* section, const char* key,
                    const char* fallback = "") {
  char value[2048] = {};
  ::GetPrivateProfileStringA(section, key, fallback, value, sizeof value, ini.c_str());
  return value;
}

// The command line after the program's name, the way the C runtime would skip that name.
std::string ArgumentsOf(const char* commandLine) {
  const char* p = commandLine;
  if (*p == '"') {
    for (++p; *p && *p != '"'; ++p) {
    }
    if (*p) ++p;
  } else {
    while (*p && *p != ' ' && *p != '\t') ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

void Record(const std::string& log, const std::string& line) {
  const HANDLE file =
      ::CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\r\n";
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(file);
}

bool WindowVisible(const std::string& className) {
  const HWND window = ::FindWindowA(className.c_str(), nullptr);
  return window && ::IsWindowVisible(window);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string folder = ExeFolder();
  const std::string ini = folder + "\\fakeprog.ini";
  const char* commandLine = ::GetCommandLineA();
  const std::string arguments = ArgumentsOf(commandLine);
  const char* role = arguments == "--child" ? "child" : "fakeprog";
  const std::string log = Setting(ini, role, "log", (folder + "\\fakeprog.log").c_str());
  const std::string quit = Setting(ini, role, "quit");

  // The event exists before the start is recorded, so whoever reads the record may set it.
  HANDLE quitEvent = quit.empty() ? nullptr : ::CreateEventA(nullptr, TRUE, FALSE, quit.c_str());

  char directory[MAX_PATH * 4] = {};
  ::GetCurrentDirectoryA(sizeof directory, directory);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  ::GetStartupInfoA(&startup);
  const std::string show = (startup.dwFlags & STARTF_USESHOWWINDOW)
                               ? std::to_string(startup.wShowWindow)
                               : std::string("none");
  const std::string pid = std::to_string(::GetCurrentProcessId());
  Record(log, std::string(role) + "-start\t" + pid + "\t" + directory + "\t" + commandLine + "\t" +
                  arguments + "\t" + show);

  const std::string windowClass = Setting(ini, role, "wait_window");
  if (!windowClass.empty()) {
    const ULONGLONG deadline = ::GetTickCount64() + kWindowLimitMs;
    bool seen = false;
    while (!(seen = WindowVisible(windowClass)) && ::GetTickCount64() < deadline) ::Sleep(20);
    Record(log, std::string(role) + "-window\t" + windowClass + "\t" + (seen ? "seen" : "missing"));
  }

  if (Setting(ini, role, "child") == "1") {
    char self[MAX_PATH * 4] = {};
    ::GetModuleFileNameA(nullptr, self, sizeof self);
    std::string childLine = std::string("\"") + self + "\" --child";
    STARTUPINFOA childStartup{};
    childStartup.cb = sizeof childStartup;
    PROCESS_INFORMATION child{};
    if (::CreateProcessA(nullptr, childLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &childStartup, &child)) {
      ::CloseHandle(child.hThread);
      ::CloseHandle(child.hProcess);
    } else {
      Record(log, std::string(role) + "-child-failed\t" + std::to_string(::GetLastError()));
    }
  }

  const char* how = "at-once";
  if (quitEvent) {
    how = ::WaitForSingleObject(quitEvent, kQuitLimitMs) == WAIT_OBJECT_0 ? "quit" : "timeout";
    ::CloseHandle(quitEvent);
  }
  FILETIME now{};
  ::GetSystemTimePreciseAsFileTime(&now);
  const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  const ULONGLONG unixMicroseconds = (ticks - 116444736000000000ULL) / 10;
  Record(log,
         std::string(role) + "-end\t" + pid + "\t" + how + "\t" + std::to_string(unixMicroseconds));
  return static_cast<int>(::GetPrivateProfileIntA(role, "exit_code", 0, ini.c_str()));
}
