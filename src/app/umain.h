#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "win/directory_list.h"
#include "win/ini_store.h"
#include "win/label.h"
#include "win/spawn_application.h"
#include "win/unique_handle.h"
#include "win/window.h"

namespace dravlink {

inline constexpr char kApplicationTitle[] = "Drav Link";

// Control identifiers; the test driver finds controls by them.
enum ControlId : int {
  kIdFolderButton = 100,  // btnFolder, "Update"
  kIdDirectory = 101,
  kIdDrive = 102,
  kIdPanel = 103,
  kIdLocation = 104,  // DravLoc, inside the panel
  kIdTitle = 105,
  kIdSubtitle = 106,
  kIdBevel = 107,
  kIdLocationCaption = 108,
  kIdCredit = 109,
};

// The program's one window.
class TfrmMain : public win::Window<TfrmMain> {
 public:
  explicit TfrmMain(HINSTANCE instance);
  ~TfrmMain();

  // Builds the window and its controls, then runs FormCreate behind the error box.
  void Create();
  // Shows the window the way the program itself was started (its show command): FormShow runs
  // just before the window first shows. Started minimised without activation, the window waits
  // as an icon and shows, running FormShow, when the user restores it.
  void Show(int showCommand);
  // Ends the program: the message loop stops, then the window is destroyed.
  void Close();

  // Event handlers.
  void FormCreate();
  void FormShow();
  void btnFolderClick();
  void RunAppCompleted();

  // The window's own operations.
  static std::string StripCommas(std::string_view text);
  void RewriteSettings(const std::string& first, const std::string& device,
                       const std::string& third);

  static const char* ErrorCaption() { return kApplicationTitle; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void CreateControls();
  LRESULT ColourStatic(HDC dc, HWND control);
  void Showing();

  bool showPending_ = false;  // started as an icon: FormShow waits for the first restore

  HINSTANCE instance_;
  win::UniqueGdiObject windowFont_;
  win::UniqueGdiObject titleFont_;
  win::UniqueGdiObject subtitleFont_;
  win::UniqueGdiObject boldFont_;
  win::UniqueGdiObject creditFont_;

  // Components the other parts of the program work with.
  win::Label DravLoc;
  win::DirectoryList Directory;
  win::IniStore IniStore;
  win::SpawnApplication RunApp;
};

}  // namespace dravlink
