#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace s::os::linux_fs {

// One line of /proc/self/mountinfo, with its octal escapes undone.
struct MountEntry {
  std::string root;          // the part of the source file system mounted ("/" for a whole one)
  std::string mountPoint;    // where it is mounted, without a trailing '/'(except "/")
  std::string options;       // per-mount options ("rw,relatime")
  std::string fsType;        // "ext4", "fuse", "fuseblk", ...
  std::string source;        // "/dev/sda1", an image path, "proc", ...
  std::string superOptions;  // per-file-system options

  bool readOnly() const;
};

// Reads the mount table of the calling process.
class MountTable {
 public:
  // Parses mountinfo text; malformed lines are skipped.
  static std::vector<MountEntry> parse(std::string_view text);

  // Reads and parses /proc/self/mountinfo (or `file`). Empty on failure.
  static std::vector<MountEntry> read(const char* file = "/proc/self/mountinfo");

  // The entry whose mount point holds the absolute `path` with the longest
  // match (the last one mounted wins among equals); null when none.
  static const MountEntry* containing(const std::vector<MountEntry>& mounts, std::string_view path);

  // Whether the mount is a local disk or disk image the program may offer: a
  // whole file system from a block device, or an image mounted through FUSE
  // (ntfs-3g). Network, pseudo, overlay and bind mounts of a sub-folder are not.
  static bool eligible(const MountEntry& mount);
};

}  // namespace s::os::linux_fs
