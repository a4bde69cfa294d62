#include "app/settings.h"

#include "core/failure.h"
#include "win/files.h"
#include "win/module_path.h"

namespace dravlink {

void RewriteSettingsFiles(const std::string& location, const DeviceTable& devices,
                          const RewriteArguments& args) {
  if (const std::string problem = ArgumentsProblem(args); !problem.empty()) throw Failure(problem);

  // The location is used as it stands: a drive root gives two backslashes in a row.
  const std::string settingsPath = location + "\\" + kSettingsFileName;
  const std::string copyPath = location + "\\" + kCopyFileName;

  win::InputFile input(settingsPath);
  const std::string original = input.ReadAll();
  win::OutputFile copy(copyPath);

  const std::string text =
      JoinLines(RewriteLines(original, devices, args, DriveOfPath(win::ExePath() + "\\")));
  copy.Write(text);
  input.Close();

  win::SaveFileReplacing(settingsPath, text);
  copy.Close();
}

}  // namespace dravlink
