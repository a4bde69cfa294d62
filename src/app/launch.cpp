#include "app/launch.h"

#include "win/files.h"

namespace dravlink {

std::string ProgrammerPath(const std::string& location) {
  return location + "\\DravProg.Exe";
}

void StartProgrammer(const std::string& location, win::SpawnApplication& runApp) {
  const std::string path = ProgrammerPath(location);
  if (!win::FileExists(path)) return;
  runApp.FileName = path;
  runApp.Spawn();  // a start that fails shows nothing and leads to no completion
}

}  // namespace dravlink
