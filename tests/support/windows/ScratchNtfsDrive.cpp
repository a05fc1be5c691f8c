// ScratchNtfs in the Windows build: a Windows program cannot run mkntfs and
// ntfs-3g, so the "scratch volume" is the NTFS drive that
// tests/os/windows/wine-ntfs-drive.sh made that way and mapped into the Wine
// prefix, named by VONQ_NTFS_DRIVE ("D:\"). Every case gets that one drive,
// as the script made it and as earlier cases left it; it cannot be
// unmounted or read as an image from here.

#include <cstdlib>
#include <string>

#include "os/CodePage.h"
#include "support/ScratchNtfs.h"

namespace vonq::test {

namespace {

// The mapped drive's root ("D:\"); empty when none is mapped.
std::string mappedDrive() {
  const char* drive = std::getenv("VONQ_NTFS_DRIVE");
  return drive == nullptr ? std::string() : std::string(drive);
}

}  // namespace

bool ScratchNtfs::capable(std::string& reason) {
  if (!mappedDrive().empty()) return true;
  reason =
      "scratch NTFS volumes are made with mkntfs and ntfs-3g, which a Windows program cannot "
      "run; wine_ntfs_drive runs these cases on the NTFS drive it maps (VONQ_NTFS_DRIVE)";
  return false;
}

std::u16string ScratchNtfs::nativePath(const std::string& bytes) {
  std::u16string out;
  s::os::codePage().toUtf16(s::os::CodePage::kUtf8, bytes, out);
  return out;
}

ScratchNtfs::ScratchNtfs() : ScratchNtfs(Options()) {}

ScratchNtfs::ScratchNtfs(const Options& options) : options_(options) {
  const std::string drive = mappedDrive();
  const Options made;
  if (drive.size() < 2) {
    fail("no NTFS drive is mapped (VONQ_NTFS_DRIVE)");
  } else if (options.sizeBytes != made.sizeBytes || options.clusterSize != made.clusterSize ||
             options.sectorSize != made.sectorSize || !options.mountOptions.empty()) {
    fail("the mapped drive has the size and geometry it was made with");
  } else {
    mountPoint_ = drive.substr(0, 2);
    ntfs3gPid_ = 1;  // mapped for the whole run: "mounted"
  }
}

ScratchNtfs::~ScratchNtfs() = default;  // the drive belongs to the script

std::u16string ScratchNtfs::root() const {
  return nativePath(mountPoint_ + "\\");
}

std::string ScratchNtfs::path(std::string_view relative) const {
  return mountPoint_ + "/" + std::string(relative);
}

bool ScratchNtfs::mount() {
  return mounted();
}

bool ScratchNtfs::unmount() {
  fail("the mapped drive cannot be unmounted from Windows");
  return false;
}

bool ScratchNtfs::readImage(std::string&) {
  return unmount();
}

bool ScratchNtfs::imageContains(std::string_view) {
  return unmount();
}

void ScratchNtfs::cleanStale() {}

bool ScratchNtfs::format(const Options&) {
  return false;
}

void ScratchNtfs::fail(const std::string& what) {
  if (error_.empty()) error_ = what;
}

}  // namespace vonq::test
