#include "os/linux/LinuxFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>

#include "os/linux/Errno.h"
#include "os/linux/NodeMeta.h"

namespace s::os::linux_fs {

namespace {

constexpr std::size_t kZeroChunk = 8u << 20;

// A signal whose default action is to be ignored: a broken lease is then
// noticed through exclusiveBroken() instead of ending the process.
constexpr int kLeaseSignal = SIGURG;

std::uint64_t alignUp(std::uint64_t v, std::uint64_t a) {
  return (v + a - 1) / a * a;
}

template <typename Op>
ssize_t retrying(Op op) {
  ssize_t n;
  do {
    n = op();
  } while (n < 0 && errno == EINTR);
  return n;
}

// Page-aligned zeros for growing a file, given back when it goes out of scope.
class ZeroPages {
 public:
  explicit ZeroPages(std::size_t size) : size_(size) {
    void* p = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    data_ = p == MAP_FAILED ? nullptr : p;
  }
  ~ZeroPages() {
    if (data_ != nullptr) ::munmap(data_, size_);
  }
  ZeroPages(const ZeroPages&) = delete;
  ZeroPages& operator=(const ZeroPages&) = delete;
  const void* data() const { return data_; }

 private:
  void* data_;
  std::size_t size_;
};

}  // namespace

LinuxFile::LinuxFile(UniqueFd fd, bool direct, bool syncWrites)
    : fd_(std::move(fd)), direct_(direct), syncWrites_(syncWrites) {}

LinuxFile::~LinuxFile() {
  if (fd_.valid()) close();
}

bool LinuxFile::fail(int error) {
  return failWith(error);
}

bool LinuxFile::aligned(const void* p, std::size_t count, std::uint64_t offset) const {
  return reinterpret_cast<std::uintptr_t>(p) % kDirectAlignment == 0 &&
         count % kDirectAlignment == 0 && offset % kDirectAlignment == 0;
}

bool LinuxFile::setDirect(bool on) {
  const int flags = ::fcntl(fd_.get(), F_GETFL);
  if (flags < 0) return false;
  return ::fcntl(fd_.get(), F_SETFL, on ? (flags | O_DIRECT) : (flags & ~O_DIRECT)) == 0;
}

bool LinuxFile::read(void* buffer, std::size_t count, std::size_t& done) {
  done = 0;
  if (!fd_.valid()) return fail(EBADF);
  const bool cached = direct_ && !aligned(buffer, count, position_);
  if (cached && !setDirect(false)) return fail(errno);
  const ssize_t n = retrying([&] { return ::pread(fd_.get(), buffer, count, position_); });
  const int error = errno;
  if (cached) setDirect(true);
  if (n <= 0) return n == 0 ? false : fail(error);
  done = static_cast<std::size_t>(n);
  position_ += done;
  return true;
}

bool LinuxFile::writeAt(const void* data, std::size_t count, std::uint64_t offset,
                        std::size_t& done) {
  done = 0;
  const auto* bytes = static_cast<const unsigned char*>(data);
  while (done < count) {
    const ssize_t n =
        retrying([&] { return ::pwrite(fd_.get(), bytes + done, count - done, offset + done); });
    if (n < 0) return fail(errno);
    if (n == 0) return fail(ENOSPC);
    done += static_cast<std::size_t>(n);
  }
  if (syncWrites_ && ::fdatasync(fd_.get()) != 0) return fail(errno);
  return true;
}

bool LinuxFile::writeCached(const void* data, std::size_t count, std::uint64_t offset,
                            std::size_t& done) {
  done = 0;
  if (!setDirect(false)) return fail(errno);
  bool ok = writeAt(data, count, offset, done);
  if (ok && ::fdatasync(fd_.get()) != 0) ok = fail(errno);
  if (!setDirect(true)) {
    // Direct I/O cannot be had again: stay cached, but sync every write.
    direct_ = false;
    syncWrites_ = true;
  }
  return ok;
}

bool LinuxFile::write(const void* data, std::size_t count, std::size_t& done) {
  done = 0;
  if (!fd_.valid()) return fail(EBADF);
  const bool ok = direct_ && !aligned(data, count, position_)
                      ? writeCached(data, count, position_, done)
                      : writeAt(data, count, position_, done);
  position_ += done;
  return ok;
}

bool LinuxFile::seek(std::uint64_t position) {
  if (!fd_.valid()) return fail(EBADF);
  position_ = position;
  return true;
}

bool LinuxFile::size(std::uint64_t& out) {
  struct stat st {};
  if (!fd_.valid() || ::fstat(fd_.get(), &st) != 0) return fail(fd_.valid() ? errno : EBADF);
  out = static_cast<std::uint64_t>(st.st_size);
  return true;
}

bool LinuxFile::writeUnaligned(const void* data, std::size_t count, std::uint64_t offset) {
  std::size_t done = 0;
  return direct_ ? writeCached(data, count, offset, done) : writeAt(data, count, offset, done);
}

// Writes zeros over [from, to): the unaligned ends through the cache, the
// aligned middle in large direct writes (direct I/O is switched on for them
// where the file was opened buffered, because buffered writes followed by a
// sync crawl on ntfs-3g).
bool LinuxFile::growByWriting(std::uint64_t from, std::uint64_t to,
                              const std::atomic<std::uint8_t>* stop, std::uint64_t& reached) {
  reached = from;
  ZeroPages zeros(kZeroChunk);
  if (zeros.data() == nullptr) return fail(ENOMEM);
  const std::uint64_t head = std::min(alignUp(from, kDirectAlignment), to);
  const std::uint64_t bodyEnd = head + (to - head) / kDirectAlignment * kDirectAlignment;
  if (head > from && !writeUnaligned(zeros.data(), head - from, from)) return false;
  reached = head;
  const bool switched = !direct_ && bodyEnd > head && setDirect(true);
  bool ok = true;
  std::size_t done = 0;
  std::uint64_t chunk = kZeroChunk;
  for (std::uint64_t at = head; ok && at < bodyEnd;) {
    if (stop != nullptr && stop->load(std::memory_order_relaxed) != 0) {
      ok = fail(ECANCELED);
      break;
    }
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk, bodyEnd - at));
    const bool whole = writeAt(zeros.data(), n, at, done);
    at += whole ? n : done / kDirectAlignment * kDirectAlignment;
    reached = at;
    // A full volume may still take a smaller write: the chunk shrinks down
    // to one aligned block before the volume counts as full.
    if (!whole && (lastFsError() != FsError::NoSpace || chunk <= kDirectAlignment)) ok = false;
    if (!whole) chunk = std::max<std::uint64_t>(kDirectAlignment, chunk / 8);
  }
  if (switched) setDirect(false);
  if (!ok || (to > bodyEnd && !writeUnaligned(zeros.data(), to - bodyEnd, bodyEnd))) return false;
  reached = to;
  return ::fdatasync(fd_.get()) == 0 ? true : fail(errno);
}

