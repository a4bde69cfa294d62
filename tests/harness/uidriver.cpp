// Black-box UI driver: starts the program under test and drives its windows from outside, the
// way a user would, so end-to-end tests need no hooks inside the program.
//
//   uidriver.exe SCRIPT
//
// SCRIPT holds one step per line; blank lines and lines starting with '#' are skipped. A step is
// words separated by spaces. Inside a word, \xNN stands for the byte NN (use it for spaces, tabs,
// quotes, CR/LF, non-ASCII); any other backslash is literal, so Windows paths need no escaping.
// The word \e alone is the empty string.
// The file is read as bytes, so command lines reach CreateProcessA exactly as written.
//
// One result line per step goes to stdout. Values in it are escaped the same way (bytes below
// 0x20 or above 0x7E, '\' and '|' as \xNN), fields separated by '|'. At the first failing step
// the driver prints "FAIL step N: why", ends the program under test and exits 1; a malformed
// script exits 2; all steps passed exits 0. If the program is still running after the last
// step, that is a failure too (end scripts with `exit` or `kill`). The last line is always
// "end CODE" with the exit code, so a reader of the output knows it has it all.
//
// Steps (times in ms; every wait polls every 20 ms and gives up after its timeout, default 10000):
//   start CWD CMDLINE [SHOWCMD]  CreateProcessA(NULL, CMDLINE) in folder CWD; SHOWCMD (a number,
//                                e.g. 7 = SW_SHOWMINNOACTIVE) goes in STARTUPINFO.wShowWindow.
//                                -> start
//   start-cmd CWD CMDLINE        runs `cmd.exe /c CMDLINE` in CWD and takes cmd's child process as
//                                the program under test.   -> start-cmd
//   box [TIMEOUT] [BUTTON]       waits for a message box (#32770) of the program, then presses
//                                BUTTON (a control id, default IDOK=1) and waits for it to go.
//                                -> box CAPTION|TEXT|ICON  (ICON: stop, warning, info, question,
//                                   none, other — found by comparing the icon's screen pixels)
//   nobox MS                     fails if a message box of the program shows within MS. -> nobox
//   window [TIMEOUT]             waits for the program's visible top-level "TfrmMain" window.
//                                -> window CAPTION|L,T,R,B|CLIENTW,CLIENTH|normal/min/max
//   text ID                      -> text TEXT of the main window's descendant with that id
//   waittext ID TEXT [TIMEOUT]   waits until that control shows TEXT.  -> waittext TEXT
//   ctrl ID                      -> ctrl CLASS|X,Y,W,H (in the parent's client area)|visible or
//                                   hidden|enabled or disabled
//   click ID                     posts BM_CLICK to the control.  -> click ID
//   key VK [MODS]                posts WM_KEYDOWN/WM_KEYUP (WM_SYSKEY* with alt) to the
//                                program's focused control; VK decimal or 0xNN, MODS like
//                                shift+ctrl+alt. Posted keys do not change GetKeyState in the
//                                program: shift/ctrl are seen only as their own key messages.
//                                -> key VK
//   focus                        -> focus ID|CLASS of the focused control
//   close                        posts WM_CLOSE to the main window.  -> close
//   exit [TIMEOUT]               waits for the program to end.  -> exit CODE
//   kill                         TerminateProcess(…, 1) and wait.  -> kill
//   restore                      posts WM_SYSCOMMAND SC_RESTORE to the main window, as a click on
//                                its task-bar button does.  -> restore
//   waitfile PATH TEXT [TIMEOUT] waits until the file PATH holds TEXT (\e: until it exists).
//                                -> waitfile
//   other CLASS [TIMEOUT]        waits for a visible top-level window of that class in any
//                                process (say, a program the program under test started).
//                                -> other CAPTION
//   closeother CLASS             posts WM_CLOSE to that window.  -> closeother
//   absent PATH                  fails if the file PATH exists.  -> absent
//   signal NAME                  sets the named event (creating it if need be).  -> signal
//   sleep MS                     -> sleep
//   shot FILE [window]           saves the screen (or just the main window) as a 32-bit BMP,
//                                for looking at the program mid-script.  -> shot W,H
#include <windows.h>
// after windows.h, which they need
#include <fcntl.h>
#include <io.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPollMs = 20;
constexpr DWORD kDefaultTimeoutMs = 10000;
constexpr DWORD kMessageTimeoutMs = 2000;
constexpr char kMainClass[] = "TfrmMain";
constexpr char kBoxClass[] = "#32770";
constexpr int kBoxTextId = 0xFFFF;

