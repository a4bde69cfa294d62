#pragma once

#include <string>

#include "win/spawn_application.h"

namespace dravlink {

// The programmer program in the toolkit folder: the location text followed by "\DravProg.Exe",
// with no separator added or removed (a drive root gives two backslashes in a row).
std::string ProgrammerPath(const std::string& location);

// Starts the programmer program of `location` through `runApp` when there is a file of that
// name; otherwise, or for a folder of that name, nothing is started and nothing is shown.
void StartProgrammer(const std::string& location, win::SpawnApplication& runApp);

}  // namespace dravlink
