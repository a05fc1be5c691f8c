#include "file/wiper/ntfs/FileRecord.h"

#include <algorithm>

#include "file/wiper/ntfs/UpdateSequence.h"

namespace s::file::wiper::ntfs {

namespace {

void appendNames(const std::vector<Attribute>& attributes, std::vector<FileName>& out) {
  FileName name;
  for (const Attribute& a : attributes) {
    if (a.type == Attribute::kFileName && !a.nonResident && FileName::parse(a.value, name)) {
      out.push_back(name);
    }
  }
}

bool anyResidentData(const std::vector<Attribute>& attributes) {
  for (const Attribute& a : attributes) {
    if (a.is(Attribute::kData, u"") && !a.nonResident && a.value.size() > 0) return true;
  }
  return false;
}

}  // namespace

bool FileRecord::fixUp(std::uint8_t* bytes, std::size_t size) {
  return UpdateSequence::apply(bytes, size, "FILE");
}

FileRecord::FileRecord(ByteSpan bytes) : bytes_(bytes) {
  const std::size_t used = bytes_.u32(0x18);
  const std::size_t end = used < bytes_.size() ? used : bytes_.size();
  std::size_t pos = bytes_.u16(0x14);
  Attribute a;
  // Every step moves on by at least a header's length, so the walk ends.
  while (pos < end && bytes_.u32(pos) != Attribute::kEnd &&
         Attribute::parse(bytes_.part(pos, end - pos), a)) {
    attributes_.push_back(a);
    pos += a.length;
  }
  usedEnd_ = pos;
}

const Attribute* FileRecord::find(std::uint32_t type, std::u16string_view name) const {
  for (const Attribute& a : attributes_) {
    if (a.is(type, name)) return &a;
  }
  return nullptr;
}

ByteSpan FileRecord::leftOverBytes() const {
  const std::size_t from = (usedEnd_ + 7) / 8 * 8;
  return from < bytes_.size() ? bytes_.part(from, bytes_.size() - from) : ByteSpan();
}

std::size_t FileRecord::roomLeft() const {
  const std::size_t used = bytes_.u32(0x18);
  const std::size_t allocated = std::min<std::size_t>(bytes_.u32(0x1C), bytes_.size());
  return used < allocated ? allocated - used : 0;
}

std::vector<Attribute> FileRecord::leftOver() const {
  std::vector<Attribute> found;
  const ByteSpan area = leftOverBytes();
  Attribute a;
  for (std::size_t pos = 0; pos + 8 <= area.size();) {
    const std::uint32_t type = area.u32(pos);
    if ((type == Attribute::kFileName || type == Attribute::kData) &&
        Attribute::parse(area.part(pos, area.size() - pos), a)) {
      found.push_back(a);
      pos += a.length;
    } else {
      pos += 8;
    }
  }
  return found;
}

std::vector<FileName> FileRecord::names() const {
  std::vector<FileName> found;
  appendNames(attributes_, found);
  appendNames(leftOver(), found);
  return found;
}

bool FileRecord::holdsResidentData() const {
  return anyResidentData(attributes_) || anyResidentData(leftOver());
}

}  // namespace s::file::wiper::ntfs
