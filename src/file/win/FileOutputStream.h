#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "file/IFileOutputStream.h"
#include "io/IInputStream.h"
#include "thread/Pooled.h"

namespace s::os {
class File;
}

namespace s::file::win {

// A writable stream on a file with one 65,536-byte buffer (from the C heap,
// present while the stream is open). Its input face reads from the same
// file at the current position, after the waiting bytes were written out.
// Opened by PathWin::openOutputStream; pooled (cap 1000). One thread at a
// time.
class FileOutputStream : public s::file::IFileOutputStream,
                         public s::io::IInputStream,
                         public virtual s::base::IObject {
  VONQ_POOLED(FileOutputStream, s::thread::kPoolCap)
 public:
  FileOutputStream();
  ~FileOutputStream() override;

  // Opens `path` for reading and writing: created, or emptied, or (with
  // `append`) kept and positioned at its end. A link is never followed.
  // False, and no handle, when it cannot be opened. Closes what was open.
  bool open(std::u16string_view path, bool append);

  // Output face (IOutputStream).
  bool write(const void* data, std::uint32_t count, std::uint32_t& outCount) override;
  bool flush() override;
  bool truncateHere() override;
  // Flushes (errors not reported), closes the file, frees the buffer.
  void close() override;
  std::uint64_t getPosition() override { return position_; }
  bool isSeekable() override { return true; }
  bool seekToStart() override { return seek(0); }
  bool seekToEnd() override;
  bool seek(std::uint64_t position) override;
  bool seekFromEnd(std::uint64_t n) override;
  bool forward(std::uint64_t n) override;
  bool backward(std::uint64_t n) override;

  // Input face (IInputStream).
  bool read(void* buffer, std::uint32_t count, std::uint32_t& outCount) override;

  bool isOpen() const override { return file_ != nullptr; }
  std::uint32_t getWaitingCount() const override { return waiting_; }
  void resetState() override;
  void closeAndRelease() override;

  void reset() override { resetState(); }
  const char16_t* getClassName() const override { return u"s_file_win_FileOutputStream"; }

 private:
  bool writeOut();

  std::unique_ptr<s::os::File> file_;
  std::uint8_t* buffer_ = nullptr;
  std::uint32_t waiting_ = 0;
  std::uint64_t position_ = 0;
};

}  // namespace s::file::win
