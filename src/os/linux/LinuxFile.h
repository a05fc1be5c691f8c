#pragma once

#include <cstddef>
#include <cstdint>

#include "os/File.h"
#include "os/linux/UniqueFd.h"

namespace s::os::linux_fs {

// A file opened by LinuxFileSystem. Reads and writes go to the kept position
// with pread/pwrite. On a direct-I/O descriptor, requests that are not
// aligned to kDirectAlignment are done through the cache and synced at once.
class LinuxFile final : public File {
 public:
  static constexpr std::size_t kDirectAlignment = 4096;

  // Takes `fd`. `direct`: O_DIRECT is in effect; `syncWrites`: every write
  // is followed by fdatasync (a refused direct open).
  LinuxFile(UniqueFd fd, bool direct, bool syncWrites);
  ~LinuxFile() override;

  bool read(void* buffer, std::size_t count, std::size_t& done) override;
  bool write(const void* data, std::size_t count, std::size_t& done) override;
  bool seek(std::uint64_t position) override;
  std::uint64_t position() const override { return position_; }
  bool size(std::uint64_t& out) override;
  bool setEndOfFile(std::uint64_t length) override;
  bool setEndOfFileLazily(std::uint64_t length) override;
  bool reserve(std::uint64_t length, const std::atomic<std::uint8_t>* stop,
               std::uint64_t& reached) override;
  bool flush() override;
  bool getTimes(FileTimes& out) override;
  bool setTimes(const FileTimes& times) override;
  bool holdExclusive() override;
  bool exclusiveBroken() override;
  void releaseExclusive() override;
  bool isUnbuffered() const override { return direct_; }
  bool close() override;

  int fd() const { return fd_.get(); }

  // Takes a write lease on `fd` (lease breaks are announced with a signal
  // that is ignored, never the default SIGIO that would end the process).
  // Returns 0 or an errno value.
  static int takeLease(int fd);

 private:
  bool aligned(const void* p, std::size_t count, std::uint64_t offset) const;
  // Writes all `count` bytes at `offset`; `done` counts what was written.
  bool writeAt(const void* data, std::size_t count, std::uint64_t offset, std::size_t& done);
  // The same through the cache, synced before it returns.
  bool writeCached(const void* data, std::size_t count, std::uint64_t offset, std::size_t& done);
  bool setDirect(bool on);
  // Writes at `offset` however the request is aligned.
  void cutKeepingError(std::uint64_t length);
  bool writeUnaligned(const void* data, std::size_t count, std::uint64_t offset);
  // Writes zeros over [from, to), testing `stop` (may be null) between
  // chunks. `reached` receives the end of what was written whole; the file
  // may be longer on failure (the caller cuts it).
  bool growByWriting(std::uint64_t from, std::uint64_t to, const std::atomic<std::uint8_t>* stop,
                     std::uint64_t& reached);
  bool fail(int error);

  UniqueFd fd_;
  std::uint64_t position_ = 0;
  bool direct_;
  bool syncWrites_;
  bool leased_ = false;
};

}  // namespace s::os::linux_fs