struct StepError {
  std::string why;
};

[[noreturn]] void Fail(std::string why) {
  throw StepError{std::move(why)};
}

std::string Escape(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c < 0x20 || c > 0x7E || c == '\\' || c == '|') {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Unescape(const std::string& word) {
  std::string out;
  for (size_t i = 0; i < word.size(); ++i) {
    if (word[i] == '\\' && i + 3 < word.size() && word[i + 1] == 'x' &&
        HexValue(word[i + 2]) >= 0 && HexValue(word[i + 3]) >= 0) {
      out += static_cast<char>(HexValue(word[i + 2]) * 16 + HexValue(word[i + 3]));
      i += 3;
    } else {
      out += word[i];
    }
  }
  return out;
}

std::vector<std::string> SplitWords(const std::string& line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ') ++i;
    if (i == start) continue;
    const std::string word = line.substr(start, i - start);
    words.push_back(word == "\\e" ? std::string() : Unescape(word));
  }
  return words;
}

long ParseNumber(const std::string& word, const char* what) {
  char* end = nullptr;
  long value = std::strtol(word.c_str(), &end, 0);
  if (word.empty() || *end != '\0') Fail(std::string("bad ") + what + " '" + word + "'");
  return value;
}

std::string ErrorText(DWORD code) {
  return "error " + std::to_string(code);
}

std::string WindowText(HWND window) {
  std::vector<char> buffer(65536);
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(),
                           reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                           kMessageTimeoutMs, &length)) {
    Fail("WM_GETTEXT got no answer (" + ErrorText(GetLastError()) + ")");
  }
  return std::string(buffer.data(), length);
}

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

// Polls until probe() returns true or the time is up.
template <typename Probe>
bool WaitFor(DWORD timeoutMs, Probe probe) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (probe()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollMs);
  }
}

bool FileHolds(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::string content;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
    content.append(buffer, got);
  CloseHandle(file);
  return content.find(text) != std::string::npos;
}

HWND FindAnyTopLevel(const std::string& className) {
  HWND window = FindWindowA(className.c_str(), nullptr);
  return window && IsWindowVisible(window) ? window : nullptr;
}

class Driver {
 public:
  ~Driver() {
    if (process_) CloseHandle(process_);
  }

