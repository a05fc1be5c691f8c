#include "file/wiper/ntfs/IndexBlock.h"

#include <algorithm>

#include "file/wiper/ntfs/UpdateSequence.h"

namespace s::file::wiper::ntfs {

namespace {

constexpr std::size_t kHeader = 0x18;  // offsets in the index header count from here
constexpr std::size_t kEntryHeader = 0x10;
constexpr std::uint16_t kLastEntry = 2;

}  // namespace

bool IndexBlock::fixUp(std::uint8_t* bytes, std::size_t size) {
  return UpdateSequence::apply(bytes, size, "INDX");
}

IndexBlock::IndexBlock(ByteSpan bytes) : bytes_(bytes) {
  const std::uint64_t first = kHeader + std::uint64_t{bytes_.u32(kHeader)};
  const std::uint64_t used = kHeader + std::uint64_t{bytes_.u32(kHeader + 4)};
  const std::uint64_t allocated = kHeader + std::uint64_t{bytes_.u32(kHeader + 8)};
  valid_ = bytes_.size() > kHeader + 12 && first <= used && used <= allocated;
  allocated_ = static_cast<std::size_t>(std::min<std::uint64_t>(allocated, bytes_.size()));
  used_ = static_cast<std::size_t>(std::min<std::uint64_t>(used, allocated_));
  first_ = static_cast<std::size_t>(std::min<std::uint64_t>(first, used_));
}

bool IndexBlock::parseEntry(ByteSpan bytes, FileName& out, std::size_t& length) {
  length = bytes.u16(8);
  const std::size_t key = bytes.u16(0x0A);
  if (length < kEntryHeader || length % 8 != 0 || !bytes.holds(0, length) ||
      key > length - kEntryHeader || (bytes.u16(0x0C) & kLastEntry) != 0) {
    return false;
  }
  return FileName::parse(bytes.part(kEntryHeader, key), out);
}

std::vector<FileName> IndexBlock::liveNames() const {
  std::vector<FileName> found;
  if (!valid_) return found;
  FileName name;
  std::size_t pos = first_;
  // Every step moves on by at least an entry header, so the walk ends.
  while (pos + kEntryHeader <= used_ && (bytes_.u16(pos + 0x0C) & kLastEntry) == 0) {
    std::size_t length = 0;
    if (!parseEntry(bytes_.part(pos, used_ - pos), name, length)) break;
    found.push_back(name);
    pos += length;
  }
  return found;
}

bool IndexBlock::parseLoneKey(ByteSpan bytes, FileName& out, std::size_t& length) {
  // A folder reference names a record below 2^32 and has a sequence number.
  const std::uint64_t parent = bytes.u64(0);
  const std::uint64_t record = parent & 0xFFFFFFFFFFFFull;
  if (record == 0 || record > 0xFFFFFFFFull || (parent >> 48) == 0 ||
      !FileName::parse(bytes, out)) {
    return false;
  }
  length = (FileName::kNameOffset + 2 * out.name.size() + 7) / 8 * 8;
  return true;
}

std::vector<FileName> IndexBlock::slackNames() const {
  std::vector<FileName> found;
  if (!valid_) return found;
  FileName name;
  for (std::size_t pos = (used_ + 7) / 8 * 8; pos + kEntryHeader <= allocated_;) {
    std::size_t length = 0;
    if (parseEntry(bytes_.part(pos, allocated_ - pos), name, length) ||
        parseLoneKey(bytes_.part(pos, allocated_ - pos), name, length)) {
      found.push_back(name);
      pos += length;
    } else {
      pos += 8;
    }
  }
  return found;
}

}  // namespace s::file::wiper::ntfs
