#include "file/wiper/ntfs/SlackFill.h"

#include <algorithm>

#include "file/wiper/Random.h"

namespace s::file::wiper::ntfs {

namespace {

constexpr std::size_t kEntryHead = 0x10 + 0x42;  // entry header and $FILE_NAME up to the name
constexpr std::u16string_view kLetters = u"abcdefghijklmnopqrstuvwxyz0123456789";

char16_t folded(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// Whether `longer` begins with `prefix`, letter case aside.
bool extends(std::u16string_view longer, std::u16string_view prefix) {
  if (longer.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (folded(longer[i]) != folded(prefix[i])) return false;
  }
  return true;
}

std::u16string randomLetters(std::size_t count) {
  std::u16string letters;
  for (std::size_t i = 0; i < count; ++i) {
    letters += kLetters[s::file::wiper::Random::random15() % kLetters.size()];
  }
  return letters;
}

}  // namespace

std::size_t SlackFill::entrySize(std::size_t length) {
  return (kEntryHead + 2 * length + 7) / 8 * 8;
}

bool SlackFill::before(std::u16string_view a, std::u16string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (folded(a[i]) != folded(b[i])) return folded(a[i]) < folded(b[i]);
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

bool SlackFill::anchorOf(const SlackPart& part, std::u16string& out) {
  const std::size_t longest = kLongestName - kMarker.size() - kRandomUnits;
  // After the last name first (nothing moves), then between neighbours
  // from the end: a name that only adds an ending to the anchor would sort
  // among the new names, so such a pair does not anchor.
  for (std::size_t i = part.live.size(); i-- > 0;) {
    const std::u16string_view next =
        i + 1 < part.live.size() ? std::u16string_view(part.live[i + 1]) : part.next;
    if (part.live[i].size() > longest) continue;
    if (!next.empty() && extends(next, part.live[i])) continue;
    out = part.live[i];
    return true;
  }
  return false;
}

std::vector<std::size_t> SlackFill::sizesFor(std::uint32_t room, std::size_t smallest) {
  const std::size_t largest = entrySize(kLongestName);
  std::vector<std::size_t> sizes;
  std::size_t left = room / 8 * 8;
  while (left >= smallest) {
    std::size_t size = std::min(left, largest);
    // Leave either nothing or enough for one more entry.
    if (left > largest && left - largest < smallest && left - smallest >= smallest) {
      size = left - smallest;
    }
    sizes.push_back(size);
    left -= size;
  }
  return sizes;
}

std::vector<std::u16string> SlackFill::namesFor(const SlackPart& part) {
  std::vector<std::u16string> names;
  std::u16string anchor;
  if (!part.leaf || !anchorOf(part, anchor)) return names;
  const std::u16string stem = anchor + std::u16string(kMarker);
  const std::size_t smallest = entrySize(stem.size() + kRandomUnits);
  // Entries that add up to at least the reach of the old names (sizesFor
  // falls short of its goal by less than the smallest entry), within room.
  const std::uint64_t goal =
      std::min<std::uint64_t>(part.room, std::uint64_t{part.reach} + smallest);
  for (const std::size_t size : sizesFor(static_cast<std::uint32_t>(goal), smallest)) {
    const std::size_t length = (size - kEntryHead) / 2;
    names.push_back(stem + randomLetters(length - stem.size()));
  }
  return names;
}

bool SlackFill::isFillName(std::u16string_view name, const std::set<std::u16string>& live) {
  for (std::size_t at = name.find(kMarker); at != std::u16string_view::npos;
       at = name.find(kMarker, at + 1)) {
    if (live.count(std::u16string(name.substr(0, at))) != 0) return true;
  }
  return false;
}

}  // namespace s::file::wiper::ntfs
