#include "file/wiper/ntfs/FileName.h"

namespace s::file::wiper::ntfs {

bool FileName::parse(ByteSpan value, FileName& out) {
  const std::size_t length = value.u8(0x40);
  const std::uint8_t nameSpace = value.u8(0x41);
  if (length == 0 || nameSpace > 3 || !value.holds(kNameOffset, 2 * length)) return false;
  std::u16string name(length, u'\0');
  for (std::size_t i = 0; i < length; ++i) {
    name[i] = static_cast<char16_t>(value.u16(kNameOffset + 2 * i));
    if (name[i] == u'\0' || name[i] == u'/') return false;
  }
  out.parent = value.u64(0);
  out.nameSpace = nameSpace;
  out.name = std::move(name);
  return true;
}

}  // namespace s::file::wiper::ntfs
