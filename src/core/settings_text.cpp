#include "core/settings_text.h"

#include <array>
#include <utility>

#include "core/line_reader.h"

namespace dravlink {
namespace {

// Bytes that would end a line, or the whole input, when the file is read back.
bool BreaksLine(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\x1a", 3)) != std::string_view::npos;
}

struct TemplateLine {
  int line;  // 1-based output line
  std::string text;
};

}  // namespace

std::string ArgumentsProblem(const RewriteArguments& args) {
  const std::array<const std::string*, 3> inOrder = {&args.first, &args.device, &args.third};
  for (std::size_t i = 0; i < inOrder.size(); ++i) {
    if (BreaksLine(*inOrder[i])) {
      return "Argument " + std::to_string(i + 1) +
             " contains a line break or end-of-file character and cannot be written to the "
             "settings file";
    }
  }
  return {};
}

std::string DriveOfPath(std::string_view pathWithBackslash) {
  const std::string_view path = pathWithBackslash;
  if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
  if (path.starts_with("\\\\")) {
    // \\server\share: stop at the backslash after the share name.
    const std::size_t afterServer = path.find('\\', 2);
    if (afterServer != std::string_view::npos) {
      const std::size_t afterShare = path.find('\\', afterServer + 1);
      if (afterShare != std::string_view::npos) return std::string(path.substr(0, afterShare));
    }
    std::string_view whole = path;
    if (whole.ends_with('\\')) whole.remove_suffix(1);
    return std::string(whole);
  }
  return {};
}

std::vector<std::string> RewriteLines(std::string_view settingsBytes, const DeviceTable& table,
                                      const RewriteArguments& args, std::string_view drive) {
  const DeviceSizes sizes = table.Lookup(args.device);

  // Output line, its text; every other line of 1..84 is the input line of the same number.
  const std::array<TemplateLine, 11> replaced = {{
      {4, " 1"},
      {5, args.third},
      {6, " 2338 Input size  0"},
      {8, args.first},
      {21, args.first},
      {22, " " + sizes.InputSize + " Input Size  4"},
      {23, " " + sizes.CommandSize + " Command Size  4"},
      {81, "PIC" + args.device},
      {82, " " + sizes.CommandSize},
      {83, " " + sizes.InputSize},
      {84, " 0"},
  }};

  std::vector<std::string> lines;
  lines.reserve(kTemplateLines + kDriveLines);
  LineReader reader(settingsBytes);
  std::size_t next = 0;
  for (int n = 1; n <= kTemplateLines; ++n) {
    // Each of the first 84 input lines is read exactly once, even the ones the template drops.
    std::string input = reader.ReadLine();
    if (next < replaced.size() && replaced[next].line == n) {
      lines.push_back(replaced[next++].text);
    } else {
      lines.push_back(std::move(input));
    }
  }

  int copied = 0;
  while (!reader.AtEnd()) {
    lines.push_back(reader.ReadLine());
    ++copied;
  }

  // Fewer than five lines after the template means the drive tail is missing: supply it.
  if (copied < kMinCopiedLines) lines.insert(lines.end(), kDriveLines, std::string(drive));
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace dravlink
