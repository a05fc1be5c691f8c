// The whole engine against dd filling the free space of the same volume
// (dd if=/dev/zero bs=10M oflag=direct until the volume is full, measured
// in the same run, its file deleted afterwards):
//   - the free-space fill alone on a 2 GiB volume: its throughput as a
//     fraction of dd's (target at least 0.95);
//   - the fill's fixed cost on a 64 MiB volume: its time less the time dd's
//     throughput on the 2 GiB volume needs for the same bytes (target at most
//     0.25 s);
//   - all five operations on a freshly seeded 256 MiB volume (40 live files,
//     300 deleted files, 3,000 deleted names): their time as a multiple of
//     dd's fill time of that volume (target at most 6), and each operation
//     alone on a volume seeded the same way.
// Needs root, /dev/fuse, mkntfs and ntfs-3g. Prints the ratios at the end.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "file/wiper/win/DiskWiper.h"
#include "support/BenchVolume.h"

namespace {

using s::file::wiper::win::DiskWiper;
using vonq::bench::BenchVolume;

constexpr std::uint64_t kLargeVolume = 2ull << 30;
constexpr std::uint64_t kSmallVolume = 64ull << 20;
constexpr std::uint64_t kSeededVolume = 256ull << 20;
constexpr std::uint64_t kDdBlock = 10ull << 20;
constexpr unsigned kAllFive = (1u << DiskWiper::kCount) - 1;

const char* const kOperationNames[] = {"recycle bin", "free space", "MFT free space",
                                       "cluster tips", "file names"};

// What the summary reports, by name.
std::map<std::string, BenchVolume::Timed> results;

void writeFile(const std::string& path, std::size_t bytes, char fill) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << std::string(bytes, fill);
}

// 40 live files from a few bytes to 2 MiB, 300 deleted files (resident,
// one cluster, up to 256 KiB) and 3,000 deleted names in 3 folders.
void seed(BenchVolume& volume) {
  auto& scratch = volume.scratch();
  for (int i = 0; i < 40; ++i) {
    const std::size_t sizes[] = {100, 3000, 70000, 2u << 20};
    writeFile(scratch.path("live/d" + std::to_string(i % 4) + "/f" + std::to_string(i)),
              sizes[i % 4] + 37 * i, 'l');
  }
  for (int i = 0; i < 300; ++i) {
    const std::size_t sizes[] = {200, 3500, 1000 + 850 * static_cast<std::size_t>(i)};
    writeFile(scratch.path("gone/g" + std::to_string(i)), sizes[i % 3], 'g');
  }
  for (int i = 0; i < 3000; ++i) {
    writeFile(scratch.path("names/n" + std::to_string(i % 3) + "/a-rather-distinctive-name-" +
                           std::to_string(i) + ".txt"),
              1, 'n');
  }
  ::sync();
  std::filesystem::remove_all(scratch.path("gone"));
  std::filesystem::remove_all(scratch.path("names"));
}

// Records one timed run as the benchmark's iteration and in the summary.
void record(benchmark::State& state, const std::string& name, const BenchVolume::Timed& timed) {
  if (!timed.ok) state.SkipWithError((name + " did not end complete").c_str());
  state.SetIterationTime(timed.seconds);
  state.counters["MiB"] = static_cast<double>(timed.bytes) / 1048576.0;
  state.counters["MiB_per_s"] = timed.bytesPerSecond() / 1048576.0;
  results[name] = timed;
}

void BM_LargeVolume(benchmark::State& state) {
  BenchVolume volume(kLargeVolume);
  if (!volume.readyFor(state)) return;
  for (auto _ : state) {
    // dd first and then the fill, all on the same blocks of the image. dd
    // with every write synced too, as the fill flushes every chunk: the two
    // references bracket how much of the gap is the flushing.
    results["dd 2 GiB"] = volume.ddFill(kDdBlock, 0, "");
    results["dd dsync 2 GiB"] = volume.ddFill(kDdBlock, 0, ",dsync");
    record(state, "free space 2 GiB", volume.runEngine(1u << DiskWiper::kDiskSpace));
  }
}

