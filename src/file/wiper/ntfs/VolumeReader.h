#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "file/wiper/ntfs/RunList.h"
#include "os/File.h"

namespace s::file::wiper::ntfs {

// Raw reads of a volume's device or image, opened read-only by the
// platform layer: at byte positions, or at positions inside an attribute
// whose clusters a run list places. One thread at a time.
class VolumeReader {
 public:
  VolumeReader(s::os::File& source, std::uint32_t clusterSize, std::uint64_t clusterCount)
      : source_(source), clusterSize_(clusterSize), clusterCount_(clusterCount) {}

  std::uint32_t clusterSize() const { return clusterSize_; }
  std::uint64_t clusterCount() const { return clusterCount_; }

  // Reads `count` bytes at volume position `offset`. False when any of them
  // cannot be read (the end of the device, an I/O error).
  bool read(std::uint64_t offset, std::uint8_t* buffer, std::size_t count);

  // Reads `count` bytes at position `from` of the attribute laid out by
  // `extents` (sparse parts read as zeros). False when the range lies past
  // the extents or cannot be read.
  bool read(const std::vector<RunList::Extent>& extents, std::uint64_t from, std::uint8_t* buffer,
            std::size_t count);

 private:
  s::os::File& source_;
  std::uint32_t clusterSize_;
  std::uint64_t clusterCount_;
};

}  // namespace s::file::wiper::ntfs
