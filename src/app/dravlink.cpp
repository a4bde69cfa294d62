// dravlink: after a build, the IDE starts this program with three arguments; it rewrites the
// programmer toolkit's settings for the device just built and shows the toolkit folder.
#include <windows.h>

#include "app/umain.h"
#include "win/error_box.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  using namespace dravlink;
  // The barrier for anything that fails outside a window message; the exit code stays 0.
  win::Dispatch(nullptr, kApplicationTitle, [&] {
    TfrmMain frmMain(instance);
    frmMain.Create();
    frmMain.Show(showCommand);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (::IsDialogMessageA(frmMain.Handle(), &msg)) continue;
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  });
  return 0;
}
