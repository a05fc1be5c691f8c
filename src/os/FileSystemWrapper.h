#pragma once

#include "os/FileSystem.h"

namespace s::os {

// A FileSystem that hands every call to another one. Wrappers that change a
// few operations (fault injection in tests, tracing) derive from it and
// override only those. Thread safety is the target's.
class FileSystemWrapper : public FileSystem {
 public:
  explicit FileSystemWrapper(FileSystem& target) : target_(target) {}

  FileSystem& target() { return target_; }

  char16_t separator() const override { return target_.separator(); }
  std::vector<VolumeInfo> listVolumes() override { return target_.listVolumes(); }
  bool volumeOf(std::u16string_view path, VolumeInfo& out) override {
    return target_.volumeOf(path, out);
  }
  std::uint64_t freeBytes(std::u16string_view path) override { return target_.freeBytes(path); }
  bool ntfsVolumeData(std::u16string_view root, NtfsVolumeData& out) override {
    return target_.ntfsVolumeData(root, out);
  }
  bool flushVolume(std::u16string_view root) override { return target_.flushVolume(root); }
  std::unique_ptr<File> openVolumeSource(std::u16string_view root) override {
    return target_.openVolumeSource(root);
  }
  std::unique_ptr<File> openFile(std::u16string_view path, const OpenMode& mode) override {
    return target_.openFile(path, mode);
  }
  bool stat(std::u16string_view path, FileInfo& out) override { return target_.stat(path, out); }
  bool exists(std::u16string_view path) override { return target_.exists(path); }
  bool getTimes(std::u16string_view path, FileTimes& out) override {
    return target_.getTimes(path, out);
  }
  bool setTimes(std::u16string_view path, const FileTimes& times) override {
    return target_.setTimes(path, times);
  }
  std::uint32_t getAttributes(std::u16string_view path) override {
    return target_.getAttributes(path);
  }
  bool setAttributes(std::u16string_view path, std::uint32_t attributes) override {
    return target_.setAttributes(path, attributes);
  }
  bool listStreams(std::u16string_view path, std::vector<StreamEntry>& out) override {
    return target_.listStreams(path, out);
  }
  OpenState openState(std::u16string_view path) override { return target_.openState(path); }
  bool createFolder(std::u16string_view path) override { return target_.createFolder(path); }
  bool removeFolder(std::u16string_view path) override { return target_.removeFolder(path); }
  bool listFolder(std::u16string_view path, std::vector<DirEntry>& out) override {
    return target_.listFolder(path, out);
  }
  bool move(std::u16string_view from, std::u16string_view to, bool replaceExisting) override {
    return target_.move(from, to, replaceExisting);
  }
  bool deleteFile(std::u16string_view path) override { return target_.deleteFile(path); }
  bool scheduleDeletion(std::u16string_view path) override {
    return target_.scheduleDeletion(path);
  }
  bool scheduleDeletionAfterMove(std::u16string_view current, std::u16string_view future) override {
    return target_.scheduleDeletionAfterMove(current, future);
  }
  bool scheduleNewFiles(const std::vector<std::u16string>& paths) override {
    return target_.scheduleNewFiles(paths);
  }
  std::size_t replayScheduledDeletions() override { return target_.replayScheduledDeletions(); }
  std::size_t forgetFinishedDeletions() override { return target_.forgetFinishedDeletions(); }
  void* allocatePages(std::size_t bytes) override { return target_.allocatePages(bytes); }
  void freePages(void* pages, std::size_t bytes) override { target_.freePages(pages, bytes); }

 private:
  FileSystem& target_;
};

}  // namespace s::os
