#pragma once

#include <windows.h>

namespace s::os::win_fs {

// Owns one kernel handle and closes it when destroyed. Both null and
// INVALID_HANDLE_VALUE count as "none".
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE release() {
    HANDLE handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  // Closes the handle held (if any) and takes `handle`. False when closing
  // the old one failed.
  bool reset(HANDLE handle = nullptr) {
    bool ok = true;
    if (valid()) ok = ::CloseHandle(handle_) != 0;
    handle_ = handle;
    return ok;
  }

 private:
  HANDLE handle_ = nullptr;
};

}  // namespace s::os::win_fs
