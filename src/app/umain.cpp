#include "app/umain.h"

#include <algorithm>

#include "app/launch.h"
#include "app/location.h"
#include "app/settings.h"
#include "core/command_line.h"
#include "core/devices.h"
#include "core/failure.h"
#include "win/gdi.h"
#include "win/panel.h"

namespace dravlink {
namespace {

// The device table lives as long as the program; FormCreate fills it.
DeviceTable devices;

constexpr char kClassName[] = "TfrmMain";
constexpr char kCaption[] = "Drav Link  v1.04";
constexpr int kLeft = 390, kTop = 197, kClientWidth = 473, kClientHeight = 309;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;  // fixed frame, no caption icon

enum class Font { kWindow, kTitle, kSubtitle, kBold, kCredit };

constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kMaroon = RGB(128, 0, 0);
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kWindowText = CLR_INVALID;  // the system's window-text colour

struct ControlLayout {
  int id;
  const char* className;  // nullptr: the panel class
  const char* text;
  DWORD style;
  int left, top, width, height;
  Font font;
  COLORREF colour;
  int parentId;  // 0: the window itself
  bool fitText;  // widened to hold its text on one line where the face is wider than planned
};

// Every control of the window, in creation (and tab) order.
// id, class, text, style, left, top, width, height, font, colour, parent, fit text
constexpr ControlLayout kLayout[] = {
    {kIdTitle, "STATIC", "Drav Link", SS_LEFT | SS_NOPREFIX, 10, 8, 112, 35, Font::kTitle, kGrey, 0,
     true},
    {kIdSubtitle, "STATIC", "ZMS to Drav PIC Programmer Link", SS_LEFT | SS_NOPREFIX, 15, 39, 229,
     16, Font::kSubtitle, kMaroon, 0, true},
    {kIdBevel, "STATIC", "", SS_ETCHEDFRAME, 14, 65, 446, 5, Font::kWindow, kWindowText, 0, false},
    {kIdLocationCaption, "STATIC", "Drav Toolkit Location:", SS_LEFT | SS_NOPREFIX, 14, 80, 124, 13,
     Font::kBold, kNavy, 0, true},
    {kIdCredit, "STATIC", "dravlink: ZMS to Drav hand-off", SS_RIGHT | SS_NOPREFIX, 254, 2, 205, 30,
     Font::kCredit, kGrey, 0, false},
    {kIdFolderButton, "BUTTON", "Update", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 383, 95, 75, 25,
     Font::kWindow, kWindowText, 0, false},
    {kIdPanel, nullptr, "", 0, 14, 96, 360, 25, Font::kWindow, kWindowText, 0, false},
    {kIdLocation, "STATIC", "", SS_LEFT | SS_NOPREFIX | SS_LEFTNOWORDWRAP, 3, 3, 349, 13,
     Font::kBold, kMaroon, kIdPanel, false},
};

HFONT MakeFont(int height, int weight, const char* face) {
  return ::CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

const ControlLayout* LayoutOf(int id) {
  for (const auto& row : kLayout)
    if (row.id == id) return &row;
  return nullptr;
}

}  // namespace

TfrmMain::TfrmMain(HINSTANCE instance)
    : instance_(instance), IniStore(kIniFileName), RunApp(instance, kApplicationTitle) {
  // The launcher's settings other than these are its defaults: open, shown normally, no
  // parameters or folder, wait without limit.
  RunApp.NotifyWhenDone = true;
  RunApp.OnCompleted = [this](win::SpawnApplication&) { RunAppCompleted(); };
}

TfrmMain::~TfrmMain() {
  DestroyHandle();
}

void TfrmMain::Create() {
  RegisterWindowClass(instance_, kClassName, 0, ::GetSysColorBrush(COLOR_BTNFACE));
  RECT frame{0, 0, kClientWidth, kClientHeight};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  if (!CreateHandle(instance_, kClassName, kCaption, kStyle, kExStyle, kLeft, kTop,
                    frame.right - frame.left, frame.bottom - frame.top))
    throw Failure("Cannot create the main window", ::GetLastError());
  win::Dispatch(Handle(), kApplicationTitle, [this] { FormCreate(); });
}

void TfrmMain::Show(int showCommand) {
  if (showCommand == SW_SHOWMINNOACTIVE) {
    showPending_ = true;
    ::ShowWindow(Handle(), SW_SHOWMINNOACTIVE);
    return;
  }
  Showing();
  // Hidden, the window could be neither seen nor closed while it waits.
  ::ShowWindow(Handle(), showCommand == SW_HIDE ? SW_SHOWNORMAL : showCommand);
  ::UpdateWindow(Handle());
  if (!::IsIconic(Handle())) ::SetFocus(::GetDlgItem(Handle(), kIdFolderButton));
}

// The window is about to show: FormShow runs before it is first drawn, behind the error box.
void TfrmMain::Showing() {
  showPending_ = false;
  win::Dispatch(Handle(), kApplicationTitle, [this] { FormShow(); });
}

void TfrmMain::Close() {
  // The main window closing ends the program: the loop stops at the quit message and the
  // window goes with this object.
  ::PostQuitMessage(0);
}

void TfrmMain::CreateControls() {
  windowFont_.Reset(MakeFont(11, FW_NORMAL, "MS Sans Serif"));
  titleFont_.Reset(MakeFont(27, FW_NORMAL, "Times New Roman"));
  subtitleFont_.Reset(MakeFont(13, FW_BOLD, "MS Sans Serif"));
  boldFont_.Reset(MakeFont(11, FW_BOLD, "MS Sans Serif"));
  creditFont_.Reset(MakeFont(13, FW_NORMAL, "Times New Roman"));
  const HGDIOBJ fonts[] = {windowFont_.Get(), titleFont_.Get(), subtitleFont_.Get(),
                           boldFont_.Get(), creditFont_.Get()};
  ::SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(windowFont_.Get()), FALSE);

