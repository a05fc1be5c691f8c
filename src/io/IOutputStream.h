#pragma once

#include <cstdint>

#include "thread/IPoolable.h"

namespace s::io {

// A writable byte stream with a position: strings, arrays and files offer it.
//
// Contract common to every operation: no exception leaves it; failures are
// reported by returning false, never by touching memory outside the given
// buffers. A stream object is used by one thread at a time. The position and
// seek operations have the same meaning as in IInputStream; a class that
// implements both faces shares one position between them.
class IOutputStream : public virtual s::thread::IPoolable {
 public:
  ~IOutputStream() override = default;

  // Writes `count` bytes from `data` at the position (memory streams grow
  // their storage and raise their length to cover them; file streams may
  // buffer) and moves the position on. Returns true with `outCount` = count
  // when every byte was taken; false when not open, when storage could not
  // be had or a write to the file failed; `outCount` then says how many
  // bytes were taken. A null `data` with a non-zero count writes nothing and
  // returns false; a count of 0 returns true.
  virtual bool write(const void* data, std::uint32_t count, std::uint32_t& outCount) = 0;

  // Makes the written bytes reach their destination (writes out a buffer,
  // flushes the file). Returns false when not open or a write failed;
  // memory streams return true.
  virtual bool flush() = 0;

  // Cuts the data off at the current position (after flushing). Returns
  // false when it could not.
  virtual bool truncateHere() = 0;

  // Flushes and ends the use of the underlying target. Errors while
  // flushing are not reported. Memory streams keep their data.
  virtual void close() = 0;

  virtual std::uint64_t getPosition() = 0;
  virtual bool isSeekable() = 0;

  // Position moves; each first makes buffered bytes reach the target.
  // Same results as in IInputStream.
  virtual bool seekToStart() = 0;
  virtual bool seekToEnd() = 0;
  virtual bool seek(std::uint64_t position) = 0;
  virtual bool seekFromEnd(std::uint64_t n) = 0;
  virtual bool forward(std::uint64_t n) = 0;
  virtual bool backward(std::uint64_t n) = 0;
};

}  // namespace s::io
