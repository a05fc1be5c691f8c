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
  return valid_ ? entryNames(bytes_.part(first_, used_ - first_)) : std::vector<FileName>();
}

std::vector<FileName> IndexBlock::slackNames() const {
  std::vector<FileName> names;
  for (LeftOver& found : slack()) names.push_back(std::move(found.name));
  return names;
}

std::vector<IndexBlock::LeftOver> IndexBlock::slack() const {
  const std::size_t from = (used_ + 7) / 8 * 8;
  return valid_ && from < allocated_ ? leftOver(bytes_.part(from, allocated_ - from))
                                     : std::vector<LeftOver>();
}

std::vector<FileName> IndexBlock::entryNames(ByteSpan area) {
  std::vector<FileName> found;
  FileName name;
  std::size_t pos = 0;
  // Every step moves on by at least an entry header, so the walk ends.
  while (pos + kEntryHeader <= area.size() && (area.u16(pos + 0x0C) & kLastEntry) == 0) {
    std::size_t length = 0;
    if (!parseEntry(area.part(pos, area.size() - pos), name, length)) break;
    found.push_back(name);
    pos += length;
  }
  return found;
}

std::vector<FileName> IndexBlock::leftOverNames(ByteSpan area) {
  std::vector<FileName> names;
  for (LeftOver& found : leftOver(area)) names.push_back(std::move(found.name));
  return names;
}

std::vector<IndexBlock::LeftOver> IndexBlock::leftOver(ByteSpan area) {
  std::vector<LeftOver> found;
  FileName name;
  for (std::size_t pos = 0; pos + kEntryHeader <= area.size();) {
    const ByteSpan rest = area.part(pos, area.size() - pos);
    std::size_t length = 0;
    if (parseEntry(rest, name, length) || parseLoneKey(rest, name, length)) {
      found.push_back(LeftOver{name, pos + length});
      pos += length;
    } else {
      pos += 8;
    }
  }
  return found;
}

bool IndexBlock::parseLoneKey(ByteSpan bytes, FileName& out, std::size_t& length) {
  // Its creation and change times lie between 1980 and 2200 (the folder
  // reference before them may be overwritten by an end marker).
  constexpr std::uint64_t kYear1980 = 119600064000000000ull;
  constexpr std::uint64_t kYear2200 = 189000000000000000ull;
  for (std::size_t at : {std::size_t{0x08}, std::size_t{0x10}}) {
    const std::uint64_t time = bytes.u64(at);
    if (time < kYear1980 || time > kYear2200) return false;
  }
  if (!FileName::parse(bytes, out)) return false;
  length = (FileName::kNameOffset + 2 * out.name.size() + 7) / 8 * 8;
  return true;
}

}  // namespace s::file::wiper::ntfs
