// The rewrite on arbitrary settings files and arguments.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/line_reader.h"
#include "core/settings_text.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool BreaksLine(const std::string& text) {
  return text.find_first_of(std::string("\r\n\x1a", 3)) != std::string::npos;
}

const dravlink::DeviceTable& Table() {
  static const dravlink::DeviceTable table = [] {
    dravlink::DeviceTable filled;
    filled.Fill();
    return filled;
  }();
  return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  dravlink::RewriteArguments args;
  args.first = provider.ConsumeRandomLengthString(64);
  args.device = provider.PickValueInArray({"16F877", "16F627", "18F452", ""}) +
                provider.ConsumeRandomLengthString(8);
  args.third = provider.ConsumeRandomLengthString(64);
  const std::string drive = provider.ConsumeRandomLengthString(16);
  const std::string settings = provider.ConsumeRemainingBytesAsString();

  const std::vector<std::string> lines = dravlink::RewriteLines(settings, Table(), args, drive);

  // Lines after the template are the input's lines after line 84, each as the reader gives it.
  dravlink::LineReader reader(settings);
  for (int n = 0; n < dravlink::kTemplateLines; ++n) reader.ReadLine();
  std::vector<std::string> rest;
  while (!reader.AtEnd()) rest.push_back(reader.ReadLine());
  const bool tail = rest.size() < static_cast<std::size_t>(dravlink::kMinCopiedLines);
  Check(lines.size() ==
        dravlink::kTemplateLines + rest.size() + (tail ? dravlink::kDriveLines : 0));
  for (std::size_t i = 0; i < rest.size(); ++i)
    Check(lines[dravlink::kTemplateLines + i] == rest[i]);
  if (tail) Check(lines.back() == drive);
  Check(lines[83] == " 0");
  Check(lines[80] == "PIC" + args.device);

  // Lines from the input never hold a line end or Ctrl-Z, so when the arguments and the drive
  // hold none either, the saved file reads back as the same lines, and rewriting it again with
  // the same arguments changes nothing (its tail, if any, now counts as copied lines).
  if (!dravlink::ArgumentsProblem(args).empty() || BreaksLine(drive)) return 0;
  const std::string saved = dravlink::JoinLines(lines);
  dravlink::LineReader back(saved);
  std::vector<std::string> reread;
  while (!back.AtEnd()) reread.push_back(back.ReadLine());
  Check(reread == lines);
  Check(dravlink::RewriteLines(saved, Table(), args, drive) == lines);
  return 0;
}
