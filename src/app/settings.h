#pragma once

#include <string>

#include "core/devices.h"
#include "core/settings_text.h"

namespace dravlink {

inline constexpr char kSettingsFileName[] = "dravsettings.txt";
inline constexpr char kCopyFileName[] = "dravsettings1.txt";

// Rewrites the toolkit's settings file in the folder `location` for the device and file the IDE
// named, and writes the same text to the copy beside it. The first failure ends it and is
// raised; nothing written before it is undone.
void RewriteSettingsFiles(const std::string& location, const DeviceTable& devices,
                          const RewriteArguments& args);

}  // namespace dravlink
