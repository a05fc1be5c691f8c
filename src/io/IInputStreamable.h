#pragma once

namespace s::io {

class IInputStream;

// Something whose bytes can be read through a stream of their own (arrays
// hand out a stream over their elements).
class IInputStreamable {
 public:
  virtual ~IInputStreamable() = default;

  // A new input stream positioned at the first byte, owned by the caller
  // (give it back with release()). Never null. The object must outlive the
  // stream and must not change while the stream is read. Any thread that
  // owns the object.
  virtual IInputStream* openInputStream() = 0;
};

}  // namespace s::io
