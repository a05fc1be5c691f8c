#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace s::system {

// The MD5 message digest (RFC 1321), computed incrementally.
//
// Use: update() any number of times, then finish() once. Not an object of
// the framework's pools: a small value on the stack. One thread at a time
// per object; independent objects may be used from any threads.
class MD5 {
 public:
  using Digest = std::array<std::uint8_t, 16>;

  // How a digest is handed out as text (see the digest() operations of the
  // string and array classes).
  enum Form : int {
    kHexLower = 0,  // 32 lower-case hexadecimal digits
    kHexUpper = 1,  // 32 upper-case hexadecimal digits
    kRaw = 2,       // the 16 bytes themselves, as 8 little-endian UTF-16 units
  };

  MD5() { restart(); }

  // Forgets everything fed so far.
  void restart();

  // Feeds `size` bytes. A null `data` with size 0 is allowed. Never fails.
  void update(const void* data, std::size_t size);

  // The digest of everything fed since the last restart; the object is then
  // restarted.
  Digest finish();

  // The digest of one block of bytes.
  static Digest of(const void* data, std::size_t size);

  // Writes the 32 hexadecimal digits of `digest` to `out` (no terminator).
  static void toHex(const Digest& digest, bool upper, char16_t out[32]);

 private:
  void transform(const std::uint8_t block[64]);

  std::uint32_t state_[4];
  std::uint64_t bytes_;  // bytes fed so far
  std::uint8_t pending_[64];
};

}  // namespace s::system
