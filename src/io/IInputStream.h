#pragma once

#include <cstdint>

#include "thread/IPoolable.h"

namespace s::io {

// A readable byte stream with a position: strings, arrays and files offer it.
//
// Contract common to every operation: no exception leaves it; a stream that
// is not open (or has no data) reports failure by returning false or 0 and
// never touches memory outside the caller's buffer. A stream object is used
// by one thread at a time (the thread that owns it).
//
// Positions are byte offsets from the start. Whether a position beyond the
// end of the data can be reached depends on the stream: memory streams
// (strings, arrays) clamp every move to [0, end]; file streams follow the
// file system.
class IInputStream : public virtual s::thread::IPoolable {
 public:
  ~IInputStream() override = default;

  // Reads up to `count` bytes at the position into `buffer` and moves the
  // position on by the number read. Returns true with `outCount` set when at
  // least one byte was read; false with `outCount` 0 at the end of the data,
  // on an error, when not open, or when `buffer` is null or `count` is 0.
  // Never writes more than `count` bytes into `buffer`.
  virtual bool read(void* buffer, std::uint32_t count, std::uint32_t& outCount) = 0;

  // Ends the use of the underlying source (closes a file). Memory streams
  // keep their data; closing them does nothing. Safe to call twice.
  virtual void close() = 0;

  // The current position in bytes.
  virtual std::uint64_t getPosition() = 0;

  // True when the seek operations below move the position.
  virtual bool isSeekable() = 0;

  // Position moves. Each returns true when the position is where it was
  // asked to be (false when the stream is not open, cannot seek, or had to
  // clamp the move). `seekFromEnd(n)` goes to end - n; `forward`/`backward`
  // are relative and do nothing for 0.
  virtual bool seekToStart() = 0;
  virtual bool seekToEnd() = 0;
  virtual bool seek(std::uint64_t position) = 0;
  virtual bool seekFromEnd(std::uint64_t n) = 0;
  virtual bool forward(std::uint64_t n) = 0;
  virtual bool backward(std::uint64_t n) = 0;
};

}  // namespace s::io
