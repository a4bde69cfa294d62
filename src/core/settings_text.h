#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/devices.h"

namespace dravlink {

// Lines 1..84 of the output always come from the template; this many copied lines after them
// are enough to skip the drive tail.
constexpr int kTemplateLines = 84;
constexpr int kMinCopiedLines = 5;
constexpr int kDriveLines = 23;

struct RewriteArguments {
  std::string first;   // command-line argument 1, commas stripped
  std::string device;  // argument 2: device name without "PIC"
  std::string third;   // argument 3
};

// Empty when the arguments can be written into the settings file; otherwise the message that
// refuses them. A CR, LF or Ctrl-Z inside an argument would split a line of the file or cut it
// short (and cut the next run's read short), so such an argument is never written.
std::string ArgumentsProblem(const RewriteArguments& args);

// The drive part of `pathWithBackslash` (the executable's path with a backslash appended):
// "C:" for a drive path, "\\server\share" for a network path, empty otherwise.
std::string DriveOfPath(std::string_view pathWithBackslash);

// The whole output of the rewrite for the settings file's bytes: lines 1..84 by the template,
// every input line after 84 unchanged, then 23 lines of `drive` when fewer than 5 were copied.
std::vector<std::string> RewriteLines(std::string_view settingsBytes, const DeviceTable& table,
                                      const RewriteArguments& args, std::string_view drive);

// The lines as a file holds them: each followed by CR LF, the last one included.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace dravlink
