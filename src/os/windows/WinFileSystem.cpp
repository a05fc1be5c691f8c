#include "os/windows/WinFileSystem.h"

#include <winioctl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "os/FileAttributes.h"
#include "os/windows/NtDll.h"
#include "os/windows/PendingDeletionJournal.h"
#include "os/windows/RawVolume.h"
#include "os/windows/StreamRecords.h"
#include "os/windows/WinError.h"
#include "os/windows/WinFile.h"
#include "os/windows/WinText.h"

namespace s::os::win_fs {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kEntryFlags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
constexpr std::size_t kFileSystemNameUnits = 260;

std::uint64_t join(DWORD high, DWORD low) {
  return static_cast<std::uint64_t>(high) << 32 | low;
}

std::uint64_t value(const FILETIME& time) {
  return join(time.dwHighDateTime, time.dwLowDateTime);
}

EntryKind kindOf(DWORD attributes) {
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return EntryKind::Link;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EntryKind::Folder;
  if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return EntryKind::Special;
  return EntryKind::File;
}

DWORD attributesOf(std::u16string_view path) {
  return ::GetFileAttributesW(toWide(path).c_str());
}

bool isLink(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// The volume's file-system name as the program knows it.
std::u16string knownFileSystem(const wchar_t* name) {
  for (const char16_t* known : {u"NTFS", u"FAT32", u"FAT"}) {
    if (fromWide(name) == known) return known;
  }
  return u"UNKNOWN";
}

// "\\.\C:" for the root "C:\".
std::u16string deviceOf(std::u16string_view root) {
  return root.size() >= 2 && root[1] == u':' ? u"\\\\.\\" + std::u16string(root.substr(0, 2))
                                             : std::u16string();
}

bool canRead(const std::u16string& device) {
  UniqueHandle volume(::CreateFileW(toWide(device).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
  return volume.valid();
}

bool eligibleDrive(std::u16string_view root) {
  const UINT type = ::GetDriveTypeW(toWide(root).c_str());
  const char16_t letter = root.empty() ? u'\0' : root[0];
  return (type == DRIVE_FIXED || type == DRIVE_REMOVABLE) && letter != u'A' && letter != u'a';
}

// The part of NTFS_VOLUME_DATA_BUFFER (96 bytes) read here.
struct NtfsVolumeRecord {
  LARGE_INTEGER serial, sectors, clusters, freeClusters, reserved;
  DWORD bytesPerSector, bytesPerCluster, bytesPerRecord, clustersPerRecord;
  LARGE_INTEGER mftValidDataLength, mftStartLcn, mft2StartLcn, mftZoneStart, mftZoneEnd;
};
static_assert(sizeof(NtfsVolumeRecord) == 96);

constexpr ULONG kGetNtfsVolumeData = 0x00090064;

constexpr ULONG kFileStreamInformation = 22;
constexpr NTSTATUS kBufferOverflow = static_cast<NTSTATUS>(0x80000005);
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);
constexpr NTSTATUS kBufferTooSmall = static_cast<NTSTATUS>(0xC0000023);
constexpr std::size_t kFirstStreamBuffer = 1024;
constexpr std::size_t kMostStreamBuffer = 10000000;

// The stream records of the open entry `entry` into `buffer`, grown by half
// while the answer does not fit. The status of the last query.
NTSTATUS queryStreams(const NtDll& nt, HANDLE entry, std::vector<std::uint8_t>& buffer) {
  buffer.assign(kFirstStreamBuffer, 0);
  for (;;) {
    IO_STATUS_BLOCK status{};
    const NTSTATUS result = nt.ntQueryInformationFile(
        entry, &status, buffer.data(), static_cast<ULONG>(buffer.size()), kFileStreamInformation);
    const bool tooSmall =
        result == kBufferOverflow || result == kInfoLengthMismatch || result == kBufferTooSmall;
    if (!tooSmall || buffer.size() > kMostStreamBuffer) return result;
    buffer.assign(buffer.size() + buffer.size() / 2, 0);
  }
}

// Whether a failed stream query means that the volume keeps no streams.
bool keepsNoStreams(NTSTATUS result) {
  constexpr NTSTATUS kInvalidParameter = static_cast<NTSTATUS>(0xC000000D);
  constexpr NTSTATUS kNotImplemented = static_cast<NTSTATUS>(0xC0000002);
  constexpr NTSTATUS kInvalidDeviceRequest = static_cast<NTSTATUS>(0xC0000010);
  constexpr NTSTATUS kNotSupported = static_cast<NTSTATUS>(0xC00000BB);
  return result == kInvalidParameter || result == kNotImplemented ||
         result == kInvalidDeviceRequest || result == kNotSupported;
}

// Enables the backup privilege of the process once, so that the stream
// listing may open what the user's rights alone would not let it read.
// Without the privilege (an ordinary user) nothing changes.
void enableBackupPrivilegeOnce() {
  static const bool done = [] {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
      return false;
    }
    TOKEN_PRIVILEGES wanted{};
    wanted.PrivilegeCount = 1;
    wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    const bool found =
        ::LookupPrivilegeValueW(nullptr, L"SeBackupPrivilege", &wanted.Privileges[0].Luid);
    if (found) ::AdjustTokenPrivileges(token, FALSE, &wanted, 0, nullptr, nullptr);
    ::CloseHandle(token);
    return found;
  }();
  (void)done;
}

// The driver's answer to the NTFS volume data query. False with the error
// it gave (NotSupported on a volume that is not NTFS).
bool askDriver(HANDLE volume, NtfsVolumeData& out, FsError& error) {
  const NtDll& nt = NtDll::get();
  if (!nt.fileCalls()) {
    error = FsError::NotSupported;
    return false;
  }
  NtfsVolumeRecord record{};
  IO_STATUS_BLOCK status{};
  const NTSTATUS result =
      nt.ntFsControlFile(volume, nullptr, nullptr, nullptr, &status, kGetNtfsVolumeData, nullptr, 0,
                         &record, sizeof record);
  if (!NT_SUCCESS(result)) {
    const ULONG code = nt.rtlNtStatusToDosError(result);
    error = code == ERROR_INVALID_FUNCTION || code == ERROR_NOT_SUPPORTED ? FsError::NotSupported
                                                                          : errorFromWin32(code);
    return false;
  }
  out = NtfsVolumeData{};
  out.bytesPerSector = record.bytesPerSector;
  out.bytesPerCluster = record.bytesPerCluster;
  out.bytesPerMftRecord = record.bytesPerRecord;
  out.totalSectors = static_cast<std::uint64_t>(record.sectors.QuadPart);
  out.mftStartLcn = static_cast<std::uint64_t>(record.mftStartLcn.QuadPart);
  out.mftValidDataLength = static_cast<std::uint64_t>(record.mftValidDataLength.QuadPart);
  // The query gives neither the MFT's allocation nor its bitmap.
  out.mftAllocatedLength = out.mftValidDataLength;
  return true;
}

// Adds to the driver's answer what only the volume's bytes tell: the MFT's
// allocation and its free records, when both describe the same MFT. Without
// them the growth of the valid data length is what tells that the MFT grew.
void addRecordCounts(const NtfsVolumeData& fromBytes, NtfsVolumeData& fromDriver) {
  if (!fromBytes.mftRecordsCounted || fromBytes.mftStartLcn != fromDriver.mftStartLcn ||
      fromBytes.bytesPerMftRecord != fromDriver.bytesPerMftRecord) {
    return;
  }
  fromDriver.mftAllocatedLength =
      std::max(fromBytes.mftAllocatedLength, fromDriver.mftValidDataLength);
  fromDriver.mftRecordsCounted = true;
  fromDriver.mftFreeRecords = fromBytes.mftFreeRecords;
  fromDriver.mftFreedRecords = fromBytes.mftFreedRecords;
}

// The system's protected-file query, looked up once per process.
bool systemProtects(std::u16string_view path) {
  using IsProtected = BOOL(WINAPI*)(HANDLE, LPCWSTR);
  static const IsProtected query = [] {
    IsProtected found = nullptr;
    const HMODULE module = ::LoadLibraryW(L"sfc.dll");
    const FARPROC proc =
        module != nullptr ? ::GetProcAddress(module, "SfcIsFileProtected") : nullptr;
    std::memcpy(&found, &proc, sizeof found);
    return found;
  }();
  return query != nullptr && query(nullptr, toWide(path).c_str());
}

}  // namespace

std::u16string WinFileSystem::rootOf(std::u16string_view path) {
  wchar_t root[MAX_PATH + 1] = {};
  if (::GetVolumePathNameW(toWide(path).c_str(), root, MAX_PATH)) return fromWide(root);
  if (path.size() >= 3 && path[1] == u':' && path[2] == u'\\')
    return std::u16string(path.substr(0, 3));
  return {};
}

UniqueHandle WinFileSystem::openEntry(std::u16string_view path, DWORD access, DWORD share) {
  if (!usablePath(path)) {
    failWith(FsError::InvalidName);
    return UniqueHandle();
  }
  UniqueHandle entry(::CreateFileW(toWide(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                                   kEntryFlags, nullptr));
  if (!entry.valid()) failWithLastError();
  return entry;
}

bool WinFileSystem::describe(HANDLE entry, FileInfo& out, DWORD& attributes) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(entry, &info)) return failWithLastError();
  attributes = info.dwFileAttributes;
  out.kind = ::GetFileType(entry) == FILE_TYPE_DISK ? kindOf(attributes) : EntryKind::Special;
  out.size = out.kind == EntryKind::File ? join(info.nFileSizeHigh, info.nFileSizeLow) : 0;
  out.device = info.dwVolumeSerialNumber;
  out.fileId = join(info.nFileIndexHigh, info.nFileIndexLow);
  out.times.creation = value(info.ftCreationTime);
  out.times.lastAccess = value(info.ftLastAccessTime);
  out.times.lastWrite = value(info.ftLastWriteTime);
  FILE_STANDARD_INFO standard{};
  out.allocatedSize =
      ::GetFileInformationByHandleEx(entry, FileStandardInfo, &standard, sizeof standard)
          ? static_cast<std::uint64_t>(standard.AllocationSize.QuadPart)
          : 0;
  return true;
}