bool LinuxFile::setEndOfFile(std::uint64_t length) {
  std::uint64_t current = 0;
  if (!size(current)) return false;
  if (length <= current) {
    return ::ftruncate(fd_.get(), static_cast<off_t>(length)) == 0 ? true : fail(errno);
  }
  if (::fallocate(fd_.get(), 0, static_cast<off_t>(current),
                  static_cast<off_t>(length - current)) == 0) {
    return true;
  }
  const int error = errno;
  bool ok = false;
  std::uint64_t reached = current;
  if (error == EOPNOTSUPP || error == ENOSYS) {
    ok = growByWriting(current, length, nullptr, reached);
  } else {
    fail(error);
  }
  if (!ok) cutKeepingError(current);
  return ok;
}

// Cuts the file to `length` after a failed growth, keeping the failure
// recorded for the caller.
void LinuxFile::cutKeepingError(std::uint64_t length) {
  const FsError reason = lastFsError();
  const int cut = ::ftruncate(fd_.get(), static_cast<off_t>(length));
  (void)cut;
  setLastFsError(reason);
}

bool LinuxFile::reserve(std::uint64_t length, const std::atomic<std::uint8_t>* stop,
                        std::uint64_t& reached) {
  reached = 0;
  if (!size(reached)) return false;
  if (length <= reached) return true;
  if (::fallocate(fd_.get(), 0, static_cast<off_t>(reached),
                  static_cast<off_t>(length - reached)) == 0) {
    reached = length;
    return true;
  }
  const int error = errno;
  // A full volume: take what it still has, in smaller steps.
  if (error == ENOSPC) return File::reserve(length, stop, reached);
  if (error != EOPNOTSUPP && error != ENOSYS) return fail(error);
  // No allocation without writing here (ntfs-3g, vfat): zeros are written,
  // and what was written whole is kept when the volume fills or the caller
  // stops - the last partial chunk is cut, so no sparse tail is left.
  const std::uint64_t from = reached;
  if (growByWriting(from, length, stop, reached)) return true;
  cutKeepingError(reached);
  return false;
}

bool LinuxFile::setEndOfFileLazily(std::uint64_t length) {
  std::uint64_t current = 0;
  if (!size(current)) return false;
  if (length > current && ::fallocate(fd_.get(), 0, static_cast<off_t>(current),
                                      static_cast<off_t>(length - current)) == 0) {
    return true;
  }
  // No allocation without writing here: the writes that follow allocate.
  return ::ftruncate(fd_.get(), static_cast<off_t>(length)) == 0 ? true : fail(errno);
}

bool LinuxFile::flush() {
  if (!fd_.valid()) return fail(EBADF);
  return ::fdatasync(fd_.get()) == 0 ? true : fail(errno);
}

bool LinuxFile::getTimes(FileTimes& out) {
  FileInfo info;
  if (!fd_.valid()) return fail(EBADF);
  if (!NodeMeta::ofFd(fd_.get()).info(info)) return fail(errno);
  out = info.times;
  return true;
}

bool LinuxFile::setTimes(const FileTimes& times) {
  if (!fd_.valid()) return fail(EBADF);
  return NodeMeta::ofFd(fd_.get()).setTimes(times) ? true : fail(errno);
}

int LinuxFile::takeLease(int fd) {
  if (::fcntl(fd, F_SETSIG, kLeaseSignal) != 0) return errno;
  return ::fcntl(fd, F_SETLEASE, F_WRLCK) == 0 ? 0 : errno;
}

bool LinuxFile::holdExclusive() {
  if (!fd_.valid()) return fail(EBADF);
  if (leased_) return true;
  const int error = takeLease(fd_.get());
  if (error != 0) return fail(error);
  leased_ = true;
  return true;
}

bool LinuxFile::exclusiveBroken() {
  return leased_ && ::fcntl(fd_.get(), F_GETLEASE) != F_WRLCK;
}

void LinuxFile::releaseExclusive() {
  if (leased_) ::fcntl(fd_.get(), F_SETLEASE, F_UNLCK);
  leased_ = false;
}

bool LinuxFile::close() {
  if (!fd_.valid()) return fail(EBADF);
  releaseExclusive();
  return fd_.reset() ? true : fail(errno);
}

}  // namespace s::os::linux_fs
