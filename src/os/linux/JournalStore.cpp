#include "os/linux/JournalStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>

namespace s::os::linux_fs {

namespace {

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

}  // namespace

JournalStore::Lock::Lock(const std::string& journal)
    : fd_(::open((journal + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600)) {
  while (fd_.valid() && ::flock(fd_.get(), LOCK_EX) != 0 && errno == EINTR) {
  }
}

std::string JournalStore::defaultPath(const std::string& fileName) {
  const char* state = std::getenv("XDG_STATE_HOME");
  std::string base;
  if (state != nullptr && state[0] == '/') {
    base = state;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return {};
    base = std::string(home) + "/.local/state";
  }
  return base + "/vonq-scrubber/" + fileName;
}

bool JournalStore::makeFolders() const {
  const std::string dir = folderOf(path_);
  for (std::size_t i = 1; i <= dir.size(); ++i) {
    if (i == dir.size() || dir[i] == '/') {
      const std::string part = dir.substr(0, i);
      if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
  }
  return true;
}

std::vector<std::string> JournalStore::lines() const {
  std::vector<std::string> list;
  std::ifstream in(path_);
  std::string line;
  if (!std::getline(in, line) || line != header_) return list;
  while (std::getline(in, line)) list.push_back(std::move(line));
  return list;
}

bool JournalStore::save(const std::vector<std::string>& lines) const {
  if (lines.empty()) return ::unlink(path_.c_str()) == 0 || errno == ENOENT;
  std::string text = header_ + "\n";
  for (const auto& line : lines) text += line + "\n";
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

std::string JournalStore::percentEncoded(const std::string& bytes) {
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

bool JournalStore::percentDecoded(const std::string& text, std::string& out) {
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

}  // namespace s::os::linux_fs
