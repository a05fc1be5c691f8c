#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "file/wiper/ntfs/Attribute.h"
#include "file/wiper/ntfs/ByteSpan.h"
#include "file/wiper/ntfs/FileName.h"

namespace s::file::wiper::ntfs {

// A FILE record of the master file table, fixed up (fixUp). Reads only
// inside the bytes it is given; every walk ends within them. Any thread.
class FileRecord {
 public:
  // Applies the record's update sequence in place. False when it is not a
  // FILE record or the sequence is damaged (see UpdateSequence::apply).
  static bool fixUp(std::uint8_t* bytes, std::size_t size);

  // Views a fixed-up record of `bytes.size()` bytes.
  explicit FileRecord(ByteSpan bytes);

  bool inUse() const { return (bytes_.u16(0x16) & 1) != 0; }
  // The record's sequence number (moved on each time it is freed).
  std::uint16_t sequence() const { return bytes_.u16(0x10); }
  bool isDirectory() const { return (bytes_.u16(0x16) & 2) != 0; }
  // Whether the record holds the attributes of another one (its base).
  bool isExtension() const { return bytes_.u64(0x20) != 0; }

  // The attributes of the record's used part, in order: up to the end
  // marker, the used size, or the first record that does not parse.
  const std::vector<Attribute>& attributes() const { return attributes_; }

  // The first attribute of `type` named `name` ("" = unnamed); null when
  // there is none.
  const Attribute* find(std::uint32_t type, std::u16string_view name) const;

  // The bytes after the used part, from the first 8-byte boundary past the
  // end marker: what attributes the driver moved or shrank left behind.
  ByteSpan leftOverBytes() const;
  // The bytes the record's attributes may still grow by: its allocated
  // size less the bytes in use (0 when those are damaged).
  std::size_t roomLeft() const;

  // The names the record still holds: those of its $FILE_NAME attributes,
  // then those of whole $FILE_NAME attributes left in the bytes after its
  // used part (an attribute removed or moved by the driver).
  std::vector<FileName> names() const;

  // Whether an unnamed resident $DATA attribute holding at least one byte
  // is in the used part or left after it.
  bool holdsResidentData() const;

 private:
  // Attributes that still parse at 8-byte steps after the used part.
  std::vector<Attribute> leftOver() const;

  ByteSpan bytes_;
  std::vector<Attribute> attributes_;
  std::size_t usedEnd_ = 0;  // where the used part's walk ended
};

}  // namespace s::file::wiper::ntfs
