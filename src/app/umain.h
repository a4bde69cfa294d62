#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "win/directory_list.h"
#include "win/ini_store.h"
#include "win/label.h"
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

  // Builds the window and its controls, then runs FormCreate behind the error box.
  void Create();
  void Show(int showCommand);

  // Event handlers.
  void FormCreate();
  void btnFolderClick();

  // The window's own operations.
  static std::string StripCommas(std::string_view text);
  void RewriteSettings(const std::string& first, const std::string& device,
                       const std::string& third);

  static const char* ErrorCaption() { return kApplicationTitle; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void CreateControls();
  LRESULT ColourStatic(HDC dc, HWND control);

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
};

}  // namespace dravlink
