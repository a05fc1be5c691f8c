#pragma once

#include <cstdint>
#include <string>

#include "file/wiper/ntfs/ByteSpan.h"

namespace s::file::wiper::ntfs {

// The value of a $FILE_NAME attribute, as a FILE record or an index entry
// of a folder keeps it: the folder it is in and the name.
struct FileName {
  static constexpr std::size_t kNameOffset = 0x42;  // the name's first unit
  static constexpr std::uint8_t kDosNamespace = 2;  // a short 8.3 alias
  // A file reference's record number (its sequence number stands above it;
  // Windows file ids are such references).
  static constexpr std::uint64_t kRecordBits = 0x0000FFFFFFFFFFFFull;

  std::uint64_t parent = 0;  // reference (record number and sequence) of the folder
  std::uint8_t nameSpace = 0;
  std::u16string name;

  // Reads a $FILE_NAME value. False when `value` is too short for the
  // header or for the name its length announces, the name is empty, the
  // namespace is unknown, or the name holds a unit no name may hold (zero,
  // '/'): what a crafted or overwritten value gives. Any thread.
  static bool parse(ByteSpan value, FileName& out);
};

}  // namespace s::file::wiper::ntfs
