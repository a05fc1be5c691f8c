#include "file/win/FileInputStream.h"

#include "os/File.h"
#include "os/FileSystem.h"

namespace s::file::win {

FileInputStream::FileInputStream() = default;
FileInputStream::~FileInputStream() = default;

bool FileInputStream::open(std::u16string_view path) {
  resetState();
  file_ = s::os::fileSystem().openFile(path, s::os::OpenMode::read());
  return file_ != nullptr;
}

bool FileInputStream::read(void* buffer, std::uint32_t count, std::uint32_t& outCount) {
  outCount = 0;
  if (!file_ || buffer == nullptr || count == 0) return false;
  std::size_t done = 0;
  if (!file_->read(buffer, count, done) || done == 0) return false;
  outCount = static_cast<std::uint32_t>(done);
  position_ += done;
  return true;
}

void FileInputStream::close() {
  file_.reset();
}

bool FileInputStream::seek(std::uint64_t position) {
  if (!file_) return false;
  if (position == position_) return true;
  if (!file_->seek(position)) return false;
  position_ = position;
  return true;
}

bool FileInputStream::seekToEnd() {
  std::uint64_t size = 0;
  return file_ && file_->size(size) && seek(size);
}

bool FileInputStream::seekFromEnd(std::uint64_t n) {
  std::uint64_t size = 0;
  return file_ && file_->size(size) && n <= size && seek(size - n);
}

bool FileInputStream::forward(std::uint64_t n) {
  return n == 0 ? isOpen() : seek(position_ + n);
}

bool FileInputStream::backward(std::uint64_t n) {
  if (n == 0) return isOpen();
  return n <= position_ && seek(position_ - n);
}

void FileInputStream::resetState() {
  close();
  position_ = 0;
}

void FileInputStream::closeAndRelease() {
  close();
  release();
}

}  // namespace s::file::win
