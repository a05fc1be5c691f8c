#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "os/Shell.h"
#include "os/linux/NameCodec.h"
#include "os/linux/UniqueFd.h"

namespace s::os {

namespace {

using linux_fs::NameCodec;
using linux_fs::UniqueFd;

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// Opens the folder `name` under `parent` without following a link and only
// when it lies on the volume `device`; `info` receives its facts.
UniqueFd openFolderOn(int parent, const char* name, dev_t device, struct stat& info) {
  UniqueFd fd(::openat(parent, name, kFolderFlags));
  if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || info.st_dev != device) return UniqueFd();
  return fd;
}

bool clearFolder(int folder, dev_t device);

// Deletes the entry `name` of `folder` (a folder with everything in it).
// Links are deleted themselves; a folder of another mount is left alone.
bool removeEntry(int folder, const char* name, dev_t device) {
  struct stat seen {};
  if (::fstatat(folder, name, &seen, AT_SYMLINK_NOFOLLOW) != 0) return errno == ENOENT;
  if (!S_ISDIR(seen.st_mode)) return ::unlinkat(folder, name, 0) == 0 || errno == ENOENT;
  if (seen.st_dev != device) return false;
  struct stat opened {};
  UniqueFd child = openFolderOn(folder, name, device, opened);
  // The name must still be the folder that was looked at.
  if (!child.valid() || opened.st_ino != seen.st_ino) return false;
  if ((opened.st_mode & S_IRWXU) != S_IRWXU && opened.st_uid == ::geteuid()) {
    ::fchmod(child.get(), (opened.st_mode & 07777) | S_IRWXU);
  }
  const bool emptied = clearFolder(child.get(), device);
  return emptied && (::unlinkat(folder, name, AT_REMOVEDIR) == 0 || errno == ENOENT);
}

// Deletes everything in the open folder `folder`. True when it is empty.
bool clearFolder(int folder, dev_t device) {
  UniqueFd listing(::dup(folder));
  DIR* dir = listing.valid() ? ::fdopendir(listing.get()) : nullptr;
  if (dir == nullptr) return false;
  listing.release();
  ::rewinddir(dir);
  bool ok = true;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    ok = removeEntry(folder, name.c_str(), device) && ok;
  }
  ::closedir(dir);
  return ok;
}

// Empties the files/ and info/ folders of the bin open as `bin`.
bool emptyBin(int bin, dev_t device) {
  bool ok = true;
  for (const char* part : {"files", "info"}) {
    struct stat info {};
    UniqueFd folder = openFolderOn(bin, part, device, info);
    if (folder.valid()) {
      ok = clearFolder(folder.get(), device) && ok;
    } else if (errno != ENOENT) {
      ok = false;
    }
  }
  return ok;
}

// The calling user's home bin ($XDG_DATA_HOME/Trash, else
// ~/.local/share/Trash).
std::string homeBinPath() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && data[0] == '/') return std::string(data) + "/Trash";
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') return {};
  return std::string(home) + "/.local/share/Trash";
}

// The home bin of the user `uid` as the password database places it
// (~/.local/share/Trash); empty when the user is unknown.
std::string homeBinOf(uid_t uid) {
  struct passwd entry {};
  struct passwd* found = nullptr;
  std::vector<char> buffer(16384);
  if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
      found->pw_dir == nullptr || found->pw_dir[0] != '/') {
    return {};
  }
  return std::string(found->pw_dir) + "/.local/share/Trash";
}

// The user who started the program through sudo or pkexec (SUDO_UID,
// PKEXEC_UID), when it runs as root and that is another user; believed only
// from root, whose environment the caller could not have forged.
std::optional<uid_t> invokingUser() {
  if (::getuid() != 0) return std::nullopt;
  for (const char* name : {"SUDO_UID", "PKEXEC_UID"}) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text < '0' || *text > '9') continue;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (*end == '\0' && value != 0 && value < static_cast<unsigned long>(static_cast<uid_t>(-1))) {
      return static_cast<uid_t>(value);
    }
  }
  return std::nullopt;
}

// Empties the bins of one volume, each at most once however it is reached.
class BinSweep {
 public:
  explicit BinSweep(int top, dev_t device) : top_(top), device_(device) {}

  // The bins of user `uid` at the top of the volume: .Trash/<uid> (used
  // only when .Trash is a real, sticky folder) and .Trash-<uid>.
  void sweepVolumeBins(uid_t uid) {
    const std::string id = std::to_string(uid);
    struct stat info {};
    UniqueFd shared = openFolderOn(top_, ".Trash", device_, info);
    if (shared.valid() && (info.st_mode & S_ISVTX) != 0) {
      UniqueFd mine = openFolderOn(shared.get(), id.c_str(), device_, info);
      if (mine.valid()) sweep(mine, info);
    }
    UniqueFd own = openFolderOn(top_, (".Trash-" + id).c_str(), device_, info);
    if (own.valid()) sweep(own, info);
  }

  // A home bin, when it lies on this volume.
  void sweepHomeBin(const std::string& path) {
    if (path.empty()) return;
    UniqueFd bin(::open(path.c_str(), kFolderFlags));
    struct stat info {};
    if (bin.valid() && ::fstat(bin.get(), &info) == 0 && info.st_dev == device_) sweep(bin, info);
  }

  // Whether every bin found was emptied.
  bool allEmptied() const { return ok_; }

 private:
  void sweep(const UniqueFd& bin, const struct stat& info) {
    if (!swept_.insert(info.st_ino).second) return;
    ok_ = emptyBin(bin.get(), device_) && ok_;
  }

  int top_;
  dev_t device_;
  std::set<ino_t> swept_;
  bool ok_ = true;
};

// Starts a program (looked up in PATH) that outlives us and that we never
// wait for: an intermediate child starts it and ends at once.
void launchDetached(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::fork() == 0) {
      ::setsid();
      ::execvp(argv[0], argv.data());
    }
    ::_exit(0);
  }
  if (child > 0) ::waitpid(child, nullptr, 0);
}

class LinuxShell final : public Shell {
 public:
  bool emptyRecycleBin(std::u16string_view root) override {
    std::string path;
    if (root.empty() || !NameCodec::encode(root, path) || path[0] != '/') return false;
    UniqueFd top(::open(path.c_str(), kFolderFlags));
    struct stat volume {};
    if (!top.valid() || ::fstat(top.get(), &volume) != 0) return false;
    BinSweep bins(top.get(), volume.st_dev);
    bins.sweepVolumeBins(::getuid());
    bins.sweepHomeBin(homeBinPath());
    if (const auto user = invokingUser()) {
      bins.sweepVolumeBins(*user);
      bins.sweepHomeBin(homeBinOf(*user));
    }
    return bins.allEmptied();
  }

  void openUrl(std::u16string_view target) override {
    std::string url;
    if (target.empty() || !NameCodec::encode(target, url) || url.find('\0') != std::string::npos)
      return;
    if (const char* log = std::getenv("VONQ_OPEN_URL_LOG"); log != nullptr && *log != 0) {
      if (std::FILE* out = std::fopen(log, "a")) {
        std::fprintf(out, "%s\n", url.c_str());
        std::fclose(out);
      }
      return;
    }
    launchDetached({"xdg-open", url});
  }

  // File managers watch the volume themselves (inotify): nothing to tell.
  void notifyChange(Change, std::u16string_view) override {}
};

}  // namespace

Shell& platformShell() {
  // Never destroyed: workers may still use it while the process ends.
  static LinuxShell* const instance = new LinuxShell();
  return *instance;
}

}  // namespace s::os
