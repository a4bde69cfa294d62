// The core's throughput on large inputs, each next to a baseline doing the least work possible on
// the same bytes. Only the ratio of a pair is worth comparing between runs: the machines that run
// this are shared, so absolute figures move with the load.
//
//   Rewrite/N    RewriteLines + JoinLines on an N-byte settings file (CR LF lines)
//   Baseline/N   a copy of the same bytes and one pass counting their line ends
//   ArgumentAt   the last argument of a 32 KB command line (every byte is scanned)
//   ArgumentCopy a copy of the same command line
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/command_line.h"
#include "core/devices.h"
#include "core/settings_text.h"

namespace dravlink {
namespace {

constexpr std::size_t kCommandLineBytes = 32 * 1024;

// Lines like a settings file's: short keys and values of varying length, each ended by CR LF.
// The same bytes for every size, so the sizes differ only in how many lines there are.
std::string SettingsBytes(std::size_t size) {
  std::string bytes;
  bytes.reserve(size + 64);
  for (std::size_t line = 0; bytes.size() < size; ++line) {
    bytes += "Setting ";
    bytes += std::to_string(line);
    bytes += " = ";
    bytes.append(line * 7 % 41, static_cast<char>('a' + line % 26));
    bytes += "\r\n";
  }
  return bytes;
}

// Program name, then plain words, quoted groups with spaces and tabs between them, until the
// line is `size` bytes long. Returns the line and the position of its last argument.
std::pair<std::string, int> LongCommandLine(std::size_t size) {
  std::string line = "\"C:\\Program Files\\Drav\\dravlink.exe\"";
  int position = 0;
  while (line.size() < size) {
    line += position % 3 == 0 ? "\t" : " ";
    if (position % 4 == 1) {
      line += "\"C:\\My Projects\\motor " + std::to_string(position) + "\\motor.hex\"";
    } else {
      line += "16F877A," + std::to_string(position);
    }
    ++position;
  }
  return {line, position};
}

const DeviceTable& Devices() {
  static const DeviceTable table = [] {
    DeviceTable filled;
    filled.Fill();
    return filled;
  }();
  return table;
}

void Rewrite(benchmark::State& state) {
  const std::string bytes = SettingsBytes(static_cast<std::size_t>(state.range(0)));
  const RewriteArguments args{"C:\\My Projects\\motor\\motor.hex", "16F877", "motor"};
  for (auto _ : state) {
    std::string out = JoinLines(RewriteLines(bytes, Devices(), args, "C:"));
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void Baseline(benchmark::State& state) {
  const std::string bytes = SettingsBytes(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::string out = bytes;
    benchmark::DoNotOptimize(out.data());
    auto lineEnds = std::count(out.begin(), out.end(), '\n');
    benchmark::DoNotOptimize(lineEnds);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void ArgumentAtLast(benchmark::State& state) {
  const auto [line, last] = LongCommandLine(kCommandLineBytes);
  for (auto _ : state) {
    std::string argument = ArgumentAt(line, last);
    benchmark::DoNotOptimize(argument.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
}

void ArgumentCopy(benchmark::State& state) {
  const std::string line = LongCommandLine(kCommandLineBytes).first;
  for (auto _ : state) {
    std::string copy = line;
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
}

constexpr std::int64_t kSizes[] = {10 * 1024, 1024 * 1024, 32 * 1024 * 1024};

void SizeArgs(benchmark::internal::Benchmark* bench) {
  for (std::int64_t size : kSizes) bench->Arg(size);
}

BENCHMARK(Rewrite)->Apply(SizeArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK(Baseline)->Apply(SizeArgs)->Unit(benchmark::kMicrosecond);
BENCHMARK(ArgumentAtLast)->Name("ArgumentAt")->Unit(benchmark::kMicrosecond);
BENCHMARK(ArgumentCopy)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace dravlink

BENCHMARK_MAIN();
