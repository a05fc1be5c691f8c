#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "file/IFileInputStream.h"
#include "thread/Pooled.h"

namespace s::os {
class File;
}

namespace s::file::win {

// A readable stream straight on a file (no buffer of its own). Opened by
// PathWin::openInputStream; pooled (cap 1000). One thread at a time.
class FileInputStream : public s::file::IFileInputStream, public virtual s::base::IObject {
  VONQ_POOLED(FileInputStream, s::thread::kPoolCap)
 public:
  FileInputStream();
  ~FileInputStream() override;

  // Opens `path` for reading (existing files only; a link is never
  // followed). False, and no handle, when it cannot be opened. Closes what
  // was open before.
  bool open(std::u16string_view path);

  bool read(void* buffer, std::uint32_t count, std::uint32_t& outCount) override;
  void close() override;
  std::uint64_t getPosition() override { return position_; }
  bool isSeekable() override { return true; }
  bool seekToStart() override { return seek(0); }
  bool seekToEnd() override;
  bool seek(std::uint64_t position) override;
  bool seekFromEnd(std::uint64_t n) override;
  bool forward(std::uint64_t n) override;
  bool backward(std::uint64_t n) override;

  bool isOpen() const override { return file_ != nullptr; }
  void resetState() override;
  void closeAndRelease() override;

  void reset() override { resetState(); }
  const char16_t* getClassName() const override { return u"s_file_win_FileInputStream"; }

 private:
  std::unique_ptr<s::os::File> file_;
  std::uint64_t position_ = 0;
};

}  // namespace s::file::win