// ---- Volumes

std::vector<VolumeInfo> WinFileSystem::listVolumes() {
  std::vector<VolumeInfo> out;
  wchar_t roots[1024] = {};
  const DWORD length = ::GetLogicalDriveStringsW(1024, roots);
  if (length == 0 || length > 1024) return out;
  for (const wchar_t* root = roots; *root != L'\0'; root += std::wcslen(root) + 1) {
    VolumeInfo volume;
    if (eligibleDrive(fromWide(root)) && volumeOf(fromWide(root), volume)) out.push_back(volume);
  }
  return out;
}

bool WinFileSystem::volumeOf(std::u16string_view path, VolumeInfo& out) {
  const std::u16string root = rootOf(path);
  if (root.empty()) return failWith(FsError::NotFound);
  const std::wstring wideRoot = toWide(root);
  wchar_t name[kFileSystemNameUnits] = {};
  DWORD serial = 0, longestName = 0, flags = 0;
  if (!::GetVolumeInformationW(wideRoot.c_str(), nullptr, 0, &serial, &longestName, &flags, name,
                               kFileSystemNameUnits)) {
    return failWithLastError();
  }
  VolumeInfo volume;
  volume.root = root;
  volume.source = deviceOf(root);
  volume.fileSystem = knownFileSystem(name);
  volume.device = serial;
  volume.readOnly = (flags & FILE_READ_ONLY_VOLUME) != 0;
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  if (::GetDiskFreeSpaceW(wideRoot.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                          &clusters)) {
    volume.bytesPerSector = bytesPerSector;
    volume.sectorsPerCluster = sectorsPerCluster;
  }
  ULARGE_INTEGER available{}, total{}, free{};
  if (::GetDiskFreeSpaceExW(wideRoot.c_str(), &available, &total, &free)) {
    volume.totalBytes = total.QuadPart;
    volume.freeBytes = free.QuadPart;
  }
  volume.sourceReadable = !volume.source.empty() && canRead(volume.source);
  volume.eligible = eligibleDrive(root);
  out = volume;
  return true;
}