  for (const auto& row : kLayout) {
    HWND parent = row.parentId ? ::GetDlgItem(Handle(), row.parentId) : Handle();
    const char* className = row.className ? row.className : win::PanelClass(instance_);
    HWND control = ::CreateWindowExA(0, className, row.text, WS_CHILD | WS_VISIBLE | row.style,
                                     row.left, row.top, row.width, row.height, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                                     instance_, nullptr);
    if (!control) throw Failure("Cannot create the window's controls", ::GetLastError());
    const HGDIOBJ font = fonts[static_cast<int>(row.font)];
    ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (row.fitText) {
      const SIZE needed = win::TextExtent(control, font, row.text);
      if (needed.cx > row.width || needed.cy > row.height)
        ::SetWindowPos(control, nullptr, 0, 0, std::max<int>(needed.cx, row.width),
                       std::max<int>(needed.cy, row.height), SWP_NOMOVE | SWP_NOZORDER);
    }
  }

  // The label shows the directory list's folder from the moment the two are linked.
  DravLoc.Attach(::GetDlgItem(::GetDlgItem(Handle(), kIdPanel), kIdLocation));
  Directory.SetDirLabel(&DravLoc);
}

LRESULT TfrmMain::ColourStatic(HDC dc, HWND control) {
  const ControlLayout* row = LayoutOf(::GetDlgCtrlID(control));
  const COLORREF colour =
      row && row->colour != kWindowText ? row->colour : ::GetSysColor(COLOR_WINDOWTEXT);
  ::SetTextColor(dc, colour);
  ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT TfrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateControls();
      return 0;
    case DM_GETDEFID:
      // Enter clicks Update wherever the focus is.
      return MAKELRESULT(kIdFolderButton, DC_HASDEFID);
    case WM_COMMAND:
      if (LOWORD(wParam) == kIdFolderButton && HIWORD(wParam) == BN_CLICKED) btnFolderClick();
      return 0;
    case WM_CTLCOLORSTATIC:
      return ColourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_QUERYOPEN:
      // Restoring from the icon of a minimised start is the window's first showing.
      if (showPending_) {
        Showing();
        ::PostMessageA(Handle(), WM_NEXTDLGCTL,
                       reinterpret_cast<WPARAM>(::GetDlgItem(Handle(), kIdFolderButton)), TRUE);
      }
      return TRUE;
    case WM_SIZE:
      // Brought up from the icon some other way than a restore (maximised).
      if (showPending_ && (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED)) Showing();
      return ::DefWindowProcA(Handle(), message, wParam, lParam);
    case WM_CLOSE:
      Close();
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcA(Handle(), message, wParam, lParam);
  }
}

void TfrmMain::FormCreate() {
  devices.Fill();
  AutoDetectLocation(DravLoc, IniStore);
  if (!ReadStoredLocation(DravLoc, IniStore, Directory)) return;
  const char* commandLine = ::GetCommandLineA();
  const std::string first = StripCommas(ArgumentAt(commandLine, 1));
  const std::string device = StripCommas(ArgumentAt(commandLine, 2));
  const std::string third = StripCommas(ArgumentAt(commandLine, 3));
  RewriteSettings(first, device, third);
}

void TfrmMain::FormShow() {
  StartProgrammer(DravLoc.Caption(), RunApp);
}

void TfrmMain::RunAppCompleted() {
  Close();
}

void TfrmMain::btnFolderClick() {
  StoreLocation(DravLoc, IniStore);
}

std::string TfrmMain::StripCommas(std::string_view text) {
  return dravlink::StripCommas(text);
}

void TfrmMain::RewriteSettings(const std::string& first, const std::string& device,
                               const std::string& third) {
  RewriteSettingsFiles(DravLoc.Caption(), devices, {first, device, third});
}

}  // namespace dravlink
