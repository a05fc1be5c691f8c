#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "os/File.h"
#include "os/windows/UniqueHandle.h"

namespace s::os::win_fs {

// A file opened by WinFileSystem. Reads and writes go to the kept position
// (ReadFile / WriteFile with an offset). On an unbuffered handle
// (FILE_FLAG_NO_BUFFERING) a request that is not aligned to kAlignment is
// done on whole aligned blocks through a page buffer of its own (read, patch,
// write, then the length put back), since such a handle takes nothing else.
//
// Growing a file: SetEndOfFile allocates on NTFS under Windows; where it
// leaves a hole instead (Wine on a Unix file system, as ntfs-3g), seen through
// the allocation size, the new range is written with zeros.
class WinFile final : public File {
 public:
  static constexpr std::size_t kAlignment = 4096;

  // Takes `handle`. `unbuffered`: opened with FILE_FLAG_NO_BUFFERING;
  // `flushWrites`: every write is followed by FlushFileBuffers (a refused
  // unbuffered open); `exclusive`: opened without sharing.
  WinFile(UniqueHandle handle, bool unbuffered, bool flushWrites, bool exclusive);
  ~WinFile() override;

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
  // The handle was opened without sharing (every write open is), so nobody
  // else can open the file while it is open: true at once. A shared (read)
  // handle cannot be made exclusive: false with NotSupported.
  bool holdExclusive() override;
  // Never broken: sharing is refused by the system, not lent.
  bool exclusiveBroken() override { return false; }
  void releaseExclusive() override {}
  bool isUnbuffered() const override { return unbuffered_; }
  bool close() override;

  HANDLE handle() const { return handle_.get(); }

 private:
  bool aligned(const void* p, std::size_t count, std::uint64_t offset) const;
  bool readAt(void* buffer, std::size_t count, std::uint64_t offset, std::size_t& done);
  bool writeAt(const void* data, std::size_t count, std::uint64_t offset, std::size_t& done);
  // Reads or writes at `offset` however the request is aligned.
  bool readAny(void* buffer, std::size_t count, std::uint64_t offset, std::size_t& done);
  bool writeAny(const void* data, std::size_t count, std::uint64_t offset);
  bool writeBlocks(const void* data, std::size_t count, std::uint64_t offset);
  bool setLength(std::uint64_t length);
  bool allocatedAtLeast(std::uint64_t length);
  // Writes zeros over [from, to), testing `stop` (may be null) between
  // chunks; `reached` receives the end of what was written whole.
  bool writeZeros(std::uint64_t from, std::uint64_t to, const std::atomic<std::uint8_t>* stop,
                  std::uint64_t& reached);
  // Grows the file from `from` to `to` bytes, all of them allocated; on
  // failure `reached` is the end of what was allocated whole (the file may
  // be longer; the caller cuts it).
  bool grow(std::uint64_t from, std::uint64_t to, const std::atomic<std::uint8_t>* stop,
            std::uint64_t& reached);
  void cutKeepingError(std::uint64_t length);

  UniqueHandle handle_;
  std::uint64_t position_ = 0;
  bool unbuffered_;
  bool flushWrites_;
  bool exclusive_;
};

}  // namespace s::os::win_fs
