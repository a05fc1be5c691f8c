#include "os/linux/AttributeMemory.h"

namespace s::os::linux_fs {

std::uint32_t AttributeMemory::get(std::uint64_t device, std::uint64_t inode,
                                   std::uint32_t fallback) const {
  std::lock_guard<std::mutex> guard(lock_);
  const auto it = bits_.find({device, inode});
  return it == bits_.end() ? fallback : it->second;
}

void AttributeMemory::put(std::uint64_t device, std::uint64_t inode, std::uint32_t bits) {
  std::lock_guard<std::mutex> guard(lock_);
  bits_[{device, inode}] = bits;
}

void AttributeMemory::forget(std::uint64_t device, std::uint64_t inode) {
  std::lock_guard<std::mutex> guard(lock_);
  bits_.erase({device, inode});
}

}  // namespace s::os::linux_fs
