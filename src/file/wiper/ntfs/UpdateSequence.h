#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace s::file::wiper::ntfs {

// The update sequence of NTFS multi-sector structures (FILE records, INDX
// blocks): the last two bytes of every 512-byte stride were replaced on
// disk by a check value, and the array after the header keeps the bytes
// they stood for. Any thread.
class UpdateSequence {
 public:
  static constexpr std::size_t kStride = 512;

  // Checks the structure's signature (four characters) and every stride's
  // check value, then puts the saved bytes back in place. False, with the
  // bytes possibly half restored, when `size` is not a whole number of
  // strides, the signature differs, the array does not fit before the end
  // of the first stride or does not count one entry per stride, or a check
  // value is wrong (a torn or crafted write). Never reads or writes outside
  // [block, block + size).
  static bool apply(std::uint8_t* block, std::size_t size, std::string_view signature);
};

}  // namespace s::file::wiper::ntfs