std::uint64_t WinFileSystem::freeBytes(std::u16string_view path) {
  ULARGE_INTEGER available{}, total{}, free{};
  const std::u16string root = rootOf(path);
  if (root.empty() || !::GetDiskFreeSpaceExW(toWide(root).c_str(), &available, &total, &free)) {
    return 0;
  }
  return free.QuadPart;
}

bool WinFileSystem::ntfsVolumeData(std::u16string_view root, NtfsVolumeData& out) {
  const std::u16string device = deviceOf(root);
  UniqueHandle volume(::CreateFileW(toWide(device).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
  if (device.empty() || !volume.valid()) return failWith(FsError::AccessDenied);
  NtfsVolumeData fromDriver;
  FsError driverError = FsError::None;
  const bool asked = askDriver(volume.get(), fromDriver, driverError);
  NtfsVolumeData fromBytes;
  FsError bytesError = FsError::None;
  const bool read = RawVolume::read(volume.get(), fromBytes, bytesError);
  if (!asked && !read) return failWith(driverError);
  if (!asked) {
    // Where the driver does not answer the query (Wine), the volume's own
    // bytes say all of it.
    out = fromBytes;
    return true;
  }
  if (read) addRecordCounts(fromBytes, fromDriver);
  out = fromDriver;
  return true;
}

bool WinFileSystem::flushVolume(std::u16string_view root) {
  const std::u16string device = deviceOf(root);
  if (device.empty()) return failWith(FsError::NotFound);
  // Flushing a volume takes write access to it (administrator rights).
  UniqueHandle volume(::CreateFileW(toWide(device).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
  if (!volume.valid()) return failWith(FsError::AccessDenied);
  return ::FlushFileBuffers(volume.get()) ? true : failWith(errorFromWin32(::GetLastError()));
}

std::unique_ptr<File> WinFileSystem::openVolumeSource(std::u16string_view root) {
  const std::u16string device = deviceOf(root);
  if (device.empty()) return failWith(FsError::NotFound), nullptr;
  UniqueHandle volume(::CreateFileW(toWide(device).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
  if (!volume.valid()) return failWith(FsError::AccessDenied), nullptr;
  return std::make_unique<WinFile>(std::move(volume), false, false, false);
}

// ---- Files

std::unique_ptr<File> WinFileSystem::openFile(std::u16string_view path, const OpenMode& mode) {
  if (!usablePath(path)) return failWith(FsError::InvalidName), nullptr;
  // CREATE_NEW fails on any entry, a link included; the other dispositions
  // would open or replace what a link is, so a link is refused first.
  if (mode.disposition != OpenMode::Disposition::CreateNew && isLink(attributesOf(path))) {
    return failWith(FsError::IsLink), nullptr;
  }
  const bool writing = mode.access != OpenMode::Access::Read;
  DWORD access = GENERIC_READ;
  if (writing)
    access = mode.access == OpenMode::Access::Write && !mode.unbuffered
                 ? GENERIC_WRITE
                 : GENERIC_READ | GENERIC_WRITE;
  const DWORD share = writing ? 0 : kShareAll;
  static constexpr DWORD kDispositions[] = {OPEN_EXISTING, CREATE_NEW, OPEN_ALWAYS, CREATE_ALWAYS};
  const DWORD disposition = kDispositions[static_cast<int>(mode.disposition)];
  DWORD flags = FILE_FLAG_OPEN_REPARSE_POINT |
                (mode.createAttributes != 0 ? mode.createAttributes : FILE_ATTRIBUTE_NORMAL);
  if (mode.writeThrough) flags |= FILE_FLAG_WRITE_THROUGH;
  const std::wstring wide = toWide(path);
  bool unbuffered = mode.unbuffered;
  UniqueHandle handle(::CreateFileW(wide.c_str(), access, share, nullptr, disposition,
                                    flags | (unbuffered ? FILE_FLAG_NO_BUFFERING : 0), nullptr));
  if (!handle.valid() && unbuffered && ::GetLastError() == ERROR_INVALID_PARAMETER) {
    // The file system refuses unbuffered I/O: buffered, every write flushed.
    unbuffered = false;
    handle.reset(::CreateFileW(wide.c_str(), access, share, nullptr, disposition, flags, nullptr));
  }
  if (!handle.valid()) return failWithLastError(), nullptr;
  FileInfo info;
  DWORD attributes = 0;
  if (!describe(handle.get(), info, attributes)) return nullptr;
  if (info.kind == EntryKind::Link) return failWith(FsError::IsLink), nullptr;
  if (info.kind != EntryKind::File) return failWith(FsError::AccessDenied), nullptr;
  const bool flushWrites = mode.unbuffered && !unbuffered;
  return std::make_unique<WinFile>(std::move(handle), unbuffered, flushWrites, writing);
}

bool WinFileSystem::stat(std::u16string_view path, FileInfo& out) {
  UniqueHandle entry = openEntry(path, FILE_READ_ATTRIBUTES, kShareAll);
  DWORD attributes = 0;
  return entry.valid() && describe(entry.get(), out, attributes);
}

bool WinFileSystem::exists(std::u16string_view path) {
  return usablePath(path) && attributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool WinFileSystem::getTimes(std::u16string_view path, FileTimes& out) {
  FileInfo info;
  if (!stat(path, info)) return false;
  out = info.times;
  return true;
}

bool WinFileSystem::setTimes(std::u16string_view path, const FileTimes& times) {
  UniqueHandle entry = openEntry(path, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, kShareAll);
  FileInfo info;
  DWORD attributes = 0;
  if (!entry.valid() || !describe(entry.get(), info, attributes)) return false;
  if (info.kind == EntryKind::Link) return failWith(FsError::IsLink);
  WinFile file(std::move(entry), false, false, false);
  return file.setTimes(times);
}

std::uint32_t WinFileSystem::getAttributes(std::u16string_view path) {
  if (!usablePath(path)) return failWith(FsError::InvalidName), FileAttributes::kInvalid;
  const DWORD attributes = attributesOf(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) failWithLastError();
  return attributes;
}

bool WinFileSystem::setAttributes(std::u16string_view path, std::uint32_t attributes) {
  if (!usablePath(path)) return failWith(FsError::InvalidName);
  const DWORD now = attributesOf(path);
  if (now == INVALID_FILE_ATTRIBUTES) return failWithLastError();
  if (isLink(now)) return failWith(FsError::IsLink);
  std::uint32_t bits = attributes & FileAttributes::kSettable;
  if (bits != FileAttributes::kNormal) bits &= ~FileAttributes::kNormal;
  if (bits == 0) bits = FileAttributes::kNormal;
  return ::SetFileAttributesW(toWide(path).c_str(), bits) ? true : failWithLastError();
}

bool WinFileSystem::listStreams(std::u16string_view path, std::vector<StreamEntry>& out) {
  const NtDll& nt = NtDll::get();
  if (!nt.fileCalls()) return failWith(FsError::NotSupported);
  enableBackupPrivilegeOnce();
  UniqueHandle entry = openEntry(path, FILE_READ_ATTRIBUTES, kShareAll);
  if (!entry.valid()) return false;
  std::vector<std::uint8_t> buffer;
  const NTSTATUS result = queryStreams(nt, entry.get(), buffer);
  if (keepsNoStreams(result)) return true;
  if (!NT_SUCCESS(result)) return failWith(nt.rtlNtStatusToDosError(result));
  StreamRecords::parse(buffer, out);
  return true;
}

OpenState WinFileSystem::openState(std::u16string_view path) {
  if (!usablePath(path) || systemProtects(path)) return OpenState::Unknown;
  UniqueHandle entry(::CreateFileW(toWide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (entry.valid()) {
    FileInfo info;
    DWORD attributes = 0;
    return describe(entry.get(), info, attributes) && info.kind == EntryKind::File
               ? OpenState::Free
               : OpenState::Unknown;
  }
  return ::GetLastError() == ERROR_SHARING_VIOLATION ? OpenState::InUse : OpenState::Unknown;
}

// ---- Folders

bool WinFileSystem::createFolder(std::u16string_view path) {
  if (!usablePath(path)) return failWith(FsError::InvalidName);
  return ::CreateDirectoryW(toWide(path).c_str(), nullptr) ? true : failWithLastError();
}

bool WinFileSystem::removeFolder(std::u16string_view path) {
  if (!usablePath(path)) return failWith(FsError::InvalidName);
  const DWORD attributes = attributesOf(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return failWithLastError();
  if (isLink(attributes)) return failWith(FsError::IsLink);
  return ::RemoveDirectoryW(toWide(path).c_str()) ? true : failWithLastError();
}

bool WinFileSystem::listFolder(std::u16string_view path, std::vector<DirEntry>& out) {
  out.clear();
  UniqueHandle folder = openEntry(path, FILE_READ_ATTRIBUTES, kShareAll);
  FileInfo self;
  DWORD attributes = 0;
  if (!folder.valid() || !describe(folder.get(), self, attributes)) return false;
  if (self.kind == EntryKind::Link) return failWith(FsError::IsLink);
  if (self.kind != EntryKind::Folder) return failWith(FsError::NotFound);
  std::u16string pattern(path);
  if (pattern.back() != u'\\') pattern += u'\\';
  pattern += u'*';
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW(toWide(pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    return ::GetLastError() == ERROR_FILE_NOT_FOUND ? true : failWithLastError();
  }
  do {
    const std::u16string name = fromWide(found.cFileName);
    if (name == u"." || name == u"..") continue;
    DirEntry entry;
    entry.name = name;
    entry.kind = kindOf(found.dwFileAttributes);
    entry.size = entry.kind == EntryKind::File ? join(found.nFileSizeHigh, found.nFileSizeLow) : 0;
    entry.device = self.device;
    out.push_back(std::move(entry));
  } while (::FindNextFileW(search, &found));
  const DWORD error = ::GetLastError();
  ::FindClose(search);
  return error == ERROR_NO_MORE_FILES ? true : failWith(static_cast<std::uint32_t>(error));
}

bool WinFileSystem::move(std::u16string_view from, std::u16string_view to, bool replaceExisting) {
  if (!usablePath(from) || !usablePath(to)) return failWith(FsError::InvalidName);
  const DWORD attributes = attributesOf(from);
  const bool folder = attributes != INVALID_FILE_ATTRIBUTES &&
                      (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !isLink(attributes);
  if ((folder || !replaceExisting) && exists(to)) return failWith(FsError::Exists);
  DWORD flags = MOVEFILE_WRITE_THROUGH;
  if (replaceExisting && !folder) flags |= MOVEFILE_REPLACE_EXISTING;
  return ::MoveFileExW(toWide(from).c_str(), toWide(to).c_str(), flags) ? true
                                                                        : failWithLastError();
}

bool WinFileSystem::deleteFile(std::u16string_view path) {
  if (!usablePath(path)) return failWith(FsError::InvalidName);
  const DWORD attributes = attributesOf(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return failWithLastError();
  const std::wstring wide = toWide(path);
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    // A link to a folder is removed as a folder entry; a real folder is not
    // a file.
    if (!isLink(attributes)) return failWith(FsError::AccessDenied);
    return ::RemoveDirectoryW(wide.c_str()) ? true : failWithLastError();
  }
  return ::DeleteFileW(wide.c_str()) ? true : failWithLastError();
}

// ---- Deletion at the next start

bool WinFileSystem::scheduleDeletion(std::u16string_view path) {
  FileInfo info;
  if (!stat(path, info)) return false;
  if (!PendingDeletionJournal().add(std::u16string(path), info)) return false;
  ::MoveFileExW(toWide(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  return true;
}

bool WinFileSystem::scheduleDeletionAfterMove(std::u16string_view current,
                                              std::u16string_view future) {
  FileInfo info;
  if (!stat(current, info)) return false;
  return PendingDeletionJournal().add(std::u16string(future), info);
}

bool WinFileSystem::scheduleNewFiles(const std::vector<std::u16string>& paths) {
  return PendingDeletionJournal().addNew(paths);
}

std::size_t WinFileSystem::replayScheduledDeletions() {
  return PendingDeletionJournal().replay(*this);
}

std::size_t WinFileSystem::forgetFinishedDeletions() {
  return PendingDeletionJournal().forgetFinished(*this);
}

// ---- Memory for unbuffered I/O

void* WinFileSystem::allocatePages(std::size_t bytes) {
  if (bytes == 0) return nullptr;
  void* pages = ::VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (pages == nullptr) failWithLastError();
  return pages;
}

void WinFileSystem::freePages(void* pages, std::size_t) {
  if (pages != nullptr) ::VirtualFree(pages, 0, MEM_RELEASE);
}

}  // namespace s::os::win_fs

namespace s::os {

FileSystem& platformFileSystem() {
  // Never destroyed: workers may still use it while the process ends.
  static win_fs::WinFileSystem* const instance = new win_fs::WinFileSystem();
  return *instance;
}

}  // namespace s::os
