#include "support/FaultyFileSystem.h"

#include <algorithm>

#include "os/FileWrapper.h"

namespace vonq::test {

using s::os::FsError;
using s::os::setLastFsError;

namespace {

bool fail(FsError error) {
  setLastFsError(error);
  return false;
}

// A file whose writes pass through the owner's fault switches.
class FaultyFile final : public s::os::FileWrapper {
 public:
  FaultyFile(std::unique_ptr<s::os::File> target, FaultyFileSystem& owner)
      : FileWrapper(std::move(target)), owner_(owner) {}

  bool write(const void* data, std::size_t count, std::size_t& done) override {
    done = 0;
    const std::int64_t allowed = owner_.admit(count);
    if (allowed < 0) return fail(FsError::Io);
    const auto n = static_cast<std::size_t>(allowed);
    if (n > 0 && !FileWrapper::write(data, n, done)) return false;
    owner_.wrote(done);
    return n == count ? true : fail(FsError::NoSpace);
  }

  bool setEndOfFile(std::uint64_t length) override {
    std::uint64_t current = 0;
    if (!size(current)) return false;
    if (length > current) {
      const std::uint64_t grow = length - current;
      const std::int64_t allowed = owner_.admit(static_cast<std::size_t>(grow));
      if (allowed < 0) return fail(FsError::Io);
      if (static_cast<std::uint64_t>(allowed) < grow) return fail(FsError::NoSpace);
      owner_.wrote(static_cast<std::size_t>(grow));
    }
    return FileWrapper::setEndOfFile(length);
  }

  bool flush() override { return owner_.ioFailing() ? fail(FsError::Io) : FileWrapper::flush(); }

 private:
  FaultyFileSystem& owner_;
};

}  // namespace

std::int64_t FaultyFileSystem::admit(std::size_t count) {
  if (writeIo_) return -1;
  std::int64_t budget = writeBudget_.load();
  while (budget >= 0) {
    const auto take = std::min<std::int64_t>(budget, static_cast<std::int64_t>(count));
    if (writeBudget_.compare_exchange_weak(budget, budget - take)) return take;
  }
  return static_cast<std::int64_t>(count);
}

std::unique_ptr<s::os::File> FaultyFileSystem::openFile(std::u16string_view path,
                                                        const s::os::OpenMode& mode) {
  auto file = FileSystemWrapper::openFile(path, mode);
  if (!file) return nullptr;
  return std::make_unique<FaultyFile>(std::move(file), *this);
}

bool FaultyFileSystem::move(std::u16string_view from, std::u16string_view to,
                            bool replaceExisting) {
  if (failMoves_) return fail(FsError::AccessDenied);
  return FileSystemWrapper::move(from, to, replaceExisting);
}

std::vector<s::os::VolumeInfo> FaultyFileSystem::listVolumes() {
  if (failVolumes_) return fail(FsError::Other), std::vector<s::os::VolumeInfo>{};
  return FileSystemWrapper::listVolumes();
}

bool FaultyFileSystem::volumeOf(std::u16string_view path, s::os::VolumeInfo& out) {
  if (failVolumes_) return fail(FsError::Other);
  return FileSystemWrapper::volumeOf(path, out);
}

std::uint64_t FaultyFileSystem::freeBytes(std::u16string_view path) {
  if (failVolumes_) return fail(FsError::Other), 0;
  return FileSystemWrapper::freeBytes(path);
}

bool FaultyFileSystem::ntfsVolumeData(std::u16string_view root, s::os::NtfsVolumeData& out) {
  if (failVolumes_) return fail(FsError::Other);
  return FileSystemWrapper::ntfsVolumeData(root, out);
}

}  // namespace vonq::test
