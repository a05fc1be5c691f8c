#include "os/linux/TipJournalFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <sstream>

#include "os/FileAttributes.h"
#include "os/linux/Errno.h"
#include "os/linux/JournalStore.h"
#include "os/linux/NameCodec.h"
#include "os/linux/NodeMeta.h"
#include "os/linux/UniqueFd.h"

namespace s::os::linux_fs {

namespace {

constexpr const char* kHeader = "vonq-tip-journal 1";

// Whether the process that wrote a record is still running (and so still
// owns the file it extended). Our own id belongs to an earlier process.
bool writerRunning(long pid) {
  if (pid <= 0 || pid == static_cast<long>(::getpid())) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// Puts the recorded attributes back through `fd`: ntfs-3g keeps them in an
// extended attribute; elsewhere only read-only is stored (as the write bits).
void restoreAttributes(int fd, std::uint32_t attributes) {
  using A = FileAttributes;
  const NodeMeta node = NodeMeta::ofFd(fd);
  if (node.ntfsAttributes()) {
    std::uint32_t bits = attributes & A::kSettable;
    if ((bits & ~A::kNormal) != 0) bits &= ~A::kNormal;
    node.setNtfsAttributes(bits == 0 ? A::kNormal : bits);
    return;
  }
  struct stat st {};
  if ((attributes & A::kReadOnly) != 0 && ::fstat(fd, &st) == 0) ::fchmod(fd, st.st_mode & 07555);
}

// Cuts the file open as `fd` back to `length`, opening it for writing
// through the descriptor itself (never by its name again).
bool cutBack(int fd, std::uint64_t length) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  UniqueFd rw(::open(self.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat st {};
  if (!rw.valid() && errno == EACCES && ::fstat(fd, &st) == 0 &&
      ::fchmod(fd, st.st_mode | S_IWUSR) == 0) {
    rw.reset(::open(self.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
  }
  return rw.valid() && ::ftruncate(rw.get(), static_cast<off_t>(length)) == 0 &&
         ::fdatasync(rw.get()) == 0;
}

}  // namespace

std::string TipJournalFile::defaultPath() {
  return JournalStore::defaultPath("tip-journal");
}

std::string TipJournalFile::encodeLine(const Entry& entry) {
  const TipRecord& r = entry.record;
  std::string bytes;
  NameCodec::encode(r.path, bytes);
  std::ostringstream line;
  line << entry.pid << ' ' << r.device << ' ' << r.fileId << ' ' << r.length << ' ' << r.extendedTo
       << ' ' << r.times.creation << ' ' << r.times.lastAccess << ' ' << r.times.lastWrite << ' '
       << r.attributes << ' ' << JournalStore::percentEncoded(bytes);
  return line.str();
}

bool TipJournalFile::decodeLine(const std::string& line, Entry& out) {
  std::istringstream in(line);
  TipRecord& r = out.record;
  std::string encoded;
  in >> out.pid >> r.device >> r.fileId >> r.length >> r.extendedTo >> r.times.creation >>
      r.times.lastAccess >> r.times.lastWrite >> r.attributes >> encoded;
  std::string rest;
  std::string bytes;
  if (in.fail() || (in >> rest) || !JournalStore::percentDecoded(encoded, bytes) || bytes.empty() ||
      bytes[0] != '/' || r.extendedTo < r.length) {
    return false;
  }
  r.path = NameCodec::decode(bytes);
  return true;
}

std::vector<TipJournalFile::Entry> TipJournalFile::load(const std::string& path) const {
  std::vector<Entry> list;
  for (const auto& line : JournalStore(path, kHeader).lines()) {
    Entry e;
    if (decodeLine(line, e)) list.push_back(std::move(e));
  }
  return list;
}

std::vector<TipJournalFile::Entry> TipJournalFile::entries() const {
  const std::string p = path();
  return p.empty() ? std::vector<Entry>() : load(p);
}

bool TipJournalFile::save(const std::string& path, const std::vector<Entry>& list) const {
  std::vector<std::string> lines;
  for (const auto& e : list) lines.push_back(encodeLine(e));
  return JournalStore(path, kHeader).save(lines);
}

bool TipJournalFile::usable() {
  const std::string p = path();
  if (p.empty()) return failWith(EINVAL);
  if (!JournalStore(p, kHeader).makeFolders()) return failWith(errno);
  JournalStore::Lock lock(p);
  return lock.held() ? true : failWith(errno);
}

bool TipJournalFile::record(const TipRecord& record) {
  const std::string p = path();
  std::string bytes;
  if (p.empty() || !NameCodec::encode(record.path, bytes) || bytes.empty() || bytes[0] != '/') {
    return failWith(EINVAL);
  }
  if (!JournalStore(p, kHeader).makeFolders()) return failWith(errno);
  JournalStore::Lock lock(p);
  if (!lock.held()) return failWith(errno);
  auto list = load(p);
  std::erase_if(list, [&](const Entry& e) {
    return e.record.path == record.path && e.record.fileId == record.fileId;
  });
  list.push_back(Entry{static_cast<long>(::getpid()), record});
  return save(p, list) ? true : failWith(errno);
}

bool TipJournalFile::forget(const TipRecord& record) {
  const std::string p = path();
  if (p.empty()) return failWith(EINVAL);
  JournalStore::Lock lock(p);
  if (!lock.held()) return failWith(errno);
  auto list = load(p);
  std::erase_if(list, [&](const Entry& e) {
    return e.record.path == record.path && e.record.fileId == record.fileId;
  });
  return save(p, list) ? true : failWith(errno);
}

TipJournalFile::Outcome TipJournalFile::repair(const TipRecord& r) {
  std::string bytes;
  if (!NameCodec::encode(r.path, bytes)) return Outcome::Untouched;
  // Non-blocking: a file someone holds a lease on is being worked on now.
  UniqueFd fd(::open(bytes.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.valid()) {
    return errno == ENOENT || errno == ELOOP || errno == ENOTDIR ? Outcome::Untouched
                                                                 : Outcome::Failed;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return Outcome::Failed;
  const auto size = static_cast<std::uint64_t>(st.st_size);
  if (!S_ISREG(st.st_mode) || st.st_dev != r.device || st.st_ino != r.fileId || size < r.length ||
      size > r.extendedTo) {
    return Outcome::Untouched;
  }
  // Inode numbers are reused at once by some volumes: a file made since under
  // the same name is told apart by its creation time.
  FileInfo now;
  if (!NodeMeta::ofFd(fd.get()).info(now)) return Outcome::Failed;
  if (r.times.creation != 0 && now.times.creation != 0 && now.times.creation != r.times.creation) {
    return Outcome::Untouched;
  }
  if (size > r.length && !cutBack(fd.get(), r.length)) return Outcome::Failed;
  restoreAttributes(fd.get(), r.attributes);
  return NodeMeta::ofFd(fd.get()).setTimes(r.times) ? Outcome::Repaired : Outcome::Failed;
}

std::size_t TipJournalFile::replay() {
  const std::string p = path();
  if (p.empty()) return 0;
  JournalStore::Lock lock(p);
  if (!lock.held()) return 0;
  std::vector<Entry> kept;
  std::size_t repaired = 0;
  for (const auto& e : load(p)) {
    if (writerRunning(e.pid)) {
      kept.push_back(e);
      continue;
    }
    switch (repair(e.record)) {
      case Outcome::Repaired:
        ++repaired;
        break;
      case Outcome::Failed:
        kept.push_back(e);
        break;
      case Outcome::Untouched:
        break;
    }
  }
  save(p, kept);
  return repaired;
}

}  // namespace s::os::linux_fs

namespace s::os {

TipJournal& platformTipJournal() {
  static linux_fs::TipJournalFile instance;
  return instance;
}

}  // namespace s::os
