#include "os/linux/PendingDeletions.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <set>

#include "os/linux/Errno.h"
#include "os/linux/JournalStore.h"
#include "os/linux/UniqueFd.h"

namespace s::os::linux_fs {

namespace {

constexpr const char* kHeader = "vonq-pending-deletions 1";

// Opens the folder that holds the last component of `path`, walking from "/"
// without following a link in any component. Invalid fd with errno set
// (ELOOP / ENOTDIR for a link on the way, ENOENT when something is gone).
UniqueFd openParentNoFollow(const std::string& path, std::string& name) {
  UniqueFd dir(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
  std::size_t pos = 1;
  while (dir.valid()) {
    const auto slash = path.find('/', pos);
    if (slash == std::string::npos) {
      name = path.substr(pos);
      return dir;
    }
    const std::string part = path.substr(pos, slash - pos);
    pos = slash + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      errno = ELOOP;
      return UniqueFd();
    }
    dir =
        UniqueFd(::openat(dir.get(), part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  }
  return dir;
}

// Empties and removes the folder `name` in `parent`, staying on `device`:
// links are removed as links, nothing of another mount is touched.
bool removeTree(int parent, const std::string& name, dev_t device) {
  UniqueFd fd(::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  struct stat st {};
  if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || st.st_dev != device) return false;
  const int listFd = ::dup(fd.get());
  DIR* dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
  if (dir == nullptr) {
    if (listFd >= 0) ::close(listFd);
    return false;
  }
  bool ok = true;
  while (dirent* e = ::readdir(dir)) {
    const std::string child = e->d_name;
    if (child == "." || child == "..") continue;
    struct stat cs {};
    if (::fstatat(fd.get(), child.c_str(), &cs, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (cs.st_dev != device) {
      ok = false;
    } else if (S_ISDIR(cs.st_mode)) {
      ok = removeTree(fd.get(), child, device) && ok;
    } else if (::unlinkat(fd.get(), child.c_str(), 0) != 0 && errno != ENOENT) {
      ok = false;
    }
  }
  ::closedir(dir);
  return ok && ::unlinkat(parent, name.c_str(), AT_REMOVEDIR) == 0;
}

}  // namespace

JournalStore PendingDeletions::store() const {
  return JournalStore(path_, kHeader);
}

std::string PendingDeletions::defaultPath() {
  return JournalStore::defaultPath("pending-deletions");
}

std::string PendingDeletions::encodeLine(const Entry& entry) {
  return std::string(1, entry.kind) + ' ' + std::to_string(entry.inode) + ' ' +
         entry.writer.text() + ' ' + JournalStore::percentEncoded(entry.path);
}

// "<kind> <inode> [<writer>] <path>": an encoded path always starts with '/',
// a writer never does.
bool PendingDeletions::decodeLine(const std::string& line, Entry& out) {
  const auto first = line.find(' ');
  auto second = first == std::string::npos ? first : line.find(' ', first + 1);
  if (first != 1 || second == std::string::npos ||
      (line[0] != 'F' && line[0] != 'D' && line[0] != 'N')) {
    return false;
  }
  out.kind = line[0];
  char* end = nullptr;
  const std::string number = line.substr(2, second - 2);
  out.inode = std::strtoull(number.c_str(), &end, 10);
  if (number.empty() || *end != '\0') return false;
  out.writer = ProcessStamp();
  if (line.compare(second + 1, 1, "/") != 0) {
    const auto third = line.find(' ', second + 1);
    if (third == std::string::npos ||
        !ProcessStamp::parse(line.substr(second + 1, third - second - 1), out.writer)) {
      return false;
    }
    second = third;
  }
  return JournalStore::percentDecoded(line.substr(second + 1), out.path) && !out.path.empty() &&
         out.path[0] == '/';
}

std::vector<PendingDeletions::Entry> PendingDeletions::entries() const {
  std::vector<Entry> list;
  for (const auto& line : store().lines()) {
    Entry e;
    if (decodeLine(line, e)) list.push_back(std::move(e));
  }
  return list;
}

bool PendingDeletions::save(const std::vector<Entry>& list) const {
  std::vector<std::string> lines;
  for (const auto& e : list) lines.push_back(encodeLine(e));
  return store().save(lines);
}

bool PendingDeletions::addAs(const std::string& path, const std::string& current) {
  struct stat st {};
  if (path.empty() || path[0] != '/') return failWith(EINVAL);
  if (::lstat(current.c_str(), &st) != 0) return failWith(errno);
  return addAll({Entry{S_ISDIR(st.st_mode) ? 'D' : 'F', static_cast<std::uint64_t>(st.st_ino), path,
                       ProcessStamp::self()}});
}

bool PendingDeletions::addNew(const std::vector<std::string>& paths) {
  std::vector<Entry> added;
  for (const std::string& path : paths) {
    if (path.empty() || path[0] != '/') return failWith(EINVAL);
    added.push_back(Entry{'N', 0, path, ProcessStamp::self()});
  }
  return addAll(std::move(added));
}

bool PendingDeletions::addAll(std::vector<Entry> added) {
  if (path_.empty()) return failWith(EINVAL);
  if (!store().makeFolders()) return failWith(errno);
  JournalStore::Lock lock(path_);
  if (!lock.held()) return failWith(errno);
  std::set<std::string> paths;
  for (const Entry& e : added) paths.insert(e.path);
  auto list = entries();
  std::erase_if(list, [&](const Entry& e) { return paths.count(e.path) != 0; });
  list.insert(list.end(), std::make_move_iterator(added.begin()),
              std::make_move_iterator(added.end()));
  return save(list) ? true : failWith(errno);
}

bool PendingDeletions::matches(const Entry& entry, const struct stat& st) {
  if (entry.kind == 'N') return S_ISREG(st.st_mode) && st.st_size == 0 && st.st_nlink == 1;
  return st.st_ino == entry.inode && S_ISDIR(st.st_mode) == (entry.kind == 'D');
}

PendingDeletions::Outcome PendingDeletions::remove(const Entry& entry) const {
  std::string name;
  UniqueFd parent = openParentNoFollow(entry.path, name);
  if (!parent.valid()) return errno == ENOENT ? Outcome::Gone : Outcome::Refused;
  struct stat ps {};
  struct stat st {};
  if (name.empty() || ::fstat(parent.get(), &ps) != 0) return Outcome::Refused;
  if (::fstatat(parent.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    return errno == ENOENT ? Outcome::Gone : Outcome::Failed;
  }
  const bool folder = S_ISDIR(st.st_mode);
  if (S_ISLNK(st.st_mode) || st.st_dev != ps.st_dev || !matches(entry, st)) {
    return Outcome::Refused;
  }
  const bool ok = folder ? removeTree(parent.get(), name, st.st_dev)
                         : ::unlinkat(parent.get(), name.c_str(), 0) == 0;
  return ok ? Outcome::Deleted : Outcome::Failed;
}

std::size_t PendingDeletions::replay() {
  if (path_.empty()) return 0;
  JournalStore::Lock lock(path_);
  if (!lock.held()) return 0;
  std::vector<Entry> kept;
  std::size_t deleted = 0;
  for (const auto& e : entries()) {
    if (e.writer.runningElsewhere()) {
      kept.push_back(e);
      continue;
    }
    switch (remove(e)) {
      case Outcome::Deleted:
        ++deleted;
        break;
      case Outcome::Failed:
        kept.push_back(e);
        break;
      case Outcome::Gone:
      case Outcome::Refused:
        break;
    }
  }
  save(kept);
  return deleted;
}

bool PendingDeletions::stillThere(const Entry& entry) {
  struct stat st {};
  if (::lstat(entry.path.c_str(), &st) != 0) return errno != ENOENT && errno != ENOTDIR;
  return matches(entry, st);
}

std::size_t PendingDeletions::forgetFinished() {
  if (path_.empty()) return 0;
  JournalStore::Lock lock(path_);
  if (!lock.held()) return 0;
  auto list = entries();
  const std::size_t before = list.size();
  std::erase_if(list, [](const Entry& e) { return e.writer.isSelf() && !stillThere(e); });
  const std::size_t dropped = before - list.size();
  return dropped == 0 || save(list) ? dropped : 0;
}

}  // namespace s::os::linux_fs
