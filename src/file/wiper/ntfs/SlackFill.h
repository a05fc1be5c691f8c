#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "file/wiper/ntfs/FolderSlack.h"

namespace s::file::wiper::ntfs {

// The names of temporary files whose index entries overwrite the slack of
// one part of a folder's index. Each name is a live name of the part (the
// anchor), a marker and random letters, so it lands right after the anchor,
// in this part; together their entries take as much of the part's room as
// the old names reach into (all of it, to within the smallest entry, when
// they reach that far), without making it grow past its record or split.
// Once the files are removed the slack holds only live names and these
// names, which leak nothing. Any thread.
class SlackFill {
 public:
  static constexpr std::u16string_view kMarker = u" ~vonq-fill ";
  static constexpr std::size_t kLongestName = 255;
  static constexpr std::size_t kRandomUnits = 8;  // at least this many random letters

  // The bytes an index entry for a name of `length` units takes: its
  // 16-byte header and the $FILE_NAME value, rounded up to 8.
  static std::size_t entrySize(std::size_t length);

  // The names for `part`. Empty when it is no leaf (new names would land
  // in a part below it) or no live name can anchor them: none whose next
  // name differs from it in more than an ending, or all too long to be
  // followed by the marker.
  static std::vector<std::u16string> namesFor(const SlackPart& part);

  // Whether `name` is one of those names for a folder whose live names are
  // `live`: a live name, the marker, and anything after.
  static bool isFillName(std::u16string_view name, const std::set<std::u16string>& live);

  // Whether `a` comes before `b` in a folder's index: compared as upper case
  // first, then as they are. Only ASCII letters are folded, so names with
  // other letters may be placed slightly off; such a name then lands in a
  // neighbouring part, which costs room but changes no entry.
  static bool before(std::u16string_view a, std::u16string_view b);

  // Entry sizes (multiples of 8, each from `smallest` up to the entry of a
  // longest name) that add up to `room` rounded down to 8, or as close
  // below it as entries of at least `smallest` bytes allow.
  static std::vector<std::size_t> sizesFor(std::uint32_t room, std::size_t smallest);

 private:
  static bool anchorOf(const SlackPart& part, std::u16string& out);
};

}  // namespace s::file::wiper::ntfs
