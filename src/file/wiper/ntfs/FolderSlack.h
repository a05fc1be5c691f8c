#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace s::file::wiper::ntfs {

// One part of a folder's file-name index whose slack still holds old names:
// the index root in the folder's own record, or one INDX block.
struct SlackPart {
  bool inRecord = false;  // the root in the folder's record (else an INDX block)
  bool leaf = true;       // its entries have no sub-nodes, so new names land here
  // Bytes new entries may take before the part has to grow past its record
  // or split: the record's room for a root, the block's unused bytes.
  std::uint32_t room = 0;
  // How far old names reach into the slack: bytes from its start to the
  // end of the last one (the whole room unless told).
  std::uint32_t reach = kWholeRoom;
  static constexpr std::uint32_t kWholeRoom = 0xFFFFFFFFu;
  std::vector<std::u16string> live;  // its live names, in index order
  // The folder's next live name after the last of `live` (empty when none).
  std::u16string next;
};

// A folder (by MFT record number) and the parts of its index with old names.
struct FolderSlack {
  std::uint64_t record = 0;
  std::vector<SlackPart> parts;
};

}  // namespace s::file::wiper::ntfs
