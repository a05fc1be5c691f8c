#include "os/linux/NodeMeta.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>

#include <cerrno>

namespace s::os::linux_fs {

namespace {

constexpr const char* kCrtime = "system.ntfs_crtime";
constexpr const char* kAttrib = "system.ntfs_attrib";

EntryKind kindOf(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::File;
  if (S_ISDIR(mode)) return EntryKind::Folder;
  if (S_ISLNK(mode)) return EntryKind::Link;
  return EntryKind::Special;
}

std::uint64_t fromStatx(const struct statx_timestamp& t) {
  return FileTimes::fromUnix(t.tv_sec, t.tv_nsec);
}

std::uint64_t readLe64(const unsigned char* b) {
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | b[i];
  return v;
}

timespec toTimespec(std::uint64_t filetime) {
  if (filetime == 0) return timespec{0, UTIME_OMIT};
  std::int64_t sec = 0;
  std::int64_t nsec = 0;
  FileTimes::toUnix(filetime, sec, nsec);
  return timespec{static_cast<time_t>(sec), static_cast<long>(nsec)};
}

}  // namespace

long NodeMeta::getXattr(const char* name, void* value, unsigned long size) const {
  return fd_ >= 0 ? ::fgetxattr(fd_, name, value, size) : ::lgetxattr(path_, name, value, size);
}

int NodeMeta::setXattr(const char* name, const void* value, unsigned long size) const {
  return fd_ >= 0 ? ::fsetxattr(fd_, name, value, size, 0)
                  : ::lsetxattr(path_, name, value, size, 0);
}

bool NodeMeta::statxOf(unsigned int mask, struct statx& out) const {
  return (fd_ >= 0 ? ::statx(fd_, "", AT_EMPTY_PATH, mask, &out)
                   : ::statx(AT_FDCWD, path_, AT_SYMLINK_NOFOLLOW, mask, &out)) == 0;
}

bool NodeMeta::info(FileInfo& out) const {
  struct statx sx {};
  if (!statxOf(STATX_BASIC_STATS | STATX_BTIME, sx)) return false;
  out = FileInfo{};
  out.kind = kindOf(sx.stx_mode);
  out.size = sx.stx_size;
  out.allocatedSize = sx.stx_blocks * 512u;
  out.device = makedev(sx.stx_dev_major, sx.stx_dev_minor);
  out.fileId = sx.stx_ino;
  out.times.lastAccess = fromStatx(sx.stx_atime);
  out.times.lastWrite = fromStatx(sx.stx_mtime);
  if (out.kind != EntryKind::Link) {
    unsigned char crtime[8];
    if (getXattr(kCrtime, crtime, sizeof crtime) == sizeof crtime) {
      out.times.creation = readLe64(crtime);
    } else if ((sx.stx_mask & STATX_BTIME) != 0) {
      out.times.creation = fromStatx(sx.stx_btime);
    }
  }
  return true;
}

bool NodeMeta::changeTime(std::uint64_t& out) const {
  struct statx sx {};
  if (!statxOf(STATX_CTIME, sx)) return false;
  out = fromStatx(sx.stx_ctime);
  return true;
}

bool NodeMeta::setTimes(const FileTimes& times) const {
  const timespec ts[2] = {toTimespec(times.lastAccess), toTimespec(times.lastWrite)};
  const int rc =
      fd_ >= 0 ? ::futimens(fd_, ts) : ::utimensat(AT_FDCWD, path_, ts, AT_SYMLINK_NOFOLLOW);
  if (rc != 0) return false;
  if (times.creation != 0) {
    unsigned char crtime[8];
    for (int i = 0; i < 8; ++i) crtime[i] = static_cast<unsigned char>(times.creation >> (8 * i));
    // Volumes without a creation time keep theirs; that is not a failure.
    if (setXattr(kCrtime, crtime, sizeof crtime) != 0 && errno != ENOTSUP && errno != ENODATA) {
      return false;
    }
  }
  return true;
}

std::optional<std::uint32_t> NodeMeta::ntfsAttributes() const {
  unsigned char b[4];
  if (getXattr(kAttrib, b, sizeof b) != sizeof b) return std::nullopt;
  return static_cast<std::uint32_t>(b[0] | (b[1] << 8) | (b[2] << 16) |
                                    (static_cast<std::uint32_t>(b[3]) << 24));
}

bool NodeMeta::setNtfsAttributes(std::uint32_t attributes) const {
  const unsigned char b[4] = {
      static_cast<unsigned char>(attributes), static_cast<unsigned char>(attributes >> 8),
      static_cast<unsigned char>(attributes >> 16), static_cast<unsigned char>(attributes >> 24)};
  return setXattr(kAttrib, b, sizeof b) == 0;
}

}  // namespace s::os::linux_fs
