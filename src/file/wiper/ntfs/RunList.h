#pragma once

#include <cstdint>
#include <vector>

#include "file/wiper/ntfs/ByteSpan.h"

namespace s::file::wiper::ntfs {

// The run list of a non-resident attribute, decoded: where its clusters lie
// on the volume, in the attribute's order.
class RunList {
 public:
  struct Extent {
    std::uint64_t lcn = 0;  // first cluster on the volume (unused when sparse)
    std::uint64_t clusters = 0;
    bool sparse = false;  // not stored: reads as zeros
  };

  // Decodes `runs` up to its end marker. False when a run's header asks for
  // more bytes than `runs` holds or for fields wider than 8 bytes, a run has
  // no clusters, a cluster lies before the volume's start or at or past
  // `clusterCount`, or the extents pass `clusterCount` clusters in all
  // (so a crafted list cannot make a reader loop for long). Any thread.
  static bool decode(ByteSpan runs, std::uint64_t clusterCount, std::vector<Extent>& out);
};

}  // namespace s::file::wiper::ntfs
