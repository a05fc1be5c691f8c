#pragma once

#include "io/IOutputStream.h"

namespace s::file {

// A writable byte stream on a file, opened by a path object
// (IPath::openOutputStream). Writes collect in one 65,536-byte buffer that
// goes to the file when it is full and more data follows, and on flush(),
// close() and every move of the position. A stream that could not be opened
// has no handle: every write and flush then fails. One thread at a time.
class IFileOutputStream : public s::io::IOutputStream {
 public:
  static constexpr std::uint32_t kBufferSize = 65536;

  ~IFileOutputStream() override = default;

  // True when the stream holds an open file.
  virtual bool isOpen() const = 0;

  // Bytes waiting in the buffer (not yet handed to the file).
  virtual std::uint32_t getWaitingCount() const = 0;

  // Closes the file when open (flushing it; errors not reported), position 0,
  // nothing waiting (also what reset() does).
  virtual void resetState() = 0;

  // close(), then gives the stream back to its pool. The caller must not use
  // the stream afterwards.
  virtual void closeAndRelease() = 0;
};

}  // namespace s::file
