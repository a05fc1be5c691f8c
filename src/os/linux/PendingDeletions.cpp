#include "os/linux/PendingDeletions.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "os/linux/Errno.h"
#include "os/linux/UniqueFd.h"

namespace s::os::linux_fs {

namespace {

constexpr const char* kHeader = "vonq-pending-deletions 1";

// Creates every missing folder of `dir` (mode 0700).
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

std::string PendingDeletions::defaultPath() {
  const char* state = std::getenv("XDG_STATE_HOME");
  std::string base;
  if (state != nullptr && state[0] == '/') {
    base = state;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return {};
    base = std::string(home) + "/.local/state";
  }
  return base + "/vonq-scrubber/pending-deletions";
}

std::string PendingDeletions::encodeLine(const Entry& entry) {
  static const char* hex = "0123456789ABCDEF";
  std::string line;
  line += entry.kind;
  line += ' ';
  line += std::to_string(entry.inode);
  line += ' ';
  for (const char c : entry.path) {
    const auto b = static_cast<unsigned char>(c);
    if (b > 0x20 && b < 0x7F && b != '%') {
      line += c;
    } else {
      line += '%';
      line += hex[b >> 4];
      line += hex[b & 15];
    }
  }
  return line;
}

bool PendingDeletions::decodeLine(const std::string& line, Entry& out) {
  const auto first = line.find(' ');
  const auto second = first == std::string::npos ? first : line.find(' ', first + 1);
  if (first != 1 || second == std::string::npos || (line[0] != 'F' && line[0] != 'D')) {
    return false;
  }
  out.kind = line[0];
  char* end = nullptr;
  const std::string number = line.substr(2, second - 2);
  out.inode = std::strtoull(number.c_str(), &end, 10);
  if (number.empty() || *end != '\0') return false;
  out.path.clear();
  for (std::size_t i = second + 1; i < line.size(); ++i) {
    if (line[i] != '%') {
      out.path += line[i];
      continue;
    }
    if (i + 2 >= line.size()) return false;
    const std::string byte = line.substr(i + 1, 2);
    out.path += static_cast<char>(std::strtoul(byte.c_str(), &end, 16));
    if (*end != '\0') return false;
    i += 2;
  }
  return !out.path.empty() && out.path[0] == '/';
}

std::vector<PendingDeletions::Entry> PendingDeletions::entries() const {
  std::vector<Entry> list;
  std::ifstream in(path_);
  std::string line;
  if (!std::getline(in, line) || line != kHeader) return list;
  while (std::getline(in, line)) {
    Entry e;
    if (decodeLine(line, e)) list.push_back(std::move(e));
  }
  return list;
}

bool PendingDeletions::save(const std::vector<Entry>& list) const {
  if (list.empty()) return ::unlink(path_.c_str()) == 0 || errno == ENOENT;
  std::string text = std::string(kHeader) + "\n";
  for (const auto& e : list) text += encodeLine(e) + "\n";
  const std::string temp = path_ + ".tmp";
  ::unlink(temp.c_str());
  UniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!fd.valid() || !writeAll(fd.get(), text) || ::fsync(fd.get()) != 0 || !fd.reset() ||
      ::rename(temp.c_str(), path_.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  UniqueFd dir(::open(folderOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return !dir.valid() || ::fsync(dir.get()) == 0 || errno == EINVAL;
}

bool PendingDeletions::add(const std::string& path) {
  struct stat st {};
  if (path_.empty() || path.empty() || path[0] != '/') return failWith(EINVAL);
  if (::lstat(path.c_str(), &st) != 0) return failWith(errno);
  if (!makeFolders(folderOf(path_))) return failWith(errno);
  JournalLock lock(path_);
  if (!lock.held()) return failWith(errno);
  auto list = entries();
  std::erase_if(list, [&](const Entry& e) { return e.path == path; });
  list.push_back(
      Entry{S_ISDIR(st.st_mode) ? 'D' : 'F', static_cast<std::uint64_t>(st.st_ino), path});
  return save(list) ? true : failWith(errno);
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
  if (S_ISLNK(st.st_mode) || st.st_dev != ps.st_dev || st.st_ino != entry.inode ||
      folder != (entry.kind == 'D')) {
    return Outcome::Refused;
  }
  const bool ok = folder ? removeTree(parent.get(), name, st.st_dev)
                         : ::unlinkat(parent.get(), name.c_str(), 0) == 0;
  return ok ? Outcome::Deleted : Outcome::Failed;
}

std::size_t PendingDeletions::replay() {
  if (path_.empty()) return 0;
  JournalLock lock(path_);
  if (!lock.held()) return 0;
  std::vector<Entry> kept;
  std::size_t deleted = 0;
  for (const auto& e : entries()) {
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

}  // namespace s::os::linux_fs
