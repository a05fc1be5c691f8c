// The drive wipe engine on one scratch NTFS volume, against a reference
// measured in the same run:
//   - free-space fill throughput, against dd writing the same amount with the
//     same flush behaviour (direct I/O, every write synced, 10 MiB blocks);
//   - the cluster-tip walk over 10,000 small files (files per second);
//   - the MFT free-space wipe (small files per second).
// Needs root, /dev/fuse, mkntfs and ntfs-3g. Prints the ratio at the end
// (fill throughput / dd throughput; near 1 means the fill runs at the
// device's pace).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "file/wiper/win/DiskWiper.h"
#include "os/FileSystemWrapper.h"
#include "support/BenchVolume.h"

namespace {

using s::file::wiper::win::DiskWiper;
using vonq::bench::BenchVolume;
using vonq::test::ScratchNtfs;

constexpr std::uint64_t kVolumeBytes = 4ull << 30;
constexpr int kTipFiles = 10000;
constexpr std::uint64_t kFillBuffer = 10567680;

BenchVolume* volume = nullptr;
double fillBytesPerSecond = 0;
double ddBytesPerSecond = 0;

// Runs one operation of an engine on the volume to its end; seconds taken.
double runOperation(int op) {
  return volume->runEngine(1u << op).seconds;
}

// Counts the MFT wipe's small files.
class CountingFileSystem : public s::os::FileSystemWrapper {
 public:
  CountingFileSystem() : FileSystemWrapper(s::os::platformFileSystem()) {}
  std::unique_ptr<s::os::File> openFile(std::u16string_view path,
                                        const s::os::OpenMode& mode) override {
    auto file = FileSystemWrapper::openFile(path, mode);
    // Small files are named XXXXXXXX.XXX; the index placeholders are longer.
    const std::size_t slash = path.rfind(u'/');
    const bool small = slash != std::u16string_view::npos && path.size() - slash - 1 == 12;
    if (file && mode.disposition == s::os::OpenMode::Disposition::CreateNew && small) ++created;
    return file;
  }
  std::atomic<std::uint64_t> created{0};
};

void BM_FreeSpaceFill(benchmark::State& state) {
  for (auto _ : state) {
    const BenchVolume::Timed fill = volume->runEngine(1u << DiskWiper::kDiskSpace);
    state.SetIterationTime(fill.seconds);
    fillBytesPerSecond = fill.bytesPerSecond();
    state.counters["bytes_per_second"] = fillBytesPerSecond;
  }
}

void BM_DdSameAmount(benchmark::State& state) {
  for (auto _ : state) {
    // The free space rounded down to whole fill buffers, every write synced.
    const BenchVolume::Timed dd =
        volume->ddFill(kFillBuffer, volume->freeBytes() / kFillBuffer, ",dsync");
    if (!dd.ok) state.SkipWithError("dd failed");
    state.SetIterationTime(dd.seconds);
    ddBytesPerSecond = dd.bytesPerSecond();
    state.counters["bytes_per_second"] = ddBytesPerSecond;
  }
}

void BM_ClusterTips(benchmark::State& state) {
  std::filesystem::create_directories(volume->scratch().path("tips"));
  for (int i = 0; i < kTipFiles; ++i) {
    std::ofstream(volume->scratch().path("tips/f" + std::to_string(i)), std::ios::binary)
        << std::string(5000 + (i % 3000), 'x');
  }
  for (auto _ : state) {
    const double seconds = runOperation(DiskWiper::kCluterTips);
    state.SetIterationTime(seconds);
    state.counters["files_per_second"] = kTipFiles / seconds;
  }
  std::filesystem::remove_all(volume->scratch().path("tips"));
}

void BM_MftSmallFiles(benchmark::State& state) {
  for (auto _ : state) {
    CountingFileSystem counting;
    s::os::FileSystem* previous = s::os::setFileSystem(&counting);
    const double seconds = runOperation(DiskWiper::kMFTSpace);
    s::os::setFileSystem(previous == &counting ? nullptr : previous);
    state.SetIterationTime(seconds);
    state.counters["files_created"] = static_cast<double>(counting.created.load());
    state.counters["files_per_second"] = static_cast<double>(counting.created.load()) / seconds;
  }
}

BENCHMARK(BM_FreeSpaceFill)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DdSameAmount)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClusterTips)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MftSmallFiles)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  std::string reason;
  if (!ScratchNtfs::capable(reason)) {
    std::fprintf(stderr, "bench_engine: %s\n", reason.c_str());
    return 1;
  }
  char state[] = "/tmp/vonq-bench-state-XXXXXX";
  if (::mkdtemp(state) != nullptr) ::setenv("XDG_STATE_HOME", state, 1);
  BenchVolume scratch(kVolumeBytes);
  if (!scratch.ok()) {
    std::fprintf(stderr, "bench_engine: %s\n", scratch.error().c_str());
    return 1;
  }
  volume = &scratch;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (ddBytesPerSecond > 0) {
    std::printf("free-space fill / dd throughput: %.2f (%.0f MiB/s against %.0f MiB/s)\n",
                fillBytesPerSecond / ddBytesPerSecond, fillBytesPerSecond / 1048576.0,
                ddBytesPerSecond / 1048576.0);
  }
  std::filesystem::remove_all(state);
  return 0;
}
