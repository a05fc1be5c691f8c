#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

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

// The user's home bin ($XDG_DATA_HOME/Trash, else ~/.local/share/Trash).
std::string homeBinPath() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && data[0] == '/') return std::string(data) + "/Trash";
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') return {};
  return std::string(home) + "/.local/share/Trash";
}

class LinuxShell final : public Shell {
 public:
  bool emptyRecycleBin(std::u16string_view root) override {
    std::string path;
    if (root.empty() || !NameCodec::encode(root, path) || path[0] != '/') return false;
    UniqueFd top(::open(path.c_str(), kFolderFlags));
    struct stat volume {};
    if (!top.valid() || ::fstat(top.get(), &volume) != 0) return false;
    const std::string uid = std::to_string(::getuid());
    bool ok = true;
    ino_t done[3] = {0, 0, 0};
    int count = 0;
    auto empty = [&](UniqueFd bin, const struct stat& info) {
      for (int i = 0; i < count; ++i) {
        if (done[i] == info.st_ino) return;
      }
      done[count++] = info.st_ino;
      ok = emptyBin(bin.get(), volume.st_dev) && ok;
    };
    struct stat info {};
    // $root/.Trash/$uid, used only when .Trash is a real, sticky folder.
    UniqueFd shared = openFolderOn(top.get(), ".Trash", volume.st_dev, info);
    if (shared.valid() && (info.st_mode & S_ISVTX) != 0) {
      UniqueFd mine = openFolderOn(shared.get(), uid.c_str(), volume.st_dev, info);
      if (mine.valid()) empty(std::move(mine), info);
    }
    UniqueFd own = openFolderOn(top.get(), (".Trash-" + uid).c_str(), volume.st_dev, info);
    if (own.valid()) empty(std::move(own), info);
    const std::string home = homeBinPath();
    if (!home.empty()) {
      UniqueFd bin(::open(home.c_str(), kFolderFlags));
      if (bin.valid() && ::fstat(bin.get(), &info) == 0 && info.st_dev == volume.st_dev) {
        empty(std::move(bin), info);
      }
    }
    return ok;
  }
};

}  // namespace

Shell& platformShell() {
  // Never destroyed: workers may still use it while the process ends.
  static LinuxShell* const instance = new LinuxShell();
  return *instance;
}

}  // namespace s::os
