#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "file/wiper/ntfs/ByteSpan.h"
#include "file/wiper/ntfs/FileName.h"

namespace s::file::wiper::ntfs {

// An INDX block of a folder's file-name index, fixed up (fixUp): a header,
// the live entries up to its used length, and the slack after them up to
// its allocated length, where entries that were removed or moved may still
// stand. Reads only inside the bytes it is given. Any thread.
class IndexBlock {
 public:
  // Applies the block's update sequence in place. False when it is not an
  // INDX block or the sequence is damaged (see UpdateSequence::apply).
  static bool fixUp(std::uint8_t* bytes, std::size_t size);

  // Views a fixed-up block of `bytes.size()` bytes.
  explicit IndexBlock(ByteSpan bytes);

  // Whether the header's entry offset and lengths lie inside the block.
  bool valid() const { return valid_; }
  // Whether its entries point to blocks below it (it is no leaf).
  bool hasSubNodes() const { return (bytes_.u16(0x18 + 12) & 1) != 0; }
  // The bytes new entries may take before the block must split.
  std::uint32_t room() const { return static_cast<std::uint32_t>(allocated_ - used_); }

  // The names of the live entries, in order: from the first entry to the
  // one marked last, stopping early at an entry whose length is 0, not a
  // multiple of 8 or past the used part, or whose key does not fit in it.
  std::vector<FileName> liveNames() const;

  // The names in the slack: at 8-byte steps from the end of the used part
  // to the end of the allocated part, every place where a plausible entry
  // holding a file name, or such an entry's key alone (parseLoneKey),
  // stands.
  std::vector<FileName> slackNames() const;

  // The names of the entries from the start of `area` (an index's entry
  // list, in a block or in a folder's $INDEX_ROOT) to the one marked last,
  // stopping early at an entry that does not parse (see parseEntry).
  static std::vector<FileName> entryNames(ByteSpan area);

  // The names that still stand in `area` (slack; its start 8-byte
  // aligned): at 8-byte steps, every place where a plausible entry holding
  // a file name, or such an entry's key alone (parseLoneKey), stands.
  static std::vector<FileName> leftOverNames(ByteSpan area);

  // The same names, each with where it ends in `area` (bytes from its start).
  struct LeftOver {
    FileName name;
    std::size_t end = 0;
  };
  static std::vector<LeftOver> leftOver(ByteSpan area);
  // slackNames() with where each ends, counted from the start of the slack.
  std::vector<LeftOver> slack() const;

  // Reads the index entry at the start of `bytes` (header, key as a
  // $FILE_NAME value). False when its length is short, not a multiple of
  // 8 or past the end of `bytes`, its key does not fit in it, or the key
  // is no file name. `length` receives the entry's length.
  static bool parseEntry(ByteSpan bytes, FileName& out, std::size_t& length);

  // Reads a $FILE_NAME value standing alone at the start of `bytes`: the
  // key of an entry whose header (and even the folder reference after it)
  // a later entry or an end marker overwrote. Stricter than a key inside
  // an entry: its creation and change times must be plausible (1980 to
  // 2200). `length` receives the value's length rounded up to 8.
  static bool parseLoneKey(ByteSpan bytes, FileName& out, std::size_t& length);

 private:
  ByteSpan bytes_;
  bool valid_ = false;
  std::size_t first_ = 0;      // the first entry
  std::size_t used_ = 0;       // the end of the used part
  std::size_t allocated_ = 0;  // the end of the allocated part
};

}  // namespace s::file::wiper::ntfs
