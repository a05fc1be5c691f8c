#pragma once

#include <windows.h>

#include <string>

#include "os/FileSystem.h"
#include "os/windows/UniqueHandle.h"

namespace s::os::win_fs {

// FileSystem on Windows: Win32 file calls with FILE_FLAG_OPEN_REPARSE_POINT
// everywhere (a symbolic link, junction or any reparse point is an entry of
// its own, never followed), drive letters, and NtFsControlFile for NTFS
// volume data. See FileSystem for the contracts; where Windows differs:
// - a file is opened for writing without sharing, so another handle on it
//   makes the open fail with InUse, and holding it exclusive needs nothing
//   more;
// - DirEntry::fileId is 0 in listings (FindFirstFileW does not give one);
//   stat() reads it. FileInfo::device is the volume serial number;
// - openState() also answers Unknown for a file the system protects
//   (SfcIsFileProtected), so that no walk works on it;
// - scheduleDeletion() also asks the system to delete the entry at the
//   next restart (MoveFileExW with MOVEFILE_DELAY_UNTIL_REBOOT), which only
//   an administrator may; the per-user journal decides the result.
class WinFileSystem final : public FileSystem {
 public:
  char16_t separator() const override { return u'\\'; }

  std::vector<VolumeInfo> listVolumes() override;
  bool volumeOf(std::u16string_view path, VolumeInfo& out) override;
  std::uint64_t freeBytes(std::u16string_view path) override;
  bool ntfsVolumeData(std::u16string_view root, NtfsVolumeData& out) override;
  bool flushVolume(std::u16string_view root) override;
  std::unique_ptr<File> openVolumeSource(std::u16string_view root) override;

  std::unique_ptr<File> openFile(std::u16string_view path, const OpenMode& mode) override;
  bool stat(std::u16string_view path, FileInfo& out) override;
  bool exists(std::u16string_view path) override;
  bool getTimes(std::u16string_view path, FileTimes& out) override;
  bool setTimes(std::u16string_view path, const FileTimes& times) override;
  std::uint32_t getAttributes(std::u16string_view path) override;
  bool setAttributes(std::u16string_view path, std::uint32_t attributes) override;
  OpenState openState(std::u16string_view path) override;
  bool listStreams(std::u16string_view path, std::vector<StreamEntry>& out) override;

  bool createFolder(std::u16string_view path) override;
  bool removeFolder(std::u16string_view path) override;
  bool listFolder(std::u16string_view path, std::vector<DirEntry>& out) override;
  bool move(std::u16string_view from, std::u16string_view to, bool replaceExisting) override;
  bool deleteFile(std::u16string_view path) override;

  bool scheduleDeletion(std::u16string_view path) override;
  bool scheduleDeletionAfterMove(std::u16string_view current, std::u16string_view future) override;
  bool scheduleNewFiles(const std::vector<std::u16string>& paths) override;
  std::size_t replayScheduledDeletions() override;
  std::size_t forgetFinishedDeletions() override;

  void* allocatePages(std::size_t bytes) override;
  void freePages(void* pages, std::size_t bytes) override;

  // The root ("C:\") of the volume holding `path`; empty when there is none.
  static std::u16string rootOf(std::u16string_view path);

 private:
  // Opens the entry itself (never what a reparse point names) for `access`,
  // folders included. Records the failure and returns an invalid handle.
  static UniqueHandle openEntry(std::u16string_view path, DWORD access, DWORD share);
  static bool describe(HANDLE entry, FileInfo& out, DWORD& attributes);
};

}  // namespace s::os::win_fs
