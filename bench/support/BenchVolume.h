#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "support/ScratchNtfs.h"

namespace benchmark {
class State;
}

namespace vonq::bench {

// One scratch NTFS volume for a benchmark, with the two things every engine
// benchmark measures on it: the engine running chosen operations to their
// end, and dd writing the volume's free space as the reference. Called from
// the benchmark's main thread only; needs root, /dev/fuse, mkntfs, ntfs-3g.
class BenchVolume {
 public:
  // What one timed run did.
  struct Timed {
    std::uint64_t bytes = 0;
    double seconds = 0;
    bool ok = false;
    double bytesPerSecond() const { return seconds > 0 ? static_cast<double>(bytes) / seconds : 0; }
  };

  // Makes and mounts a volume of `bytes`, then gives the sparse image its
  // blocks on the host with one unmeasured fill (whoever writes first would
  // otherwise also pay for the host's allocation). error() says what failed.
  explicit BenchVolume(std::uint64_t bytes);

  bool ok() const { return volume_->ok(); }
  // ok(); otherwise `state` is skipped with the reason.
  bool readyFor(benchmark::State& state) const;
  const std::string& error() const { return volume_->error(); }
  vonq::test::ScratchNtfs& scratch() { return *volume_; }

  // All free bytes of the volume now (statvfs f_bfree × f_frsize).
  std::uint64_t freeBytes() const;

  // Runs the engine with the operations whose bit is set in `operations`
  // (bit i = DiskWiper::Operation i) to its end, in this process. `bytes` is
  // the free space at the start; ok when the run ended complete.
  Timed runEngine(unsigned operations);

  // dd from /dev/zero into a file in the volume's root with 10 MiB blocks and
  // direct I/O (`extraFlags` appended to oflag, e.g. ",dsync"), until the
  // volume is full or `count` blocks (0: no limit) are written; the file is
  // deleted afterwards and is not part of the time. `bytes` is what dd
  // wrote; ok when it ended for one of those two reasons.
  Timed ddFill(std::uint64_t blockBytes, std::uint64_t count, const std::string& extraFlags);

  // A benchmark program's main: checks that scratch volumes can be made
  // (else says why on stderr, naming `program`, and returns 1), points the
  // deletion journal at a temporary folder, runs the benchmarks `argv`
  // selects, then `summary`. Returns the exit status.
  static int runBenchmarks(int argc, char** argv, const char* program, void (*summary)());

 private:
  std::unique_ptr<vonq::test::ScratchNtfs> volume_;
};

}  // namespace vonq::bench
