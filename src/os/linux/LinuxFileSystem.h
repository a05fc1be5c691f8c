#pragma once

#include <string>

#include "os/FileSystem.h"
#include "os/linux/AttributeMemory.h"
#include "os/linux/MountTable.h"

namespace s::os::linux_fs {

// FileSystem on Linux: POSIX calls, /proc/self/mountinfo, libblkid, ntfs-3g's
// extended attributes and write leases. See FileSystem for the contracts.
class LinuxFileSystem final : public FileSystem {
 public:
  char16_t separator() const override { return u'/'; }

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

 private:
  static VolumeInfo describe(const MountEntry& mount);
  // The device or image mounted where `root` lies. False (NotFound) when
  // no mount holds it.
  static bool sourceOf(std::u16string_view root, std::string& source);
  std::uint32_t attributesOf(const std::string& path, const FileInfo& info);
  bool open(const std::string& path, int flags, int& fd);
  void giveCreateAttributes(int fd, std::uint32_t attributes);

  AttributeMemory attributes_;
};

}  // namespace s::os::linux_fs
