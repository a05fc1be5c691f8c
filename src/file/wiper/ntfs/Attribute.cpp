#include "file/wiper/ntfs/Attribute.h"

namespace s::file::wiper::ntfs {

namespace {

constexpr std::size_t kResidentHeader = 0x18;
constexpr std::size_t kNonResidentHeader = 0x40;

bool readName(ByteSpan record, Attribute& out) {
  const std::size_t units = record.u8(9);
  const std::size_t offset = record.u16(0x0A);
  if (units == 0) return true;
  if (!record.holds(offset, 2 * units)) return false;
  out.name.resize(units);
  for (std::size_t i = 0; i < units; ++i)
    out.name[i] = static_cast<char16_t>(record.u16(offset + 2 * i));
  return true;
}

bool readResident(ByteSpan record, Attribute& out) {
  const std::size_t length = record.u32(0x10);
  const std::size_t offset = record.u16(0x14);
  if (!record.holds(offset, length)) return false;
  out.value = record.part(offset, length);
  return true;
}

bool readNonResident(ByteSpan record, Attribute& out) {
  const std::size_t runs = record.u16(0x20);
  if (record.size() < kNonResidentHeader || runs < kNonResidentHeader || runs >= record.size()) {
    return false;
  }
  out.runs = record.part(runs, record.size() - runs);
  out.startVcn = record.u64(0x10);
  out.dataSize = record.u64(0x30);
  out.initialisedSize = record.u64(0x38);
  return true;
}

}  // namespace

bool Attribute::parse(ByteSpan bytes, Attribute& out) {
  out = Attribute();
  out.type = bytes.u32(0);
  out.length = bytes.u32(4);
  if (out.length < kResidentHeader || out.length % 8 != 0 || !bytes.holds(0, out.length)) {
    return false;
  }
  const ByteSpan record = bytes.part(0, out.length);
  out.nonResident = record.u8(8) != 0;
  if (!readName(record, out)) return false;
  return out.nonResident ? readNonResident(record, out) : readResident(record, out);
}

}  // namespace s::file::wiper::ntfs
