#include "file/win/FileOutputStream.h"

#include <cstdlib>
#include <cstring>

#include "os/File.h"
#include "os/FileSystem.h"

namespace s::file::win {

using s::os::OpenMode;

FileOutputStream::FileOutputStream() = default;
FileOutputStream::~FileOutputStream() {
  resetState();
}

bool FileOutputStream::open(std::u16string_view path, bool append) {
  resetState();
  file_ = s::os::fileSystem().openFile(
      path,
      OpenMode::make(OpenMode::Access::ReadWrite, append ? OpenMode::Disposition::OpenAlways
                                                         : OpenMode::Disposition::CreateAlways));
  if (!file_) return false;
  buffer_ = static_cast<std::uint8_t*>(std::malloc(kBufferSize));
  if (buffer_ == nullptr || (append && !seekToEnd())) {
    resetState();
    return false;
  }
  return true;
}

// Hands the waiting bytes to the file. On a short write the bytes that did
// reach the file leave the buffer and the rest keep waiting.
bool FileOutputStream::writeOut() {
  if (!file_) return false;
  if (waiting_ == 0) return true;
  std::size_t done = 0;
  const bool ok = file_->write(buffer_, waiting_, done) && done == waiting_;
  if (done > 0 && done < waiting_) std::memmove(buffer_, buffer_ + done, waiting_ - done);
  waiting_ -= static_cast<std::uint32_t>(done > waiting_ ? waiting_ : done);
  return ok;
}

bool FileOutputStream::write(const void* data, std::uint32_t count, std::uint32_t& outCount) {
  outCount = 0;
  if (!file_) return false;
  if (count == 0) return true;
  if (data == nullptr) return false;
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  std::uint32_t remaining = count;
  while (remaining > 0) {
    const std::uint32_t space = kBufferSize - waiting_;
    if (space == 0) {
      if (!writeOut()) return false;
      continue;
    }
    const std::uint32_t n = remaining < space ? remaining : space;
    std::memcpy(buffer_ + waiting_, bytes + (count - remaining), n);
    waiting_ += n;
    remaining -= n;
    outCount += n;
    position_ += n;
    // A full buffer goes out only when more data follows.
    if (remaining > 0 && !writeOut()) return false;
  }
  return true;
}

bool FileOutputStream::flush() {
  return writeOut() && file_->flush();
}

bool FileOutputStream::truncateHere() {
  return flush() && file_->setEndOfFile(position_);
}

void FileOutputStream::close() {
  if (file_) {
    flush();
    file_->close();
    file_.reset();
  }
  std::free(buffer_);
  buffer_ = nullptr;
  waiting_ = 0;
}

bool FileOutputStream::seek(std::uint64_t position) {
  if (!writeOut()) return false;
  if (position == position_) return true;
  if (!file_->seek(position)) return false;
  position_ = position;
  return true;
}

bool FileOutputStream::seekToEnd() {
  std::uint64_t size = 0;
  return writeOut() && file_->size(size) && seek(size);
}

bool FileOutputStream::seekFromEnd(std::uint64_t n) {
  std::uint64_t size = 0;
  return writeOut() && file_->size(size) && n <= size && seek(size - n);
}

bool FileOutputStream::forward(std::uint64_t n) {
  return n == 0 ? isOpen() : seek(position_ + n);
}

bool FileOutputStream::backward(std::uint64_t n) {
  if (n == 0) return isOpen();
  return n <= position_ && seek(position_ - n);
}

bool FileOutputStream::read(void* buffer, std::uint32_t count, std::uint32_t& outCount) {
  outCount = 0;
  if (!file_ || buffer == nullptr || count == 0 || !writeOut()) return false;
  std::size_t done = 0;
  if (!file_->read(buffer, count, done) || done == 0) return false;
  outCount = static_cast<std::uint32_t>(done);
  position_ += done;
  return true;
}

void FileOutputStream::resetState() {
  close();
  position_ = 0;
}

void FileOutputStream::closeAndRelease() {
  close();
  release();
}

}  // namespace s::file::win
