#include "os/linux/LinuxFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "os/FileAttributes.h"
#include "os/linux/Errno.h"
#include "os/linux/LinuxFile.h"
#include "os/linux/NameCodec.h"
#include "os/linux/NodeMeta.h"
#include "os/linux/NtfsImage.h"
#include "os/linux/PendingDeletions.h"
#include "os/linux/UniqueFd.h"
#include "os/linux/VolumeProbe.h"

namespace s::os::linux_fs {

namespace {

using A = FileAttributes;

// The byte path for a UTF-16 path; false (InvalidName) when it has none.
bool native(std::u16string_view path, std::string& out) {
  if (path.empty() || !NameCodec::encode(path, out)) return failWith(FsError::InvalidName);
  return true;
}

// The absolute byte path without trailing separators ("/" stays "/").
bool nativeAbsolute(std::u16string_view path, std::string& out) {
  if (!native(path, out)) return false;
  if (out[0] != '/') return failWith(FsError::InvalidName);
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return true;
}

bool lstatKind(const std::string& path, FileInfo& info) {
  return NodeMeta::ofPath(path.c_str()).info(info) ? true : failWith(errno);
}

int accessFlags(OpenMode::Access access) {
  switch (access) {
    case OpenMode::Access::Read:
      return O_RDONLY;
    case OpenMode::Access::Write:
      return O_WRONLY;
    case OpenMode::Access::ReadWrite:
      return O_RDWR;
  }
  return O_RDONLY;
}

// The attributes a caller may give an entry of `kind`, as the volume would
// keep them: kNormal only alone, the directory bit from the kind.
std::uint32_t normalised(std::uint32_t bits, EntryKind kind) {
  bits &= A::kSettable;
  if ((bits & ~A::kNormal) != 0) bits &= ~A::kNormal;
  if (kind == EntryKind::Folder) bits = (bits & ~A::kNormal) | A::kDirectory;
  return bits == 0 ? A::kNormal : bits;
}

}  // namespace

// ---- Volumes

VolumeInfo LinuxFileSystem::describe(const MountEntry& m) {
  VolumeInfo v;
  v.root = NameCodec::decode(m.mountPoint == "/" ? m.mountPoint : m.mountPoint + "/");
  v.source = NameCodec::decode(m.source);
  v.readOnly = m.readOnly();
  v.eligible = MountTable::eligible(m);
  struct statvfs sv {};
  std::uint32_t blockSize = 0;
  if (::statvfs(m.mountPoint.c_str(), &sv) == 0) {
    v.totalBytes = static_cast<std::uint64_t>(sv.f_blocks) * sv.f_frsize;
    v.freeBytes = static_cast<std::uint64_t>(sv.f_bfree) * sv.f_frsize;
    blockSize = static_cast<std::uint32_t>(sv.f_frsize);
  }
  struct stat st {};
  if (::stat(m.mountPoint.c_str(), &st) == 0) v.device = st.st_dev;
  VolumeGeometry g;
  if (!VolumeProbe::bootSectorGeometry(m.source, g)) {
    g.bytesPerSector = VolumeProbe::deviceSectorSize(m.source);
    g.sectorsPerCluster = std::max<std::uint32_t>(1, blockSize / g.bytesPerSector);
  }
  v.bytesPerSector = g.bytesPerSector;
  v.sectorsPerCluster = g.sectorsPerCluster;
  const std::string name =
      VolumeProbe::fileSystemName(m.source, m.fsType, v.totalBytes, v.clusterSize());
  v.fileSystem = NameCodec::decode(name);
  // Only a device or image (a path) can be unreadable; "tmpfs" and the
  // like have nothing to read.
  v.sourceReadable =
      m.source.empty() || m.source[0] != '/' || ::access(m.source.c_str(), R_OK) == 0;
  return v;
}

std::vector<VolumeInfo> LinuxFileSystem::listVolumes() {
  std::vector<VolumeInfo> volumes;
  const auto mounts = MountTable::read();
  if (mounts.empty()) failWith(FsError::Other);
  for (const auto& m : mounts) {
    // Judge each mount once: its source may vanish between two looks (an
    // image removed while still mounted), and the list must not contradict
    // itself.
    if (!MountTable::eligible(m)) continue;
    volumes.push_back(describe(m));
    volumes.back().eligible = true;
  }
  return volumes;
}

bool LinuxFileSystem::volumeOf(std::u16string_view path, VolumeInfo& out) {
  std::string p;
  FileInfo info;
  if (!nativeAbsolute(path, p) || !lstatKind(p, info)) return false;
  const auto mounts = MountTable::read();
  const MountEntry* m = MountTable::containing(mounts, p);
  if (m == nullptr) return failWith(FsError::NotFound);
  out = describe(*m);
  return true;
}

std::uint64_t LinuxFileSystem::freeBytes(std::u16string_view path) {
  std::string p;
  struct statvfs sv {};
  if (!native(path, p)) return 0;
  if (::statvfs(p.c_str(), &sv) != 0) return failWith(errno), 0;
  return static_cast<std::uint64_t>(sv.f_bfree) * sv.f_frsize;
}

bool LinuxFileSystem::sourceOf(std::u16string_view root, std::string& source) {
  std::string p;
  if (!nativeAbsolute(root, p)) return false;
  const auto mounts = MountTable::read();
  const MountEntry* m = MountTable::containing(mounts, p);
  if (m == nullptr) return failWith(FsError::NotFound);
  source = m->source;
  return true;
}

bool LinuxFileSystem::ntfsVolumeData(std::u16string_view root, NtfsVolumeData& out) {
  std::string source;
  if (!sourceOf(root, source)) return false;
  FsError error = FsError::None;
  return NtfsImage::read(source, out, error) ? true : failWith(error);
}

bool LinuxFileSystem::flushVolume(std::u16string_view root) {
  std::string p;
  if (!nativeAbsolute(root, p)) return false;
  UniqueFd fd(::open(p.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!fd.valid() || ::syncfs(fd.get()) != 0) return failWith(errno);
  return true;
}

std::unique_ptr<File> LinuxFileSystem::openVolumeSource(std::u16string_view root) {
  std::string source;
  if (!sourceOf(root, source)) return nullptr;
  UniqueFd fd(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid())
    return failWith(errno == ENOENT ? FsError::NotFound : FsError::AccessDenied), nullptr;
  return std::make_unique<LinuxFile>(std::move(fd), false, false);
}

// ---- Files

bool LinuxFileSystem::open(const std::string& path, int flags, int& fd) {
  do {
    fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
  } while (fd < 0 && errno == EINTR);
  return fd >= 0;
}

std::unique_ptr<File> LinuxFileSystem::openFile(std::u16string_view path, const OpenMode& mode) {
  std::string p;
  if (!native(path, p)) return nullptr;
  int flags = accessFlags(mode.access) | (mode.writeThrough ? O_DSYNC : 0);
  bool created = false;
  int fd = -1;
  using D = OpenMode::Disposition;
  if (mode.disposition != D::OpenExisting) {
    // Try to create first, so that we know whether the file is new.
    created = open(p, flags | O_CREAT | O_EXCL, fd);
    if (!created && (errno != EEXIST || mode.disposition == D::CreateNew)) {
      return failWith(errno), nullptr;
    }
  }
  if (!created) {
    const int more = mode.disposition == D::CreateAlways ? O_TRUNC : 0;
    if (!open(p, flags | more, fd)) return failWith(errno), nullptr;
  }
  UniqueFd owned(fd);
  struct stat st {};
  if (::fstat(fd, &st) != 0) return failWith(errno), nullptr;
  if (!S_ISREG(st.st_mode)) return failWith(S_ISDIR(st.st_mode) ? EISDIR : EACCES), nullptr;
  // Back to blocking I/O; O_NONBLOCK only kept the open from waiting on a
  // lease or a fifo.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  // Write-through files (O_DSYNC) take direct I/O too where it can be had:
  // each write still reaches the device before it returns, and buffered
  // writes crawl through FUSE (ntfs-3g) at a sixth of the speed. Unaligned
  // writes go through the cache either way (LinuxFile).
  bool direct = false;
  bool syncWrites = false;
  if (mode.unbuffered || mode.writeThrough) {
    direct = ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_DIRECT) == 0;
    syncWrites = mode.unbuffered && !direct;
  }
  if (created && mode.createAttributes != 0) giveCreateAttributes(fd, mode.createAttributes);
  return std::make_unique<LinuxFile>(std::move(owned), direct, syncWrites);
}

void LinuxFileSystem::giveCreateAttributes(int fd, std::uint32_t attributes) {
  const NodeMeta node = NodeMeta::ofFd(fd);
  FileInfo info;
  if (!node.info(info)) return;
  const std::uint32_t bits = normalised(attributes, info.kind);
  if (node.ntfsAttributes()) {
    node.setNtfsAttributes(bits);
    return;
  }
  if ((bits & A::kReadOnly) != 0) {
    struct stat st {};
    if (::fstat(fd, &st) == 0) ::fchmod(fd, st.st_mode & 07555);
  }
  attributes_.put(info.device, info.fileId, bits & ~(A::kReadOnly | A::kDirectory));
}

bool LinuxFileSystem::stat(std::u16string_view path, FileInfo& out) {
  std::string p;
  return native(path, p) && lstatKind(p, out);
}

bool LinuxFileSystem::exists(std::u16string_view path) {
  std::string p;
  struct stat st {};
  if (!native(path, p)) return false;
  return ::lstat(p.c_str(), &st) == 0 ? true : failWith(errno);
}

bool LinuxFileSystem::getTimes(std::u16string_view path, FileTimes& out) {
  FileInfo info;
  if (!stat(path, info)) return false;
  out = info.times;
  return true;
}

bool LinuxFileSystem::setTimes(std::u16string_view path, const FileTimes& times) {
  std::string p;
  FileInfo info;
  if (!native(path, p) || !lstatKind(p, info)) return false;
  if (info.kind == EntryKind::Link) return failWith(FsError::IsLink);
  return NodeMeta::ofPath(p.c_str()).setTimes(times) ? true : failWith(errno);
}

std::uint32_t LinuxFileSystem::attributesOf(const std::string& p, const FileInfo& info) {
  if (info.kind == EntryKind::Link) return A::kReparsePoint;
  if (const auto ntfs = NodeMeta::ofPath(p.c_str()).ntfsAttributes()) return *ntfs;
  struct stat st {};
  if (::lstat(p.c_str(), &st) != 0) return failWith(errno), A::kInvalid;
  const bool folder = info.kind == EntryKind::Folder;
  std::uint32_t bits = attributes_.get(info.device, info.fileId, folder ? 0 : A::kArchive);
  bits &= ~(A::kReadOnly | A::kDirectory);
  if ((st.st_mode & S_IWUSR) == 0) bits |= A::kReadOnly;
  if (folder) bits = (bits & ~A::kNormal) | A::kDirectory;
  if (bits != A::kNormal && (bits & ~A::kNormal) != 0) bits &= ~A::kNormal;
  return bits == 0 ? A::kNormal : bits;
}

std::uint32_t LinuxFileSystem::getAttributes(std::u16string_view path) {
  std::string p;
  FileInfo info;
  if (!native(path, p) || !lstatKind(p, info)) return A::kInvalid;
  return attributesOf(p, info);
}

bool LinuxFileSystem::setAttributes(std::u16string_view path, std::uint32_t attributes) {
  std::string p;
  FileInfo info;
  if (!native(path, p) || !lstatKind(p, info)) return false;
  if (info.kind == EntryKind::Link) return failWith(FsError::IsLink);
  const std::uint32_t bits = normalised(attributes, info.kind);
  const NodeMeta node = NodeMeta::ofPath(p.c_str());
  if (node.ntfsAttributes()) return node.setNtfsAttributes(bits) ? true : failWith(errno);
  struct stat st {};
  if (::lstat(p.c_str(), &st) != 0) return failWith(errno);
  const bool readOnly = (bits & A::kReadOnly) != 0;
  const bool writable = (st.st_mode & S_IWUSR) != 0;
  if (readOnly == writable) {
    const mode_t mode = readOnly ? (st.st_mode & 07555) : ((st.st_mode & 07777) | S_IWUSR);
    if (::fchmodat(AT_FDCWD, p.c_str(), mode, AT_SYMLINK_NOFOLLOW) != 0 &&
        (errno != EOPNOTSUPP || ::chmod(p.c_str(), mode) != 0)) {
      return failWith(errno);
    }
  }
  attributes_.put(info.device, info.fileId, bits & ~(A::kReadOnly | A::kDirectory));
  return true;
}

bool LinuxFileSystem::listStreams(std::u16string_view path, std::vector<StreamEntry>&) {
  // No named streams are kept here (ntfs-3g's stream interface is not
  // used): the answer is only whether the entry is there.
  FileInfo info;
  return stat(path, info);
}

OpenState LinuxFileSystem::openState(std::u16string_view path) {
  std::string p;
  int fd = -1;
  if (!native(path, p)) return OpenState::Unknown;
  if (!open(p, O_RDONLY, fd)) {
    const int error = errno;
    failWith(error);
    return error == EWOULDBLOCK ? OpenState::InUse : OpenState::Unknown;
  }
  UniqueFd owned(fd);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return OpenState::Unknown;
  const int error = LinuxFile::takeLease(fd);
  if (error == 0) {
    ::fcntl(fd, F_SETLEASE, F_UNLCK);
    return OpenState::Free;
  }
  failWith(error);
  return error == EAGAIN || error == EBUSY ? OpenState::InUse : OpenState::Unknown;
}

// ---- Folders

bool LinuxFileSystem::createFolder(std::u16string_view path) {
  std::string p;
  if (!native(path, p)) return false;
  return ::mkdir(p.c_str(), 0777) == 0 ? true : failWith(errno);
}

bool LinuxFileSystem::removeFolder(std::u16string_view path) {
  std::string p;
  FileInfo info;
  if (!native(path, p) || !lstatKind(p, info)) return false;
  if (info.kind == EntryKind::Link) return failWith(FsError::IsLink);
  if (::rmdir(p.c_str()) != 0) return failWith(errno == EEXIST ? ENOTEMPTY : errno);
  attributes_.forget(info.device, info.fileId);
  return true;
}

bool LinuxFileSystem::listFolder(std::u16string_view path, std::vector<DirEntry>& out) {
  std::string p;
  int fd = -1;
  out.clear();
  if (!native(path, p)) return false;
  do {
    fd = ::open(p.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    // O_DIRECTORY answers ENOTDIR for a link; say what it really is.
    const int error = errno;
    struct stat st {};
    const bool link = error == ENOTDIR && ::lstat(p.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
    return link ? failWith(FsError::IsLink) : failWith(error);
  }
  DIR* dir = ::fdopendir(fd);
  if (dir == nullptr) {
    const int error = errno;
    ::close(fd);
    return failWith(error);
  }
  while (dirent* e = ::readdir(dir)) {
    const std::string_view name = e->d_name;
    if (name == "." || name == "..") continue;
    struct stat st {};
    // An entry that vanished since readdir is simply not listed.
    if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    DirEntry entry;
    entry.name = NameCodec::decode(name);
    entry.kind = S_ISREG(st.st_mode)   ? EntryKind::File
                 : S_ISDIR(st.st_mode) ? EntryKind::Folder
                 : S_ISLNK(st.st_mode) ? EntryKind::Link
                                       : EntryKind::Special;
    entry.size = entry.kind == EntryKind::File ? static_cast<std::uint64_t>(st.st_size) : 0;
    entry.device = st.st_dev;
    entry.fileId = st.st_ino;
    out.push_back(std::move(entry));
  }
  ::closedir(dir);
  return true;
}

bool LinuxFileSystem::move(std::u16string_view from, std::u16string_view to, bool replaceExisting) {
  std::string a;
  std::string b;
  FileInfo source;
  FileInfo target;
  if (!native(from, a) || !native(to, b) || !lstatKind(a, source)) return false;
  const bool targetExists = NodeMeta::ofPath(b.c_str()).info(target);
  if (targetExists &&
      (!replaceExisting || source.kind == EntryKind::Folder || target.kind == EntryKind::Folder)) {
    return failWith(FsError::Exists);
  }
  if (replaceExisting) return ::rename(a.c_str(), b.c_str()) == 0 ? true : failWith(errno);
  if (::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return failWith(errno);
  // The volume cannot refuse a replacement itself (FUSE): the target was
  // checked to be absent just above.
  return ::rename(a.c_str(), b.c_str()) == 0 ? true : failWith(errno);
}

bool LinuxFileSystem::deleteFile(std::u16string_view path) {
  std::string p;
  FileInfo info;
  if (!native(path, p) || !lstatKind(p, info)) return false;
  if (info.kind == EntryKind::Folder) return failWith(FsError::AccessDenied);
  if (::unlink(p.c_str()) != 0) return failWith(errno);
  attributes_.forget(info.device, info.fileId);
  return true;
}

// ---- Deletion at the next start

bool LinuxFileSystem::scheduleDeletion(std::u16string_view path) {
  std::string p;
  if (!nativeAbsolute(path, p)) return false;
  return PendingDeletions(PendingDeletions::defaultPath()).add(p);
}

bool LinuxFileSystem::scheduleDeletionAfterMove(std::u16string_view current,
                                                std::u16string_view future) {
  std::string from;
  std::string to;
  if (!nativeAbsolute(current, from) || !nativeAbsolute(future, to)) return false;
  return PendingDeletions(PendingDeletions::defaultPath()).addAs(to, from);
}

bool LinuxFileSystem::scheduleNewFiles(const std::vector<std::u16string>& paths) {
  std::vector<std::string> native;
  for (const std::u16string& path : paths) {
    if (!nativeAbsolute(path, native.emplace_back())) return false;
  }
  return PendingDeletions(PendingDeletions::defaultPath()).addNew(native);
}

std::size_t LinuxFileSystem::replayScheduledDeletions() {
  return PendingDeletions(PendingDeletions::defaultPath()).replay();
}

std::size_t LinuxFileSystem::forgetFinishedDeletions() {
  return PendingDeletions(PendingDeletions::defaultPath()).forgetFinished();
}

// ---- Memory

void* LinuxFileSystem::allocatePages(std::size_t bytes) {
  if (bytes == 0) return nullptr;
  void* p = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return p == MAP_FAILED ? (failWith(errno), nullptr) : p;
}

void LinuxFileSystem::freePages(void* pages, std::size_t bytes) {
  if (pages != nullptr) ::munmap(pages, bytes);
}

}  // namespace s::os::linux_fs

namespace s::os {

FileSystem& platformFileSystem() {
  static linux_fs::LinuxFileSystem instance;
  return instance;
}

}  // namespace s::os
