#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "os/FileTimes.h"

namespace s::os {

// An open file, made by FileSystem::openFile. One thread at a time uses it.
// Destroying it closes it. Failures return false and record lastFsError().
class File {
 public:
  virtual ~File() = default;

  // Reads up to `count` bytes at the current position into `buffer`. True with
  // `done` > 0 when bytes were read (the position moves on by that many); false
  // with `done` 0 at the end of the file or on an error.
  virtual bool read(void* buffer, std::size_t count, std::size_t& done) = 0;

  // Writes `count` bytes at the current position. True only when all of them
  // were written; `done` says how many were (also on failure, e.g. a full
  // volume). On an unbuffered file any buffer, length and offset is accepted:
  // what is not aligned goes through the cache and is flushed at once.
  virtual bool write(const void* data, std::size_t count, std::size_t& done) = 0;

  // Moves the position (past the end is allowed). Never fails on an open file.
  virtual bool seek(std::uint64_t position) = 0;
  virtual std::uint64_t position() const = 0;

  // The file's length in bytes; false when it cannot be read.
  virtual bool size(std::uint64_t& out) = 0;

  // Makes the file exactly `length` bytes long, keeping the data before it.
  // Growing really allocates the new range (never a sparse hole); its content
  // reads as zeros. On failure (e.g. NoSpace) the file keeps its old length.
  // The position does not change.
  virtual bool setEndOfFile(std::uint64_t length) = 0;

  // As setEndOfFile, for a writer that fills every added byte right after:
  // the added range may take its space only as it is written (a sparse
  // extension where the volume makes one, as on ntfs-3g, which cannot
  // allocate without writing). Growing may then succeed on a volume that
  // cannot hold the bytes, and the writes fail with NoSpace instead. By
  // default the same as setEndOfFile.
  virtual bool setEndOfFileLazily(std::uint64_t length) { return setEndOfFile(length); }

  // Grows the file toward `length` bytes with every added byte really
  // allocated (reading as zeros), as far as the volume lets it: it stops at
  // a full volume (false, NoSpace) or once `*stop` (when not null) turns
  // non-zero (false; tested between steps, so a large growth can be
  // cancelled), and keeps what it allocated up to then - never a sparse
  // hole. `reached` receives the file's length afterwards. True when the
  // file is `length` bytes long (or was longer already: nothing changes).
  // The position does not change. By default setEndOfFile in steps that
  // shrink where the volume cannot take a whole one.
  virtual bool reserve(std::uint64_t length, const std::atomic<std::uint8_t>* stop,
                       std::uint64_t& reached);

  // Pushes written data to the device (fdatasync).
  virtual bool flush() = 0;

  // The file's times; creation is 0 where the volume does not record it.
  virtual bool getTimes(FileTimes& out) = 0;
  // Sets the non-zero fields; the creation time is set only where the volume
  // records it and silently kept elsewhere.
  virtual bool setTimes(const FileTimes& times) = 0;

  // Takes a write lease so that no other handle may open the file while it is
  // held. False (InUse) when another handle has it open now; false
  // (NotSupported / AccessDenied) when the system will not grant one. Any
  // later open by someone else breaks it: exclusiveBroken() then turns true
  // and the holder should finish quickly and release.
  virtual bool holdExclusive() = 0;
  virtual bool exclusiveBroken() = 0;
  virtual void releaseExclusive() = 0;

  // Whether writes bypass the system cache (false after a refused direct open).
  virtual bool isUnbuffered() const = 0;

  // Closes the file (flushing nothing beyond what the mode implies). Further
  // calls fail. True when the close succeeded.
  virtual bool close() = 0;
};

}  // namespace s::os