  void Run(const std::vector<std::string>& step) {
    const std::string& verb = step[0];
    auto arg = [&](size_t i) -> const std::string& {
      if (i >= step.size()) Fail(verb + ": missing argument " + std::to_string(i));
      return step[i];
    };
    auto optionalMs = [&](size_t i) {
      return i < step.size() ? static_cast<DWORD>(ParseNumber(step[i], "time")) : kDefaultTimeoutMs;
    };
    if (verb == "start") {
      Start(arg(1), arg(2),
            step.size() > 3 ? static_cast<int>(ParseNumber(step[3], "showcmd")) : -1);
      Print("start");
    } else if (verb == "start-cmd") {
      StartThroughCmd(arg(1), arg(2));
      Print("start-cmd");
    } else if (verb == "box") {
      Box(optionalMs(1), step.size() > 2 ? static_cast<int>(ParseNumber(step[2], "button")) : IDOK);
    } else if (verb == "nobox") {
      NeedProcess();
      HWND box = nullptr;
      if (WaitFor(static_cast<DWORD>(ParseNumber(arg(1), "time")),
                  [&] { return (box = FindTopLevel(kBoxClass)) != nullptr; })) {
        Fail("a message box showed: " + Escape(WindowText(box)) + "|" + Escape(BoxText(box)));
      }
      Print("nobox");
    } else if (verb == "window") {
      Window(optionalMs(1));
    } else if (verb == "text") {
      Print("text " + Escape(WindowText(Control(arg(1)))));
    } else if (verb == "waittext") {
      HWND control = Control(arg(1));
      std::string text;
      if (!WaitFor(step.size() > 3 ? optionalMs(3) : kDefaultTimeoutMs,
                   [&] { return (text = WindowText(control)) == arg(2); })) {
        Fail("control " + arg(1) + " shows '" + Escape(text) + "', not '" + Escape(arg(2)) + "'");
      }
      Print("waittext " + Escape(text));
    } else if (verb == "ctrl") {
      Ctrl(Control(arg(1)));
    } else if (verb == "click") {
      if (!PostMessageA(Control(arg(1)), BM_CLICK, 0, 0))
        Fail("BM_CLICK: " + ErrorText(GetLastError()));
      Print("click " + arg(1));
    } else if (verb == "key") {
      Key(static_cast<WPARAM>(ParseNumber(arg(1), "key")), step.size() > 2 ? step[2] : "");
      Print("key " + arg(1));
    } else if (verb == "focus") {
      HWND focus = Focused();
      Print("focus " + std::to_string(GetDlgCtrlID(focus)) + "|" + Escape(ClassOf(focus)));
    } else if (verb == "close") {
      if (!PostMessageA(MainWindow(), WM_CLOSE, 0, 0))
        Fail("WM_CLOSE: " + ErrorText(GetLastError()));
      Print("close");
    } else if (verb == "exit") {
      Print("exit " + std::to_string(WaitExit(optionalMs(1))));
    } else if (verb == "kill") {
      NeedProcess();
      TerminateProcess(process_, 1);
      WaitExit(kDefaultTimeoutMs);
      Print("kill");
    } else if (verb == "shot") {
      Shot(arg(1), step.size() > 2 && step[2] == "window");
    } else if (verb == "restore") {
      if (!PostMessageA(MainWindow(), WM_SYSCOMMAND, SC_RESTORE, 0))
        Fail("SC_RESTORE: " + ErrorText(GetLastError()));
      Print("restore");
    } else if (verb == "waitfile") {
      const std::string& path = arg(1);
      const std::string& text = arg(2);
      if (!WaitFor(step.size() > 3 ? optionalMs(3) : kDefaultTimeoutMs,
                   [&] { return FileHolds(path, text); }))
        Fail("'" + Escape(path) + "' does not hold '" + Escape(text) + "'");
      Print("waitfile");
    } else if (verb == "other") {
      HWND other = nullptr;
      if (!WaitFor(optionalMs(2), [&] { return (other = FindAnyTopLevel(arg(1))) != nullptr; }))
        Fail("no visible " + Escape(arg(1)) + " window");
      Print("other " + Escape(WindowText(other)));
    } else if (verb == "closeother") {
      HWND other = FindAnyTopLevel(arg(1));
      if (!other || !PostMessageA(other, WM_CLOSE, 0, 0))
        Fail("no " + Escape(arg(1)) + " window to close");
      Print("closeother");
    } else if (verb == "absent") {
      if (GetFileAttributesA(arg(1).c_str()) != INVALID_FILE_ATTRIBUTES)
        Fail("'" + Escape(arg(1)) + "' exists");
      Print("absent");
    } else if (verb == "signal") {
      HANDLE event = CreateEventA(nullptr, TRUE, FALSE, arg(1).c_str());
      if (!event || !SetEvent(event)) Fail("event " + arg(1) + ": " + ErrorText(GetLastError()));
      CloseHandle(event);
      Print("signal");
    } else if (verb == "sleep") {
      Sleep(static_cast<DWORD>(ParseNumber(arg(1), "time")));
      Print("sleep");
    } else {
      Fail("unknown step '" + Escape(verb) + "'");
    }
  }

  bool Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

  void Terminate() {
    if (Running()) {
      TerminateProcess(process_, 1);
      WaitForSingleObject(process_, 5000);
    }
  }

 private:
  static void Print(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  }

  void NeedProcess() const {
    if (!process_) Fail("no program started");
  }

  void TakeProcess(HANDLE process, DWORD pid) {
    if (process_) CloseHandle(process_);
    process_ = process;
    pid_ = pid;
    main_ = nullptr;
  }

