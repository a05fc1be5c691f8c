// The cost of overwriting old names in folder index slack, on a volume of
// 20,000 live files in 200 folders that each lost every fifth entry and
// their last three (so every folder's index holds old names):
//   - the index pass alone (the last part of the file-name operation), with
//     the audit's count of old names before and after and the folders it
//     filled;
//   - all five operations on a second volume seeded the same way, the whole
//     run the pass is part of.
// Needs root, /dev/fuse, mkntfs and ntfs-3g. Prints both times at the end.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "file/wiper/ntfs/TraceAudit.h"
#include "file/wiper/win/DiskWiper.h"
#include "file/wiper/win/EngineOperation.h"
#include "file/wiper/win/IndexSlackWipe.h"
#include "support/BenchVolume.h"

namespace {

using s::file::wiper::ntfs::TraceAudit;
using s::file::wiper::win::DiskWiper;
using vonq::bench::BenchVolume;

constexpr std::uint64_t kVolume = 512ull << 20;
constexpr int kFolders = 200;
constexpr int kFilesPerFolder = 100;
constexpr unsigned kAllFive = (1u << DiskWiper::kCount) - 1;

struct Figures {
  double passSeconds = 0;
  double wholeRunSeconds = 0;
  std::uint64_t oldNamesBefore = 0;
  std::uint64_t oldNamesAfter = 0;
  std::uint64_t foldersFilled = 0;
  std::uint64_t foldersSkipped = 0;
  std::uint64_t filesMade = 0;
  bool passDone = false;
  bool runComplete = false;
} figures;

void seed(BenchVolume& volume) {
  auto& scratch = volume.scratch();
  for (int f = 0; f < kFolders; ++f) {
    const std::string folder = "folder-" + std::to_string(f) + "/";
    std::filesystem::create_directories(scratch.path(folder));
    for (int i = 0; i < kFilesPerFolder; ++i) {
      std::ofstream(
          scratch.path(folder + "a-document-of-the-user-" + std::to_string(1000 + i) + ".txt"))
          << "live " << i;
    }
  }
  ::sync();
  for (int f = 0; f < kFolders; ++f) {
    for (int i = 0; i < kFilesPerFolder; ++i) {
      if (i % 5 != 0 && i < kFilesPerFolder - 3) continue;
      std::filesystem::remove(scratch.path("folder-" + std::to_string(f) +
                                           "/a-document-of-the-user-" + std::to_string(1000 + i) +
                                           ".txt"));
    }
  }
}

void BM_IndexPass(benchmark::State& state) {
  BenchVolume volume(kVolume);
  if (!volume.readyFor(state)) return;
  seed(volume);
  const std::u16string& root = volume.scratch().root();
  figures.oldNamesBefore = TraceAudit(0, nullptr, false).run(root).slackNames;
  for (auto _ : state) {
    std::atomic<float> progress{0.0f};
    std::atomic<std::uint8_t> skip{0};
    s::file::wiper::win::EngineOperation op(root, progress, skip);
    const auto start = std::chrono::steady_clock::now();
    figures.passDone = s::file::wiper::win::IndexSlackWipe(op, 0.0f, 1.0f).run() ==
                       s::file::wiper::Shortfall::None;
    figures.passSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(figures.passSeconds);
    figures.foldersFilled = op.report().foldersFilled;
    figures.foldersSkipped = op.report().foldersSkipped;
    figures.filesMade = op.report().filesMade;
  }
  figures.oldNamesAfter = TraceAudit(0, nullptr, false).run(root).slackNames;
}

void BM_WholeRun(benchmark::State& state) {
  BenchVolume volume(kVolume);
  if (!volume.readyFor(state)) return;
  seed(volume);
  for (auto _ : state) {
    const BenchVolume::Timed run = volume.runEngine(kAllFive);
    figures.wholeRunSeconds = run.seconds;
    figures.runComplete = run.ok;
    state.SetIterationTime(run.seconds);
  }
}

BENCHMARK(BM_IndexPass)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeRun)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void printSummary() {
  std::printf("\n%d live files in %d folders, 512 MiB volume\n", kFolders * kFilesPerFolder,
              kFolders);
  std::printf("old names in index slack: %llu before the pass, %llu after\n",
              static_cast<unsigned long long>(figures.oldNamesBefore),
              static_cast<unsigned long long>(figures.oldNamesAfter));
  std::printf("index pass: %.2f s (%s), %llu folders filled, %llu skipped, %llu files made\n",
              figures.passSeconds, figures.passDone ? "done" : "NOT DONE",
              static_cast<unsigned long long>(figures.foldersFilled),
              static_cast<unsigned long long>(figures.foldersSkipped),
              static_cast<unsigned long long>(figures.filesMade));
  std::printf(
      "all five operations: %.2f s (%s); the pass is %.1f %% of it\n", figures.wholeRunSeconds,
      figures.runComplete ? "complete" : "NOT COMPLETE",
      figures.wholeRunSeconds > 0 ? 100.0 * figures.passSeconds / figures.wholeRunSeconds : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  return vonq::bench::BenchVolume::runBenchmarks(argc, argv, "bench_indexslack", printSummary);
}
