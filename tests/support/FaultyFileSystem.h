#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "os/FileSystem.h"
#include "os/FileSystemWrapper.h"

namespace vonq::test {

// Wraps a FileSystem and injects faults that real volumes give only rarely.
// Install it with s::os::setFileSystem(&faulty) (FaultyFileSystem::Installed
// does it for one scope). The switches may be flipped from any thread.
class FaultyFileSystem : public s::os::FileSystemWrapper {
 public:
  explicit FaultyFileSystem(s::os::FileSystem& target = s::os::platformFileSystem())
      : FileSystemWrapper(target) {}

  // After this many more bytes are written through files opened here, every
  // write (and growing set-end-of-file) fails with NoSpace; a write that
  // crosses the limit writes up to it. Negative: no limit.
  void failWritesAfter(std::int64_t bytes) { writeBudget_ = bytes; }
  // Every write and flush fails with Io (nothing is written).
  void failWritesWithIo(bool on) { writeIo_ = on; }
  // move() fails with AccessDenied and moves nothing.
  void failMoves(bool on) { failMoves_ = on; }
  // listVolumes, volumeOf, freeBytes and ntfsVolumeData fail (Other / 0 / empty).
  void failVolumeQueries(bool on) { failVolumes_ = on; }

  std::uint64_t bytesWritten() const { return written_; }

  std::unique_ptr<s::os::File> openFile(std::u16string_view path,
                                        const s::os::OpenMode& mode) override;
  bool move(std::u16string_view from, std::u16string_view to, bool replaceExisting) override;
  std::vector<s::os::VolumeInfo> listVolumes() override;
  bool volumeOf(std::u16string_view path, s::os::VolumeInfo& out) override;
  std::uint64_t freeBytes(std::u16string_view path) override;
  bool ntfsVolumeData(std::u16string_view root, s::os::NtfsVolumeData& out) override;

  // Installs the wrapper as the process-wide FileSystem for its lifetime.
  class Installed {
   public:
    explicit Installed(FaultyFileSystem& faulty) : previous_(s::os::setFileSystem(&faulty)) {}
    ~Installed() { s::os::setFileSystem(previous_); }
    Installed(const Installed&) = delete;
    Installed& operator=(const Installed&) = delete;

   private:
    s::os::FileSystem* previous_;
  };

  // Called by the files it opened: how many of `count` bytes may be written,
  // or -1 when the write must fail with Io.
  std::int64_t admit(std::size_t count);
  void wrote(std::size_t count) { written_ += count; }
  bool ioFailing() const { return writeIo_; }

 private:
  std::atomic<std::int64_t> writeBudget_{-1};
  std::atomic<bool> writeIo_{false};
  std::atomic<bool> failMoves_{false};
  std::atomic<bool> failVolumes_{false};
  std::atomic<std::uint64_t> written_{0};
};

}  // namespace vonq::test
