#pragma once

#include "io/IInputStream.h"

namespace s::file {

// A readable byte stream on a file, opened by a path object
// (IPath::openInputStream). Reads go straight to the file, unbuffered by the
// stream. A stream that could not be opened has no handle: every read then
// fails and every move returns false. One thread at a time.
class IFileInputStream : public s::io::IInputStream {
 public:
  ~IFileInputStream() override = default;

  // True when the stream holds an open file.
  virtual bool isOpen() const = 0;

  // Closes the file and sets the position to 0 (also what reset() does).
  virtual void resetState() = 0;

  // close(), then gives the stream back to its pool. The caller must not use
  // the stream afterwards.
  virtual void closeAndRelease() = 0;
};

}  // namespace s::file
