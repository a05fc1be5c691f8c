#include "file/wiper/ntfs/VolumeReader.h"

#include <algorithm>
#include <cstring>

namespace s::file::wiper::ntfs {

bool VolumeReader::read(std::uint64_t offset, std::uint8_t* buffer, std::size_t count) {
  if (!source_.seek(offset)) return false;
  std::size_t total = 0;
  while (total < count) {
    std::size_t done = 0;
    if (!source_.read(buffer + total, count - total, done) || done == 0) return false;
    total += done;
  }
  return true;
}

bool VolumeReader::read(const std::vector<RunList::Extent>& extents, std::uint64_t from,
                        std::uint8_t* buffer, std::size_t count) {
  std::uint64_t start = 0;  // the attribute position where the extent begins
  for (const RunList::Extent& e : extents) {
    const std::uint64_t length = e.clusters * clusterSize_;
    if (count > 0 && from < start + length) {
      const std::uint64_t inside = from - start;
      const std::size_t n =
          static_cast<std::size_t>(std::min<std::uint64_t>(count, length - inside));
      if (e.sparse) {
        std::memset(buffer, 0, n);
      } else if (!read(e.lcn * clusterSize_ + inside, buffer, n)) {
        return false;
      }
      buffer += n;
      from += n;
      count -= n;
    }
    start += length;
  }
  return count == 0;
}

}  // namespace s::file::wiper::ntfs
