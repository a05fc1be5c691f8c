#include "os/linux/TipJournalFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "os/FileAttributes.h"
#include "os/linux/Errno.h"
#include "os/linux/JournalStore.h"
#include "os/linux/NameCodec.h"
#include "os/linux/NodeMeta.h"
#include "os/linux/UniqueFd.h"

namespace s::os::linux_fs {

namespace {

constexpr const char* kHeader = "vonq-tip-journal 1";

// The attributes as a volume keeps them: the settable bits, normal only
// alone.
std::uint32_t settled(std::uint32_t attributes) {
  using A = FileAttributes;
  std::uint32_t bits = attributes & A::kSettable;
  if ((bits & ~A::kNormal) != 0) bits &= ~A::kNormal;
  return bits == 0 ? A::kNormal : bits;
}

// Whether the open file has `attributes`: all of them where ntfs-3g keeps
// them (but archive, which every write sets), elsewhere read-only alone (the
// write bits), the only one stored.
bool attributesAre(int fd, std::uint32_t attributes) {
  if (const auto kept = NodeMeta::ofFd(fd).ntfsAttributes()) {
    constexpr std::uint32_t kArchive = FileAttributes::kArchive;
    return settled(*kept & ~kArchive) == settled(attributes & ~kArchive);
  }
  struct stat st {};
  return ::fstat(fd, &st) == 0 &&
         ((st.st_mode & S_IWUSR) == 0) == ((attributes & FileAttributes::kReadOnly) != 0);
}

// Puts the recorded attributes back through `fd`: ntfs-3g keeps them in an
// extended attribute; elsewhere only read-only is stored (as the write bits).
void restoreAttributes(int fd, std::uint32_t attributes) {
  const NodeMeta node = NodeMeta::ofFd(fd);
  if (node.ntfsAttributes()) {
    node.setNtfsAttributes(settled(attributes));
    return;
  }
  struct stat st {};
  if ((attributes & FileAttributes::kReadOnly) != 0 && ::fstat(fd, &st) == 0) {
    ::fchmod(fd, st.st_mode & 07555);
  }
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

// Whether the bytes of the open file from `from` to `to` are the ones the
// tip write of `seed` puts there.
bool holdsTipPattern(int fd, std::uint64_t seed, std::uint64_t from, std::uint64_t to) {
  const std::size_t count = static_cast<std::size_t>(to - from);
  std::vector<std::uint8_t> expected(count);
  std::vector<std::uint8_t> found(count);
  tipPattern(seed, expected.data(), count);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n =
        ::pread(fd, found.data() + done, count - done, static_cast<off_t>(from + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return found == expected;
}

bool number(const std::string& text, std::uint64_t& out) {
  char* end = nullptr;
  out = std::strtoull(text.c_str(), &end, 10);
  return !text.empty() && text[0] != '-' && *end == '\0';
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
  line << entry.writer.text() << ' ' << r.device << ' ' << r.fileId << ' ' << r.length << ' '
       << r.extendedTo << ' ' << r.times.creation << ' ' << r.times.lastAccess << ' '
       << r.times.lastWrite << ' ' << r.attributes << ' ' << r.seed << ' '
       << JournalStore::percentEncoded(bytes);
  return line.str();
}

// "<writer> <device> <inode> <length> <grown> <3 times> <attributes> <seed>
// <path>", or the older "<pid> <device> ... <attributes> <path>" without a
// seed.
bool TipJournalFile::decodeLine(const std::string& line, Entry& out) {
  std::istringstream in(line);
  std::vector<std::string> fields;
  for (std::string field; in >> field;) fields.push_back(field);
  const bool older = fields.size() == 10;
  if (!older && fields.size() != 11) return false;
  out = Entry{};
  std::uint64_t pid = 0;
  if (older) {
    if (!number(fields[0], pid) || pid == 0) return false;
    out.writer = ProcessStamp{static_cast<long>(pid), ProcessStamp::kAnyStart};
  } else if (!ProcessStamp::parse(fields[0], out.writer)) {
    return false;
  }
  TipRecord& r = out.record;
  std::uint64_t attributes = 0;
  const bool numbers = number(fields[1], r.device) && number(fields[2], r.fileId) &&
                       number(fields[3], r.length) && number(fields[4], r.extendedTo) &&
                       number(fields[5], r.times.creation) &&
                       number(fields[6], r.times.lastAccess) &&
                       number(fields[7], r.times.lastWrite) && number(fields[8], attributes) &&
                       attributes <= 0xFFFFFFFFu && (older || number(fields[9], r.seed));
  std::string bytes;
  if (!numbers || !JournalStore::percentDecoded(fields.back(), bytes) || bytes.empty() ||
      bytes[0] != '/' || r.extendedTo < r.length) {
    return false;
  }
  r.attributes = static_cast<std::uint32_t>(attributes);
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
  FileInfo now;
  if (!NodeMeta::ofPath(bytes.c_str()).info(now)) return failWith(errno);
  if (now.device != record.device || now.fileId != record.fileId) return failWith(ESTALE);
  if (!JournalStore(p, kHeader).makeFolders()) return failWith(errno);
  JournalStore::Lock lock(p);
  if (!lock.held()) return failWith(errno);
  auto list = load(p);
  std::erase_if(list, [&](const Entry& e) {
    return e.record.path == record.path && e.record.fileId == record.fileId;
  });
  list.push_back(Entry{ProcessStamp::self(), record});
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

// The states the tip write can leave a file in, each told apart from a
// change by someone else: of the recorded length and modification time with
// the recorded attributes (untouched, or whole again: nothing to do) or the
// while-writing ones (before the write, or after the times were put back);
// grown by nothing but the tip pattern, last changed by that write
// (modification and change time are one moment, as a write leaves them;
// setting times or attributes since parts them). Whatever else is found was
// changed by someone after the record and is left alone.
TipJournalFile::Outcome TipJournalFile::repair(const Entry& entry) {
  const TipRecord& r = entry.record;
  std::string bytes;
  if (!NameCodec::encode(r.path, bytes)) return Outcome::Nothing;
  // Non-blocking: a file someone holds a lease on is being worked on now.
  UniqueFd fd(::open(bytes.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.valid()) {
    return errno == ENOENT || errno == ELOOP || errno == ENOTDIR ? Outcome::Nothing
                                                                 : Outcome::Failed;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return Outcome::Failed;
  if (!S_ISREG(st.st_mode) || st.st_dev != r.device || st.st_ino != r.fileId) {
    return Outcome::Nothing;
  }
  // Inode numbers are reused at once by some volumes: a file made since under
  // the same name is told apart by its creation time.
  const NodeMeta node = NodeMeta::ofFd(fd.get());
  FileInfo now;
  std::uint64_t changed = 0;
  if (!node.info(now) || !node.changeTime(changed)) return Outcome::Failed;
  if (r.times.creation != 0 && now.times.creation != 0 && now.times.creation != r.times.creation) {
    return Outcome::Nothing;
  }
  const bool ownAttributes =
      attributesAre(fd.get(), r.attributes) || attributesAre(fd.get(), kWhileWriting);
  if (now.size == r.length && now.times.lastWrite == r.times.lastWrite) {
    if (attributesAre(fd.get(), r.attributes)) return Outcome::Nothing;
    if (!ownAttributes) return Outcome::LeftAlone;
  } else if (now.size <= r.length || now.size > r.extendedTo || r.seed == 0 ||
             now.times.lastWrite != changed || !ownAttributes ||
             !holdsTipPattern(fd.get(), r.seed, r.length, now.size)) {
    return Outcome::LeftAlone;
  }
  if (now.size > r.length && !cutBack(fd.get(), r.length)) return Outcome::Failed;
  restoreAttributes(fd.get(), r.attributes);
  return node.setTimes(r.times) ? Outcome::Repaired : Outcome::Failed;
}

std::size_t TipJournalFile::replay(std::vector<std::u16string>& leftAlone) {
  const std::string p = path();
  if (p.empty()) return 0;
  JournalStore::Lock lock(p);
  if (!lock.held()) return 0;
  std::vector<Entry> kept;
  std::size_t repaired = 0;
  for (const auto& e : load(p)) {
    if (e.writer.runningElsewhere()) {
      kept.push_back(e);
      continue;
    }
    switch (repair(e)) {
      case Outcome::Repaired:
        ++repaired;
        break;
      case Outcome::LeftAlone:
        leftAlone.push_back(e.record.path);
        break;
      case Outcome::Failed:
        kept.push_back(e);
        break;
      case Outcome::Nothing:
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
