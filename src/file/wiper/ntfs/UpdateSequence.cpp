#include "file/wiper/ntfs/UpdateSequence.h"

#include <cstring>

#include "file/wiper/ntfs/ByteSpan.h"

namespace s::file::wiper::ntfs {

bool UpdateSequence::apply(std::uint8_t* block, std::size_t size, std::string_view signature) {
  if (block == nullptr || size < kStride || size % kStride != 0 || signature.size() != 4 ||
      std::memcmp(block, signature.data(), 4) != 0) {
    return false;
  }
  const ByteSpan bytes(block, size);
  const std::size_t offset = bytes.u16(4);
  const std::size_t count = bytes.u16(6);
  // The array sits in the first stride, before that stride's check value.
  if (count != size / kStride + 1 || offset < 8 || offset + 2 * count > kStride - 2) return false;
  const std::uint8_t* check = block + offset;
  for (std::size_t i = 1; i < count; ++i) {
    std::uint8_t* tail = block + i * kStride - 2;
    if (tail[0] != check[0] || tail[1] != check[1]) return false;
    tail[0] = check[2 * i];
    tail[1] = check[2 * i + 1];
  }
  return true;
}

}  // namespace s::file::wiper::ntfs