void BM_SmallVolume(benchmark::State& state) {
  BenchVolume volume(kSmallVolume);
  if (!volume.readyFor(state)) return;
  for (auto _ : state) {
    record(state, "free space 64 MiB", volume.runEngine(1u << DiskWiper::kDiskSpace));
  }
}

// state.range(0): the operations' bits.
void BM_SeededVolume(benchmark::State& state) {
  const unsigned operations = static_cast<unsigned>(state.range(0));
  BenchVolume volume(kSeededVolume);
  if (!volume.readyFor(state)) return;
  seed(volume);
  std::string name = "all five";
  for (int op = 0; op < DiskWiper::kCount; ++op) {
    if (operations == (1u << op)) name = kOperationNames[op];
  }
  for (auto _ : state) {
    if (operations == kAllFive) results["dd seeded 256 MiB"] = volume.ddFill(kDdBlock, 0, "");
    record(state, name + " seeded 256 MiB", volume.runEngine(operations));
  }
}

BENCHMARK(BM_LargeVolume)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmallVolume)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SeededVolume)
    ->Arg(kAllFive)
    ->Arg(1u << DiskWiper::kTrashBin)
    ->Arg(1u << DiskWiper::kDiskSpace)
    ->Arg(1u << DiskWiper::kMFTSpace)
    ->Arg(1u << DiskWiper::kCluterTips)
    ->Arg(1u << DiskWiper::kFileEntries)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Prints one ratio line with its target; false when the target is missed.
bool ratio(const char* what, double value, const char* unit, bool atMost, double target) {
  const bool met = atMost ? value <= target : value >= target;
  std::printf("%-52s %8.3f%s (target %s %.2f%s): %s\n", what, value, unit,
              atMost ? "<=" : ">=", target, unit, met ? "met" : "MISSED");
  return met;
}

void printSummary() {
  const auto& dd = results["dd 2 GiB"];
  const auto& fill = results["free space 2 GiB"];
  const auto& small = results["free space 64 MiB"];
  const auto& ddSeeded = results["dd seeded 256 MiB"];
  const auto& all = results["all five seeded 256 MiB"];
  std::printf("\ndd on 2 GiB: %.0f MiB in %.2f s, %.0f MiB/s\n", dd.bytes / 1048576.0, dd.seconds,
              dd.bytesPerSecond() / 1048576.0);
  if (dd.seconds > 0 && fill.seconds > 0) {
    ratio("free space 2 GiB, throughput / dd throughput",
          fill.bytesPerSecond() / dd.bytesPerSecond(), "", false, 0.95);
    const auto& synced = results["dd dsync 2 GiB"];
    std::printf("  (against dd with oflag=direct,dsync at %.0f MiB/s: %.2f)\n",
                synced.bytesPerSecond() / 1048576.0,
                fill.bytesPerSecond() / synced.bytesPerSecond());
  }
  if (dd.bytesPerSecond() > 0 && small.seconds > 0) {
    ratio("free space 64 MiB, fixed cost (time - bytes / dd)",
          small.seconds - static_cast<double>(small.bytes) / dd.bytesPerSecond(), " s", true, 0.25);
  }
  if (ddSeeded.seconds > 0 && all.seconds > 0) {
    std::printf("dd on the seeded 256 MiB volume: %.0f MiB in %.2f s\n", ddSeeded.bytes / 1048576.0,
                ddSeeded.seconds);
    ratio("all five, seeded 256 MiB, time / dd fill time", all.seconds / ddSeeded.seconds, "", true,
          6.0);
    for (const char* op : kOperationNames) {
      const auto& alone = results[std::string(op) + " seeded 256 MiB"];
      std::printf("  %-20s alone: %6.2f s = %5.2f x dd fill time%s\n", op, alone.seconds,
                  alone.seconds / ddSeeded.seconds, alone.ok ? "" : " (not complete)");
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  return vonq::bench::BenchVolume::runBenchmarks(argc, argv, "bench_fullrun", printSummary);
}
