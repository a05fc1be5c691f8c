#include "os/windows/WinFile.h"

#include <algorithm>
#include <cstring>

#include "os/windows/WinError.h"

namespace s::os::win_fs {

namespace {

constexpr std::size_t kZeroChunk = 8u << 20;
// The most one ReadFile / WriteFile is asked for (a DWORD count, kept aligned).
constexpr std::size_t kLargestCall = 1u << 30;

std::uint64_t alignDown(std::uint64_t v, std::uint64_t a) {
  return v / a * a;
}

std::uint64_t alignUp(std::uint64_t v, std::uint64_t a) {
  return (v + a - 1) / a * a;
}

OVERLAPPED at(std::uint64_t offset) {
  OVERLAPPED place{};
  place.Offset = static_cast<DWORD>(offset);
  place.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return place;
}

FILETIME filetime(std::uint64_t value) {
  FILETIME out;
  out.dwLowDateTime = static_cast<DWORD>(value);
  out.dwHighDateTime = static_cast<DWORD>(value >> 32);
  return out;
}

std::uint64_t value(const FILETIME& time) {
  return static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

// Zero-filled committed pages, given back when they go out of scope.
class Pages {
 public:
  explicit Pages(std::size_t size)
      : data_(static_cast<unsigned char*>(
            ::VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))) {}
  ~Pages() {
    if (data_ != nullptr) ::VirtualFree(data_, 0, MEM_RELEASE);
  }
  Pages(const Pages&) = delete;
  Pages& operator=(const Pages&) = delete;
  unsigned char* data() const { return data_; }

 private:
  unsigned char* data_;
};

bool stopped(const std::atomic<std::uint8_t>* stop) {
  return stop != nullptr && stop->load(std::memory_order_relaxed) != 0;
}

}  // namespace

WinFile::WinFile(UniqueHandle handle, bool unbuffered, bool flushWrites, bool exclusive)
    : handle_(std::move(handle)),
      unbuffered_(unbuffered),
      flushWrites_(flushWrites),
      exclusive_(exclusive) {}

WinFile::~WinFile() {
  if (handle_.valid()) close();
}

bool WinFile::aligned(const void* p, std::size_t count, std::uint64_t offset) const {
  return reinterpret_cast<std::uintptr_t>(p) % kAlignment == 0 && count % kAlignment == 0 &&
         offset % kAlignment == 0;
}

bool WinFile::readAt(void* buffer, std::size_t count, std::uint64_t offset, std::size_t& done) {
  done = 0;
  OVERLAPPED place = at(offset);
  DWORD got = 0;
  const auto ask = static_cast<DWORD>(std::min(count, kLargestCall));
  if (!::ReadFile(handle_.get(), buffer, ask, &got, &place)) {
    const DWORD error = ::GetLastError();
    return error == ERROR_HANDLE_EOF ? false : failWith(static_cast<std::uint32_t>(error));
  }
  done = got;
  return got > 0;
}

bool WinFile::writeAt(const void* data, std::size_t count, std::uint64_t offset,
                      std::size_t& done) {
  done = 0;
  const auto* bytes = static_cast<const unsigned char*>(data);
  while (done < count) {
    OVERLAPPED place = at(offset + done);
    DWORD wrote = 0;
    const auto ask = static_cast<DWORD>(std::min(count - done, kLargestCall));
    if (!::WriteFile(handle_.get(), bytes + done, ask, &wrote, &place)) return failWithLastError();
    if (wrote == 0) return failWith(FsError::NoSpace);
    done += wrote;
  }
  if (flushWrites_ && !::FlushFileBuffers(handle_.get())) return failWithLastError();
  return true;
}

bool WinFile::readAny(void* buffer, std::size_t count, std::uint64_t offset, std::size_t& done) {
  if (!unbuffered_ || aligned(buffer, count, offset)) return readAt(buffer, count, offset, done);
  done = 0;
  const std::uint64_t start = alignDown(offset, kAlignment);
  const std::size_t span = static_cast<std::size_t>(alignUp(offset + count, kAlignment) - start);
  Pages pages(span);
  if (pages.data() == nullptr) return failWith(FsError::Other);
  std::size_t got = 0;
  if (!readAt(pages.data(), span, start, got)) return false;
  if (got <= offset - start) return false;  // the end of the file
  done = std::min(count, static_cast<std::size_t>(got - (offset - start)));
  std::memcpy(buffer, pages.data() + (offset - start), done);
  return true;
}

bool WinFile::writeBlocks(const void* data, std::size_t count, std::uint64_t offset) {
  std::uint64_t length = 0;
  if (!size(length)) return false;
  const std::uint64_t start = alignDown(offset, kAlignment);
  const std::size_t span = static_cast<std::size_t>(alignUp(offset + count, kAlignment) - start);
  Pages pages(span);
  if (pages.data() == nullptr) return failWith(FsError::Other);
  std::size_t got = 0;
  // Blocks that hold data are read first; one that cannot be read is not
  // written back.
  if (start < length && !readAt(pages.data(), span, start, got)) return false;
  std::memcpy(pages.data() + (offset - start), data, count);
  std::size_t wrote = 0;
  if (!writeAt(pages.data(), span, start, wrote)) return false;
  const std::uint64_t end = std::max(length, offset + count);
  return start + span > end ? setLength(end) : true;
}

bool WinFile::writeAny(const void* data, std::size_t count, std::uint64_t offset) {
  std::size_t done = 0;
  return unbuffered_ && !aligned(data, count, offset) ? writeBlocks(data, count, offset)
                                                      : writeAt(data, count, offset, done);
}

bool WinFile::read(void* buffer, std::size_t count, std::size_t& done) {
  done = 0;
  if (!handle_.valid()) return failWith(FsError::Other);
  if (!readAny(buffer, count, position_, done)) return false;
  position_ += done;
  return true;
}

bool WinFile::write(const void* data, std::size_t count, std::size_t& done) {
  done = 0;
  if (!handle_.valid()) return failWith(FsError::Other);
  bool ok;
  if (unbuffered_ && !aligned(data, count, position_)) {
    ok = writeBlocks(data, count, position_);
    done = ok ? count : 0;
  } else {
    ok = writeAt(data, count, position_, done);
  }
  position_ += done;
  return ok;
}

bool WinFile::seek(std::uint64_t position) {
  if (!handle_.valid()) return failWith(FsError::Other);
  position_ = position;
  return true;
}

bool WinFile::size(std::uint64_t& out) {
  LARGE_INTEGER length{};
  if (!handle_.valid()) return failWith(FsError::Other);
  if (!::GetFileSizeEx(handle_.get(), &length)) return failWithLastError();
  out = static_cast<std::uint64_t>(length.QuadPart);
  return true;
}

bool WinFile::setLength(std::uint64_t length) {
  LARGE_INTEGER place{};
  place.QuadPart = static_cast<LONGLONG>(length);
  if (!::SetFilePointerEx(handle_.get(), place, nullptr, FILE_BEGIN) ||
      !::SetEndOfFile(handle_.get())) {
    return failWithLastError();
  }
  return true;
}

bool WinFile::allocatedAtLeast(std::uint64_t length) {
  FILE_STANDARD_INFO info{};
  if (!::GetFileInformationByHandleEx(handle_.get(), FileStandardInfo, &info, sizeof info)) {
    return false;
  }
  return static_cast<std::uint64_t>(info.AllocationSize.QuadPart) >= length;
}

bool WinFile::writeZeros(std::uint64_t from, std::uint64_t to,
                         const std::atomic<std::uint8_t>* stop, std::uint64_t& reached) {
  reached = from;
  Pages zeros(kZeroChunk);
  if (zeros.data() == nullptr) return failWith(FsError::Other);
  // The first chunk ends on an aligned offset, so the others go straight to
  // the device on an unbuffered handle.
  std::uint64_t at = from;
  while (at < to) {
    if (stopped(stop)) return failWith(FsError::Other);
    const std::uint64_t end = std::min(to, alignDown(at, kAlignment) + kZeroChunk);
    if (!writeAny(zeros.data(), static_cast<std::size_t>(end - at), at)) return false;
    at = end;
    reached = at;
  }
  return ::FlushFileBuffers(handle_.get()) ? true : failWithLastError();
}

bool WinFile::grow(std::uint64_t from, std::uint64_t to, const std::atomic<std::uint8_t>* stop,
                   std::uint64_t& reached) {
  reached = from;
  if (!setLength(to)) return false;
  if (allocatedAtLeast(to)) {
    reached = to;
    return true;
  }
  // A hole: the range takes its clusters only as it is written.
  return writeZeros(from, to, stop, reached);
}

void WinFile::cutKeepingError(std::uint64_t length) {
  const FsError reason = lastFsError();
  setLength(length);
  setLastFsError(reason);
}

bool WinFile::setEndOfFile(std::uint64_t length) {
  std::uint64_t current = 0;
  if (!size(current)) return false;
  if (length <= current) return setLength(length);
  std::uint64_t reached = current;
  if (grow(current, length, nullptr, reached)) return true;
  cutKeepingError(current);
  return false;
}

bool WinFile::setEndOfFileLazily(std::uint64_t length) {
  return handle_.valid() ? setLength(length) : failWith(FsError::Other);
}

bool WinFile::reserve(std::uint64_t length, const std::atomic<std::uint8_t>* stop,
                      std::uint64_t& reached) {
  reached = 0;
  if (!size(reached)) return false;
  if (length <= reached) return true;
  const std::uint64_t from = reached;
  if (grow(from, length, stop, reached)) return true;
  if (lastFsError() == FsError::NoSpace && reached == from) {
    // A full volume refused the whole growth at once: take what it still
    // has, in smaller steps.
    cutKeepingError(from);
    return File::reserve(length, stop, reached);
  }
  // Stopped or full while writing a hole: what was written whole is kept,
  // the rest (still a hole) is cut.
  cutKeepingError(reached);
  return false;
}

bool WinFile::flush() {
  if (!handle_.valid()) return failWith(FsError::Other);
  return ::FlushFileBuffers(handle_.get()) ? true : failWithLastError();
}

bool WinFile::getTimes(FileTimes& out) {
  FILETIME creation, access, write;
  if (!handle_.valid()) return failWith(FsError::Other);
  if (!::GetFileTime(handle_.get(), &creation, &access, &write)) return failWithLastError();
  out.creation = value(creation);
  out.lastAccess = value(access);
  out.lastWrite = value(write);
  return true;
}

bool WinFile::setTimes(const FileTimes& times) {
  if (!handle_.valid()) return failWith(FsError::Other);
  const FILETIME creation = filetime(times.creation);
  const FILETIME access = filetime(times.lastAccess);
  const FILETIME write = filetime(times.lastWrite);
  if (!::SetFileTime(handle_.get(), times.creation != 0 ? &creation : nullptr,
                     times.lastAccess != 0 ? &access : nullptr,
                     times.lastWrite != 0 ? &write : nullptr)) {
    return failWithLastError();
  }
  return true;
}

bool WinFile::holdExclusive() {
  if (!handle_.valid()) return failWith(FsError::Other);
  return exclusive_ ? true : failWith(FsError::NotSupported);
}

bool WinFile::close() {
  if (!handle_.valid()) return failWith(FsError::Other);
  return handle_.reset() ? true : failWithLastError();
}

}  // namespace s::os::win_fs
