#pragma once

#include "win/directory_list.h"
#include "win/ini_store.h"
#include "win/label.h"

namespace dravlink {

inline constexpr char kIniFileName[] = "dravlink.ini";
inline constexpr char kIniSection[] = "DravLink";
inline constexpr char kIniKey[] = "Location";
inline constexpr char kProgrammerFileName[] = "DravProg.exe";

// Writes the location shown in `dravLoc` to the ini file.
void StoreLocation(const win::Label& dravLoc, win::IniStore& iniStore);

// When the programmer program lies in the current directory, the program was started from the
// toolkit folder: the executable's folder (with its trailing backslash) becomes the location and
// is stored.
void AutoDetectLocation(win::Label& dravLoc, win::IniStore& iniStore);

// With an ini file in the current directory, the stored location is read into `dravLoc` and
// `directory` moves there. Returns false, changing nothing, when there is no such file: the
// program was not started from its own folder, so nothing else may be done this run.
bool ReadStoredLocation(win::Label& dravLoc, win::IniStore& iniStore,
                        win::DirectoryList& directory);

}  // namespace dravlink
