#pragma once

#include <cstdint>

namespace s::os {

// Windows file attribute bits, the values the program stores and compares.
// On Linux they live in ntfs-3g's "system.ntfs_attrib"; elsewhere read-only
// maps to the write permission bits and the other bits are kept in memory
// only, for the life of the process (see FileSystem::getAttributes).
struct FileAttributes {
  static constexpr std::uint32_t kReadOnly = 0x1;
  static constexpr std::uint32_t kHidden = 0x2;
  static constexpr std::uint32_t kSystem = 0x4;
  static constexpr std::uint32_t kDirectory = 0x10;
  static constexpr std::uint32_t kArchive = 0x20;
  static constexpr std::uint32_t kNormal = 0x80;
  static constexpr std::uint32_t kTemporary = 0x100;
  static constexpr std::uint32_t kSparse = 0x200;
  static constexpr std::uint32_t kReparsePoint = 0x400;
  static constexpr std::uint32_t kCompressed = 0x800;
  static constexpr std::uint32_t kOffline = 0x1000;
  static constexpr std::uint32_t kNotContentIndexed = 0x2000;
  static constexpr std::uint32_t kEncrypted = 0x4000;
  static constexpr std::uint32_t kInvalid = 0xFFFFFFFFu;

  // The bits a caller may set; the others are the file system's to decide.
  static constexpr std::uint32_t kSettable = kReadOnly | kHidden | kSystem | kArchive | kNormal |
                                             kTemporary | kOffline | kNotContentIndexed;
};

}  // namespace s::os
