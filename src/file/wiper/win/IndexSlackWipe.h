#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "file/wiper/Shortfall.h"
#include "file/wiper/ntfs/FolderSlack.h"

namespace s::file::wiper::win {

class EngineOperation;

// The index part of the FileEntries operation (NTFS only). A read-only
// audit of the volume's MFT and folder indexes names every folder whose
// index still holds old names after its live entries; in each such folder
// it can write, empty temporary files are made whose names land in those
// parts of the index and fill their room (see ntfs::SlackFill), then removed
// again, and the folder's times are put back. Nothing else in the folder
// changes. Every batch of temporary files is journalled before the first is
// made, so a crash leaves nothing the next start does not remove. Folders are
// found by walking the volume from its root: links are not followed and
// other mounts not entered. Engine's thread only.
class IndexSlackWipe {
 public:
  // Progress moves from `from` to `to` over the folders.
  IndexSlackWipe(EngineOperation& operation, float from, float to)
      : operation_(operation), from_(from), to_(to) {}

  // Returns None when every folder that needed it was filled or skipped
  // (skipped folders - not writable, or with no part new names can reach -
  // are counted in the report); VolumeUnreadable when the volume cannot be
  // read (nothing is made); CannotCreate when the journal cannot be written
  // or a file could not be made for another reason than a taken name or a
  // full volume; Cancelled when the skip flag was set (what was made is
  // removed first); LeftBehind when a temporary file could not be removed.
  Shortfall run();

 private:
  // The folders of `wanted` (by MFT record number) found under the root.
  std::map<std::uint64_t, std::u16string> findFolders(
      const std::vector<s::file::wiper::ntfs::FolderSlack>& wanted) const;
  Shortfall fill(const std::u16string& folder,
                 const std::vector<s::file::wiper::ntfs::SlackPart>& parts);
  // Makes the files of `paths` it can, in order, into `made`; stops at a
  // name it may not or cannot make (None) or at another failure (CannotCreate).
  Shortfall make(const std::vector<std::u16string>& paths, std::vector<std::u16string>& made);
  Shortfall removeAll(const std::vector<std::u16string>& made);

  EngineOperation& operation_;
  float from_;
  float to_;
};

}  // namespace s::file::wiper::win
