#include "app/location.h"

#include "win/files.h"
#include "win/module_path.h"

namespace dravlink {

void StoreLocation(const win::Label& dravLoc, win::IniStore& iniStore) {
  win::IniSession session(iniStore);
  iniStore.WriteString(kIniSection, kIniKey, dravLoc.Caption());
}

void AutoDetectLocation(win::Label& dravLoc, win::IniStore& iniStore) {
  if (!win::FileExists(kProgrammerFileName)) return;
  dravLoc.SetCaption(win::FolderOf(win::ExePath()));
  StoreLocation(dravLoc, iniStore);
}

bool ReadStoredLocation(win::Label& dravLoc, win::IniStore& iniStore,
                        win::DirectoryList& directory) {
  // Looked for by its bare name, so in the current directory, not beside the executable.
  if (!win::FileExists(iniStore.IniFileName())) return false;
  win::IniSession session(iniStore);
  dravLoc.SetCaption(iniStore.ReadString(kIniSection, kIniKey, ""));
  directory.SetDirectory(dravLoc.Caption());
  return true;
}

}  // namespace dravlink
