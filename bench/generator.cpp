// The pseudorandom fill against the disk it feeds: generating one
// 10,567,680-byte chunk and writing that chunk with direct I/O to a scratch
// NTFS volume, measured in the same run. The generator must cost at most a
// quarter of the write.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "file/wiper/Random.h"
#include "os/FileSystem.h"
#include "support/ScratchNtfs.h"

namespace {

constexpr std::uint32_t kChunk = 10567680;

struct Shared {
  void* buffer = nullptr;
  std::unique_ptr<vonq::test::ScratchNtfs> volume;
  std::unique_ptr<s::os::File> file;
  std::string skipReason;
};

Shared& shared() {
  static Shared instance;
  return instance;
}

void BM_GenerateChunk(benchmark::State& state) {
  for (auto _ : state) {
    s::file::wiper::Random::fillRandom(kChunk, shared().buffer);
    benchmark::DoNotOptimize(shared().buffer);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kChunk);
}

void BM_WriteChunkDirect(benchmark::State& state) {
  Shared& s = shared();
  if (!s.file) {
    state.SkipWithError(s.skipReason.c_str());
    return;
  }
  for (auto _ : state) {
    std::size_t done = 0;
    if (!s.file->seek(0) || !s.file->write(s.buffer, kChunk, done) || done != kChunk) {
      state.SkipWithError("write failed");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kChunk);
  state.counters["direct"] = s.file->isUnbuffered() ? 1 : 0;
}

BENCHMARK(BM_GenerateChunk)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_WriteChunkDirect)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Keeps the real time per iteration of each benchmark for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> perIteration;  // real time
  std::map<std::string, double> cpuPerIteration;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (!run.error_occurred && run.iterations > 0) {
        perIteration[run.run_name.function_name] = run.GetAdjustedRealTime();
        cpuPerIteration[run.run_name.function_name] = run.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

void prepareVolume(Shared& s) {
  std::string reason;
  if (!vonq::test::ScratchNtfs::capable(reason)) {
    s.skipReason = "no scratch NTFS volume: " + reason;
    return;
  }
  vonq::test::ScratchNtfs::Options options;
  options.sizeBytes = 128ull << 20;
  s.volume = std::make_unique<vonq::test::ScratchNtfs>(options);
  if (!s.volume->ok()) {
    s.skipReason = "scratch volume failed: " + s.volume->error();
    return;
  }
  const std::string path = s.volume->path("chunk.bin");
  s::os::OpenMode mode = s::os::OpenMode::make(s::os::OpenMode::Access::ReadWrite,
                                               s::os::OpenMode::Disposition::CreateAlways);
  mode.unbuffered = true;
  s.file = s::os::fileSystem().openFile(std::u16string(path.begin(), path.end()), mode);
  if (!s.file) s.skipReason = "cannot open " + path;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Shared& s = shared();
  s.buffer = s::os::fileSystem().allocatePages(kChunk);
  if (s.buffer == nullptr) return 1;
  s::file::wiper::Random::fillRandom(kChunk, s.buffer);
  prepareVolume(s);

  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  const auto generate = reporter.perIteration.find("BM_GenerateChunk");
  const auto write = reporter.perIteration.find("BM_WriteChunkDirect");
  if (generate != reporter.perIteration.end() && write != reporter.perIteration.end()) {
    const double ratio = generate->second / write->second;
    std::printf(
        "generate %.3f ms (cpu %.3f ms), direct write %.3f ms: generate/write = %.3f (limit "
        "0.25): %s\n",
        generate->second, reporter.cpuPerIteration["BM_GenerateChunk"], write->second, ratio,
        ratio <= 0.25 ? "ok" : "TOO SLOW");
  } else if (!s.skipReason.empty()) {
    std::printf("no ratio: %s\n", s.skipReason.c_str());
  }
  s.file.reset();
  s.volume.reset();
  s::os::fileSystem().freePages(s.buffer, kChunk);
  benchmark::Shutdown();
  return 0;
}
