#include "support/BenchVolume.h"

#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "file/wiper/win/DiskWiper.h"

namespace vonq::bench {

namespace {

using s::file::wiper::win::DiskWiper;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

BenchVolume::BenchVolume(std::uint64_t bytes) {
  vonq::test::ScratchNtfs::Options options;
  options.sizeBytes = bytes;
  volume_ = std::make_unique<vonq::test::ScratchNtfs>(options);
  if (ok()) ddFill(10u << 20, 0, "");
}

std::uint64_t BenchVolume::freeBytes() const {
  struct statvfs sv {};
  if (::statvfs(volume_->mountPoint().c_str(), &sv) != 0) return 0;
  return static_cast<std::uint64_t>(sv.f_bfree) * sv.f_frsize;
}

BenchVolume::Timed BenchVolume::runEngine(unsigned operations) {
  Timed timed;
  timed.bytes = freeBytes();
  DiskWiper* engine = DiskWiper::create();
  engine->init();
  engine->setDrive(volume_->root().c_str());
  engine->setProcessTrashBin((operations & (1u << DiskWiper::kTrashBin)) != 0);
  engine->setProcessDiskSpace((operations & (1u << DiskWiper::kDiskSpace)) != 0);
  engine->setProcessMFTSpace((operations & (1u << DiskWiper::kMFTSpace)) != 0);
  engine->setProcessCluterTips((operations & (1u << DiskWiper::kCluterTips)) != 0);
  engine->setProcessFileEntries((operations & (1u << DiskWiper::kFileEntries)) != 0);
  const auto start = Clock::now();
  engine->start();
  while (engine->isRunning()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  timed.seconds = secondsSince(start);
  timed.ok = engine->outcome() == DiskWiper::Outcome::Complete;
  engine->release();
  return timed;
}

BenchVolume::Timed BenchVolume::ddFill(std::uint64_t blockBytes, std::uint64_t count,
                                       const std::string& extraFlags) {
  const std::string target = volume_->path("dd.out");
  std::string command = "dd if=/dev/zero of=" + target + " bs=" + std::to_string(blockBytes) +
                        " oflag=direct" + extraFlags + " status=none";
  if (count > 0) command += " count=" + std::to_string(count);
  // Without a count dd ends on a full volume, which is how it should end.
  command += count > 0 ? "" : " 2>/dev/null";
  Timed timed;
  const auto start = Clock::now();
  const int rc = std::system(command.c_str());
  timed.seconds = secondsSince(start);
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) timed.bytes = static_cast<std::uint64_t>(st.st_size);
  std::error_code ignored;
  std::filesystem::remove(target, ignored);
  timed.ok = count > 0 ? rc == 0 : timed.bytes > 0;
  return timed;
}

bool BenchVolume::readyFor(benchmark::State& state) const {
  if (ok()) return true;
  state.SkipWithError(error().c_str());
  return false;
}

int BenchVolume::runBenchmarks(int argc, char** argv, const char* program, void (*summary)()) {
  std::string reason;
  if (!vonq::test::ScratchNtfs::capable(reason)) {
    std::fprintf(stderr, "%s: %s\n", program, reason.c_str());
    return 1;
  }
  char state[] = "/tmp/vonq-bench-state-XXXXXX";
  if (::mkdtemp(state) != nullptr) ::setenv("XDG_STATE_HOME", state, 1);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  summary();
  std::filesystem::remove_all(state);
  return 0;
}

}  // namespace vonq::bench
