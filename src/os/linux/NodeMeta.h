#pragma once

#include <cstdint>
#include <optional>

#include "os/FileInfo.h"
#include "os/FileTimes.h"

struct statx;

namespace s::os::linux_fs {

// Times, sizes and ntfs-3g attributes of one entry, reached either through an
// open descriptor (fd >= 0) or by a path whose last component is never
// followed.
class NodeMeta {
 public:
  static NodeMeta ofFd(int fd) { return NodeMeta(fd, nullptr); }
  static NodeMeta ofPath(const char* path) { return NodeMeta(-1, path); }

  // Kind, sizes, ids and times. False (errno set) when the entry cannot be
  // read.
  bool info(FileInfo& out) const;
  // The moment of the entry's last change of any kind - data, length,
  // times, attributes - (its status-change time) as a FILETIME. Nobody can
  // set it back. False (errno set) when it cannot be read.
  bool changeTime(std::uint64_t& out) const;

  // Sets the non-zero times: access and write through utimensat/futimens,
  // creation through ntfs-3g's "system.ntfs_crtime" where the volume has it.
  bool setTimes(const FileTimes& times) const;

  // ntfs-3g's "system.ntfs_attrib"; empty when the volume does not keep one.
  std::optional<std::uint32_t> ntfsAttributes() const;
  bool setNtfsAttributes(std::uint32_t attributes) const;

 private:
  NodeMeta(int fd, const char* path) : fd_(fd), path_(path) {}

  bool statxOf(unsigned int mask, struct statx& out) const;
  long getXattr(const char* name, void* value, unsigned long size) const;
  int setXattr(const char* name, const void* value, unsigned long size) const;

  int fd_;
  const char* path_;
};

}  // namespace s::os::linux_fs
