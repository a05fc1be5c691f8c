#pragma once

#include <cstddef>
#include <cstdint>

namespace s::file::wiper::ntfs {

// A read-only view of bytes taken from a volume, read little-endian with
// every access checked against its size: a value that does not lie wholly
// inside reads as 0, a part that does not lie inside is empty. Holds no
// bytes itself. Any thread.
class ByteSpan {
 public:
  ByteSpan() = default;
  ByteSpan(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  const std::uint8_t* data() const { return data_; }
  std::size_t size() const { return size_; }

  // Whether [at, at + count) lies inside, without overflow.
  bool holds(std::size_t at, std::size_t count) const { return at <= size_ && count <= size_ - at; }

  std::uint8_t u8(std::size_t at) const { return holds(at, 1) ? data_[at] : 0; }
  std::uint16_t u16(std::size_t at) const { return static_cast<std::uint16_t>(value(at, 2)); }
  std::uint32_t u32(std::size_t at) const { return static_cast<std::uint32_t>(value(at, 4)); }
  std::uint64_t u64(std::size_t at) const { return value(at, 8); }

  // [at, at + count); empty when it does not lie inside.
  ByteSpan part(std::size_t at, std::size_t count) const {
    return holds(at, count) ? ByteSpan(data_ + at, count) : ByteSpan();
  }

 private:
  std::uint64_t value(std::size_t at, std::size_t bytes) const {
    if (!holds(at, bytes)) return 0;
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < bytes; ++i) v |= std::uint64_t{data_[at + i]} << (8 * i);
    return v;
  }

  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace s::file::wiper::ntfs
