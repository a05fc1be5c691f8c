#pragma once

#include <cstdint>
#include <string>

#include "file/wiper/ntfs/ByteSpan.h"

namespace s::file::wiper::ntfs {

// One attribute record of a FILE record: its header, its name, and either
// its value (resident) or its run list and sizes (non-resident).
struct Attribute {
  static constexpr std::uint32_t kAttributeList = 0x20;
  static constexpr std::uint32_t kFileName = 0x30;
  static constexpr std::uint32_t kData = 0x80;
  static constexpr std::uint32_t kIndexRoot = 0x90;
  static constexpr std::uint32_t kIndexAllocation = 0xA0;
  static constexpr std::uint32_t kBitmap = 0xB0;
  static constexpr std::uint32_t kEnd = 0xFFFFFFFF;

  std::uint32_t type = 0;
  std::uint32_t length = 0;  // of the whole record, a multiple of 8
  bool nonResident = false;
  std::u16string name;
  ByteSpan value;  // resident only
  // Non-resident only:
  ByteSpan runs;
  std::uint64_t startVcn = 0;
  std::uint64_t dataSize = 0;
  std::uint64_t initialisedSize = 0;

  // Reads the attribute record at the start of `bytes` (which run to the end
  // of the area it may take). False when its length is short, not a
  // multiple of 8 or past the end of `bytes`, or its name, value or run
  // list lies outside its own length. Any thread.
  static bool parse(ByteSpan bytes, Attribute& out);

  // Whether this is the attribute of `type` named `wanted` ("" = unnamed).
  bool is(std::uint32_t wantedType, std::u16string_view wanted) const {
    return type == wantedType && name == wanted;
  }
};

}  // namespace s::file::wiper::ntfs
