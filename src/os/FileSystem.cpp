#include "os/FileSystem.h"

#include <atomic>

namespace s::os {

namespace {
std::atomic<FileSystem*> installed{nullptr};
}  // namespace

FileSystem& fileSystem() {
  FileSystem* current = installed.load(std::memory_order_acquire);
  return current != nullptr ? *current : platformFileSystem();
}

FileSystem* setFileSystem(FileSystem* replacement) {
  FileSystem* previous = installed.exchange(replacement, std::memory_order_acq_rel);
  return previous != nullptr ? previous : &platformFileSystem();
}

}  // namespace s::os
