#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <utility>

namespace s::os::linux_fs {

// Windows attribute bits of entries on volumes that cannot store them, kept
// for the life of the process and keyed by device and inode. Thread-safe.
class AttributeMemory {
 public:
  // The bits last stored for the entry, or `fallback`.
  std::uint32_t get(std::uint64_t device, std::uint64_t inode, std::uint32_t fallback) const;
  void put(std::uint64_t device, std::uint64_t inode, std::uint32_t bits);
  // Forgets the entry (it was deleted, so its inode may be reused).
  void forget(std::uint64_t device, std::uint64_t inode);

 private:
  mutable std::mutex lock_;
  std::map<std::pair<std::uint64_t, std::uint64_t>, std::uint32_t> bits_;
};

}  // namespace s::os::linux_fs
