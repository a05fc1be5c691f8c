#include "os/windows/StreamRecords.h"

#include <cstring>

namespace s::os::win_fs {

void StreamRecords::parse(const std::vector<std::uint8_t>& buffer, std::vector<StreamEntry>& out) {
  constexpr std::size_t kNameAt = 24;
  std::size_t at = 0;
  for (;;) {
    if (at + kNameAt > buffer.size()) return;
    std::uint32_t next = 0, nameBytes = 0;
    std::int64_t size = 0;
    std::memcpy(&next, buffer.data() + at, sizeof next);
    std::memcpy(&nameBytes, buffer.data() + at + 4, sizeof nameBytes);
    std::memcpy(&size, buffer.data() + at + 8, sizeof size);
    if (at + kNameAt + nameBytes > buffer.size()) return;
    std::u16string name(nameBytes / 2, u'\0');
    std::memcpy(name.data(), buffer.data() + at + kNameAt, name.size() * 2);
    const std::size_t second = name.find(u':', 1);
    if (second != std::u16string::npos) name.resize(second);
    if (name.size() > 1) out.push_back(StreamEntry{name, static_cast<std::uint64_t>(size)});
    if (next == 0) return;
    at += next;
  }
}

}  // namespace s::os::win_fs
