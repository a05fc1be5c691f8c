#include "os/linux/TipJournalFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "os/FileAttributes.h"
#include "os/linux/Errno.h"
#include "os/linux/NameCodec.h"
#include "os/linux/NodeMeta.h"
#include "os/linux/UniqueFd.h"

namespace s::os::linux_fs {

namespace {

constexpr const char* kHeader = "vonq-tip-journal 1";

bool makeFolders(const std::string& dir) {
  for (std::size_t i = 1; i <= dir.size(); ++i) {
    if (i == dir.size() || dir[i] == '/') {
      const std::string part = dir.substr(0, i);
      if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
  }
  return true;
}

std::string folderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Holds an exclusive advisory lock on "<journal>.lock" while alive.
class JournalLock {
 public:
  explicit JournalLock(const std::string& journal)
      : fd_(::open((journal + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600)) {
    while (fd_.valid() && ::flock(fd_.get(), LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  bool held() const { return fd_.valid(); }

 private:
  UniqueFd fd_;
};

std::string percentEncoded(const std::string& bytes) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b > 0x20 && b < 0x7F && b != '%') {
      out += c;
    } else {
      out += '%';
      out += hex[b >> 4];
      out += hex[b & 15];
    }
  }
  return out;
}

bool percentDecoded(const std::string& text, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return false;
    char* end = nullptr;
    const std::string byte = text.substr(i + 1, 2);
    out += static_cast<char>(std::strtoul(byte.c_str(), &end, 16));
    if (*end != '\0') return false;
    i += 2;
  }
  return true;
}

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
  const char* state = std::getenv("XDG_STATE_HOME");
  std::string base;
  if (state != nullptr && state[0] == '/') {
    base = state;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return {};
    base = std::string(home) + "/.local/state";
  }
  return base + "/vonq-scrubber/tip-journal";
}

std::string TipJournalFile::encodeLine(const Entry& entry) {
  const TipRecord& r = entry.record;
  std::string bytes;
  NameCodec::encode(r.path, bytes);
  std::ostringstream line;
  line << entry.pid << ' ' << r.device << ' ' << r.fileId << ' ' << r.length << ' ' << r.extendedTo
       << ' ' << r.times.creation << ' ' << r.times.lastAccess << ' ' << r.times.lastWrite << ' '
       << r.attributes << ' ' << percentEncoded(bytes);
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
  if (in.fail() || (in >> rest) || !percentDecoded(encoded, bytes) || bytes.empty() ||
      bytes[0] != '/' || r.extendedTo < r.length) {
    return false;
  }
  r.path = NameCodec::decode(bytes);
  return true;
}

std::vector<TipJournalFile::Entry> TipJournalFile::load(const std::string& path) const {
  std::vector<Entry> list;
  std::ifstream in(path);
  std::string line;
  if (!std::getline(in, line) || line != kHeader) return list;
  while (std::getline(in, line)) {
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
  if (list.empty()) return ::unlink(path.c_str()) == 0 || errno == ENOENT;
  std::string text = std::string(kHeader) + "\n";
  for (const auto& e : list) text += encodeLine(e) + "\n";
  const std::string temp = path + ".tmp";
  ::unlink(temp.c_str());
  UniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!fd.valid() || !writeAll(fd.get(), text) || ::fsync(fd.get()) != 0 || !fd.reset() ||
      ::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  UniqueFd dir(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return !dir.valid() || ::fsync(dir.get()) == 0 || errno == EINVAL;
}

bool TipJournalFile::record(const TipRecord& record) {
  const std::string p = path();
  std::string bytes;
  if (p.empty() || !NameCodec::encode(record.path, bytes) || bytes.empty() || bytes[0] != '/') {
    return failWith(EINVAL);
  }
  if (!makeFolders(folderOf(p))) return failWith(errno);
  JournalLock lock(p);
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
  JournalLock lock(p);
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
  JournalLock lock(p);
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