  void Start(const std::string& cwd, const std::string& commandLine, int showCmd) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (showCmd >= 0) {
      startup.dwFlags = STARTF_USESHOWWINDOW;
      startup.wShowWindow = static_cast<WORD>(showCmd);
    }
    PROCESS_INFORMATION info{};
    std::string mutableLine = commandLine;
    if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        cwd.c_str(), &startup, &info)) {
      Fail("CreateProcessA(" + Escape(commandLine) + ") in " + Escape(cwd) + ": " +
           ErrorText(GetLastError()));
    }
    CloseHandle(info.hThread);
    TakeProcess(info.hProcess, info.dwProcessId);
  }

  void StartThroughCmd(const std::string& cwd, const std::string& commandLine) {
    Start(cwd, "cmd.exe /c " + commandLine, -1);
    const DWORD cmdPid = pid_;
    HANDLE cmd = process_;
    process_ = nullptr;
    DWORD childPid = 0;
    bool found = WaitFor(kDefaultTimeoutMs, [&] {
      HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
      if (snapshot == INVALID_HANDLE_VALUE) return false;
      PROCESSENTRY32 entry{};
      entry.dwSize = sizeof entry;
      for (BOOL more = Process32First(snapshot, &entry); more;
           more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == cmdPid && entry.th32ProcessID != cmdPid &&
            _stricmp(entry.szExeFile, "conhost.exe") != 0) {
          childPid = entry.th32ProcessID;
        }
      }
      CloseHandle(snapshot);
      if (childPid) return true;
      // cmd ended without a child we saw: the program was not started (or ended at once).
      return WaitForSingleObject(cmd, 0) == WAIT_OBJECT_0;
    });
    DWORD cmdExit = 0;
    GetExitCodeProcess(cmd, &cmdExit);
    CloseHandle(cmd);
    if (!found || !childPid) {
      Fail("cmd.exe started no program (cmd " +
           std::string(found ? "exited " + std::to_string(cmdExit) : "still running") + ")");
    }
    HANDLE child =
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, childPid);
    if (!child) Fail("OpenProcess(" + std::to_string(childPid) + "): " + ErrorText(GetLastError()));
    TakeProcess(child, childPid);
  }

  struct Search {
    DWORD pid;
    const char* className;
    HWND found;
  };

  HWND FindTopLevel(const char* className) const {
    Search search{pid_, className, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
          auto* s = reinterpret_cast<Search*>(param);
          DWORD pid = 0;
          GetWindowThreadProcessId(window, &pid);
          if (pid != s->pid || !IsWindowVisible(window) || ClassOf(window) != s->className)
            return TRUE;
          s->found = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  HWND MainWindow() {
    NeedProcess();
    if (main_ && IsWindow(main_)) return main_;
    main_ = FindTopLevel(kMainClass);
    if (!main_) Fail("no visible TfrmMain window (use a 'window' step first to wait for it)");
    return main_;
  }

  HWND Control(const std::string& idWord) {
    struct Find {
      int id;
      HWND found;
    } find{static_cast<int>(ParseNumber(idWord, "control id")), nullptr};
    EnumChildWindows(  // walks all descendants, not just children
        MainWindow(),
        [](HWND window, LPARAM param) -> BOOL {
          auto* f = reinterpret_cast<Find*>(param);
          if (GetDlgCtrlID(window) != f->id) return TRUE;
          f->found = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&find));
    if (!find.found) Fail("no control with id " + idWord + " in the main window");
    return find.found;
  }

  HWND Focused() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(MainWindow(), nullptr);
    if (!GetGUIThreadInfo(thread, &info)) Fail("GetGUIThreadInfo: " + ErrorText(GetLastError()));
    if (!info.hwndFocus) Fail("no control of the program has the focus");
    return info.hwndFocus;
  }

  static std::string BoxText(HWND box) {
    HWND text = GetDlgItem(box, kBoxTextId);
    return text ? WindowText(text) : std::string();
  }

  void Window(DWORD timeoutMs) {
    NeedProcess();
    main_ = nullptr;
    if (!WaitFor(timeoutMs,
                 [&] { return (main_ = FindTopLevel(kMainClass)) != nullptr || !Running(); }) ||
        !main_) {
      if (!Running())
        Fail("the program ended (exit " + std::to_string(WaitExit(0)) +
             ") without showing its window");
      std::string why = "no visible TfrmMain window within " + std::to_string(timeoutMs) + " ms";
      if (HWND box = FindTopLevel(kBoxClass)) {
        why += "; a message box is up: " + Escape(WindowText(box)) + "|" + Escape(BoxText(box));
      }
      Fail(why);
    }
    RECT rect{}, client{};
    GetWindowRect(main_, &rect);
    GetClientRect(main_, &client);
    const char* state = IsIconic(main_) ? "min" : IsZoomed(main_) ? "max" : "normal";
    Print("window " + Escape(WindowText(main_)) + "|" + std::to_string(rect.left) + "," +
          std::to_string(rect.top) + "," + std::to_string(rect.right) + "," +
          std::to_string(rect.bottom) + "|" + std::to_string(client.right) + "," +
          std::to_string(client.bottom) + "|" + state);
  }

  void Ctrl(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    Print("ctrl " + Escape(ClassOf(control)) + "|" + std::to_string(rect.left) + "," +
          std::to_string(rect.top) + "," + std::to_string(rect.right - rect.left) + "," +
          std::to_string(rect.bottom - rect.top) + "|" +
          (IsWindowVisible(control) ? "visible" : "hidden") + "|" +
          (IsWindowEnabled(control) ? "enabled" : "disabled"));
  }

  void Key(WPARAM vk, const std::string& mods) {
    const bool alt = mods.find("alt") != std::string::npos;
    std::vector<WPARAM> held;
    if (mods.find("shift") != std::string::npos) held.push_back(VK_SHIFT);
    if (mods.find("ctrl") != std::string::npos) held.push_back(VK_CONTROL);
    if (alt) held.push_back(VK_MENU);
    HWND target = Focused();
    const UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const UINT up = alt ? WM_SYSKEYUP : WM_KEYUP;
    auto post = [&](UINT message, WPARAM key, bool release) {
      LPARAM lParam =
          1 | (static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC)) << 16);
      if (alt) lParam |= 1 << 29;
      if (release) lParam |= (1u << 30) | (1u << 31);
      if (!PostMessageA(target, message, key, lParam))
        Fail("posting a key: " + ErrorText(GetLastError()));
    };
    for (WPARAM key : held) post(down, key, false);
    post(down, vk, false);
    post(up, vk, true);
    for (auto key = held.rbegin(); key != held.rend(); ++key) post(up, *key, true);
  }

  DWORD WaitExit(DWORD timeoutMs) {
    NeedProcess();
    if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
      Fail("the program is still running after " + std::to_string(timeoutMs) + " ms");
    }
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
  }

  void Shot(const std::string& path, bool windowOnly) {
    RECT rect{0, 0, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    if (windowOnly) GetWindowRect(MainWindow(), &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) Fail("nothing to capture");
    std::vector<COLORREF> pixels = CaptureRect(rect.left, rect.top, width, height);
    if (pixels.empty()) Fail("capturing the screen failed");

    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = -height;  // top-down, the order GetDIBits gave us
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size() * sizeof(COLORREF));
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
      Fail("cannot create " + Escape(path) + ": " + ErrorText(GetLastError()));
    DWORD written = 0;
    bool ok = WriteFile(file, &header, sizeof header, &written, nullptr) &&
              WriteFile(file, &info, sizeof info, &written, nullptr) &&
              WriteFile(file, pixels.data(), static_cast<DWORD>(pixels.size() * sizeof(COLORREF)),
                        &written, nullptr);
    CloseHandle(file);
    if (!ok) Fail("writing " + Escape(path) + " failed");
    Print("shot " + std::to_string(width) + "," + std::to_string(height));
  }

  // --- message boxes ---------------------------------------------------------------------------

  void Box(DWORD timeoutMs, int button) {
    NeedProcess();
    HWND box = nullptr;
    if (!WaitFor(timeoutMs,
                 [&] { return (box = FindTopLevel(kBoxClass)) != nullptr || !Running(); }) ||
        !box) {
      if (!Running())
        Fail("the program ended (exit " + std::to_string(WaitExit(0)) + ") without a message box");
      Fail("no message box within " + std::to_string(timeoutMs) + " ms");
    }
    const std::string caption = WindowText(box);
    const std::string text = BoxText(box);
    const std::string icon = BoxIcon(box);
    HWND buttonWindow = GetDlgItem(box, button);
    if (!buttonWindow) Fail("the message box has no button with id " + std::to_string(button));
    if (!PostMessageA(buttonWindow, BM_CLICK, 0, 0)) Fail("BM_CLICK: " + ErrorText(GetLastError()));
    if (!WaitFor(kDefaultTimeoutMs, [&] { return !IsWindow(box) || !IsWindowVisible(box); })) {
      Fail("the message box did not close after pressing button " + std::to_string(button));
    }
    Print("box " + Escape(caption) + "|" + Escape(text) + "|" + icon);
  }

  // Another process's icon handle is of no use here, so compare what is on the screen with
  // the system icons drawn the same way.
  static std::string BoxIcon(HWND box) {
    HWND iconControl = nullptr;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM param) -> BOOL {
          if (ClassOf(child) == "Static" &&
              (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
              IsWindowVisible(child)) {
            *reinterpret_cast<HWND*>(param) = child;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&iconControl));
    if (!iconControl) return "none";

    struct Known {
      const char* name;
      LPCSTR id;
    };
    static const Known kIcons[] = {
        // name       system icon
        {"stop", IDI_HAND},
        {"warning", IDI_EXCLAMATION},
        {"info", IDI_ASTERISK},
        {"question", IDI_QUESTION},
    };
    RECT rect{};
    GetWindowRect(iconControl, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0 || width > 256 || height > 256) return "other";
    const int size = width < height ? width : height;

    std::string result = "other";
    // The box may still be painting: look again for a while before calling it "other".
    WaitFor(1000, [&] {
      std::vector<COLORREF> screen = Capture(rect.left, rect.top, size);
      if (screen.empty()) return false;
      const COLORREF background = screen[0];  // a corner is outside every system icon
      for (const Known& known : kIcons) {
        std::vector<COLORREF> drawn = DrawSystemIcon(known.id, size, background);
        size_t differ = 0;
        for (size_t i = 0; i < screen.size() && i < drawn.size(); ++i)
          differ += screen[i] != drawn[i];
        if (!drawn.empty() && differ <= screen.size() / 64) {
          result = known.name;
          return true;
        }
      }
      return false;
    });
    return result;
  }

  static std::vector<COLORREF> Pixels(HDC dc, HBITMAP bitmap, int width, int height) {
    std::vector<COLORREF> pixels(static_cast<size_t>(width) * height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    if (!GetDIBits(dc, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS)) pixels.clear();
    for (COLORREF& pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
  }

  static std::vector<COLORREF> Capture(int x, int y, int size) {
    return CaptureRect(x, y, size, size);
  }

  // Draws into a bitmap compatible with the screen and returns its pixels.
  template <typename Draw>
  static std::vector<COLORREF> Render(int width, int height, Draw draw) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    draw(screen, memory);
    SelectObject(memory, old);
    std::vector<COLORREF> pixels = Pixels(memory, bitmap, width, height);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
  }

  static std::vector<COLORREF> CaptureRect(int x, int y, int width, int height) {
    return Render(width, height, [&](HDC screen, HDC memory) {
      BitBlt(memory, 0, 0, width, height, screen, x, y, SRCCOPY);
    });
  }

  static std::vector<COLORREF> DrawSystemIcon(LPCSTR id, int size, COLORREF background) {
    HICON icon = LoadIconA(nullptr, id);
    if (!icon) return {};
    return Render(size, size, [&](HDC, HDC memory) {
      // GetDIBits gives 0x00RRGGBB; a COLORREF is 0x00BBGGRR.
      HBRUSH brush = CreateSolidBrush(
          RGB(GetBValue(background), GetGValue(background), GetRValue(background)));
      RECT all{0, 0, size, size};
      FillRect(memory, &all, brush);
      DeleteObject(brush);
      DrawIconEx(memory, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    });
  }

  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  HWND main_ = nullptr;
};

bool ReadScript(const char* path, std::string& content) {
  HANDLE file =
      CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
    content.append(buffer, got);
  CloseHandle(file);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // "\n", not "\r\n", in the result lines
  if (argc != 2) {
    std::fprintf(stderr, "usage: uidriver SCRIPT\n");
    return 2;
  }
  std::string script;
  if (!ReadScript(argv[1], script)) {
    std::printf("FAIL step 0: cannot read script %s (error %lu)\nend 2\n", argv[1], GetLastError());
    return 2;
  }

  std::vector<std::vector<std::string>> steps;
  size_t start = 0;
  while (start < script.size()) {
    size_t end = script.find('\n', start);
    if (end == std::string::npos) end = script.size();
    std::string line = script.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> words = SplitWords(line);
    if (words.empty() || words[0][0] == '#') continue;
    steps.push_back(std::move(words));
  }

  Driver driver;
  size_t number = 0;
  int code = 0;
  try {
    for (number = 1; number <= steps.size(); ++number) driver.Run(steps[number - 1]);
    if (driver.Running()) Fail("the program is still running at the end of the script (killed)");
  } catch (const StepError& error) {
    std::printf("FAIL step %zu: %s\n", number, error.why.c_str());
    std::fflush(stdout);
    driver.Terminate();
    code = 1;
  }
  std::printf("end %d\n", code);
  std::fflush(stdout);
  return code;
}
