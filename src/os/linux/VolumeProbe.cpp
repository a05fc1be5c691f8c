#include "os/linux/VolumeProbe.h"

#include <blkid/blkid.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "os/linux/UniqueFd.h"

namespace s::os::linux_fs {

namespace {

constexpr std::uint64_t kMinFat32Clusters = 65525;

std::string nameFromBlkid(const char* type, const char* version) {
  if (type == nullptr) return "UNKNOWN";
  if (std::strcmp(type, "ntfs") == 0) return "NTFS";
  if (std::strcmp(type, "vfat") == 0 || std::strcmp(type, "msdos") == 0) {
    return version != nullptr && std::strcmp(version, "FAT32") == 0 ? "FAT32" : "FAT";
  }
  return "UNKNOWN";
}

bool isPowerOfTwo(std::uint32_t v) {
  return v != 0 && (v & (v - 1)) == 0;
}

}  // namespace

std::string VolumeProbe::probeName(const std::string& source) {
  blkid_probe probe = blkid_new_probe_from_filename(source.c_str());
  if (probe == nullptr) return "";
  blkid_probe_enable_superblocks(probe, 1);
  blkid_probe_set_superblocks_flags(probe, BLKID_SUBLKS_TYPE | BLKID_SUBLKS_VERSION);
  std::string name = "UNKNOWN";
  if (blkid_do_safeprobe(probe) == 0) {
    const char* type = nullptr;
    const char* version = nullptr;
    blkid_probe_lookup_value(probe, "TYPE", &type, nullptr);
    blkid_probe_lookup_value(probe, "VERSION", &version, nullptr);
    name = nameFromBlkid(type, version);
  }
  blkid_free_probe(probe);
  return name;
}

std::string VolumeProbe::fileSystemName(const std::string& source, const std::string& fsType,
                                        std::uint64_t totalBytes, std::uint32_t clusterBytes) {
  std::string name = probeName(source);
  if (!name.empty()) return name;
  if (fsType == "ntfs3" || fsType == "ntfs") return "NTFS";
  if (fsType == "vfat" || fsType == "msdos") {
    const std::uint64_t clusters = clusterBytes != 0 ? totalBytes / clusterBytes : 0;
    return clusters >= kMinFat32Clusters ? "FAT32" : "FAT";
  }
  return "UNKNOWN";
}

bool VolumeProbe::bootSectorGeometry(const std::string& source, VolumeGeometry& out) {
  UniqueFd fd(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  std::uint8_t s[512];
  if (!fd.valid() || ::pread(fd.get(), s, sizeof s, 0) != static_cast<ssize_t>(sizeof s)) {
    return false;
  }
  const bool ntfs = std::memcmp(s + 3, "NTFS    ", 8) == 0;
  const bool fat = std::memcmp(s + 0x36, "FAT", 3) == 0 || std::memcmp(s + 0x52, "FAT32", 5) == 0;
  if ((!ntfs && !fat) || s[510] != 0x55 || s[511] != 0xAA) return false;
  const std::uint32_t bytesPerSector = s[0x0B] | (s[0x0C] << 8);
  std::uint32_t sectorsPerCluster = s[0x0D];
  if (ntfs && sectorsPerCluster > 0x80) sectorsPerCluster = 1u << (256 - sectorsPerCluster);
  if (!isPowerOfTwo(bytesPerSector) || bytesPerSector < 256 || !isPowerOfTwo(sectorsPerCluster)) {
    return false;
  }
  out.bytesPerSector = bytesPerSector;
  out.sectorsPerCluster = sectorsPerCluster;
  return true;
}

std::uint32_t VolumeProbe::deviceSectorSize(const std::string& source) {
  UniqueFd fd(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat st {};
  int size = 0;
  if (fd.valid() && ::fstat(fd.get(), &st) == 0 && S_ISBLK(st.st_mode) &&
      ::ioctl(fd.get(), BLKSSZGET, &size) == 0 && size > 0) {
    return static_cast<std::uint32_t>(size);
  }
  return 512;
}

}  // namespace s::os::linux_fs
