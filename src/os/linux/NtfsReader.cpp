#include "os/linux/NtfsReader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "os/linux/Errno.h"
#include "os/linux/UniqueFd.h"

namespace s::os::linux_fs {

namespace {

constexpr std::size_t kFixupStride = 512;

template <typename T>
T le(const std::uint8_t* p) {
  T v = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) v |= static_cast<T>(p[i]) << (8 * i);
  return v;
}

// NTFS stores a size either as a count of clusters (positive) or as a power
// of two in bytes (negative: 2^-n).
std::uint32_t clustersOrPower(std::int8_t code, std::uint32_t clusterSize) {
  if (code >= 0) return static_cast<std::uint32_t>(code) * clusterSize;
  const int shift = -code;
  return shift < 32 ? (1u << shift) : 0;
}

bool isPowerOfTwo(std::uint32_t v) {
  return v != 0 && (v & (v - 1)) == 0;
}

bool readAt(int fd, std::uint8_t* buffer, std::size_t size, std::uint64_t offset) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, buffer + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

bool NtfsReader::parseBootSector(const std::uint8_t* s, NtfsVolumeData& out) {
  if (std::memcmp(s + 3, "NTFS    ", 8) != 0) return false;
  const auto bytesPerSector = le<std::uint16_t>(s + 0x0B);
  const std::uint8_t spcCode = s[0x0D];
  // Sectors per cluster above 128 are stored as 2^(256 - code).
  const std::uint32_t sectorsPerCluster = spcCode <= 0x80 ? spcCode : (1u << (256 - spcCode));
  if (!isPowerOfTwo(bytesPerSector) || bytesPerSector < 256 || !isPowerOfTwo(sectorsPerCluster)) {
    return false;
  }
  out.bytesPerSector = bytesPerSector;
  out.bytesPerCluster = bytesPerSector * sectorsPerCluster;
  out.totalSectors = le<std::uint64_t>(s + 0x28);
  out.mftStartLcn = le<std::uint64_t>(s + 0x30);
  out.bytesPerMftRecord = clustersOrPower(static_cast<std::int8_t>(s[0x40]), out.bytesPerCluster);
  return isPowerOfTwo(out.bytesPerMftRecord) && out.bytesPerMftRecord >= kFixupStride &&
         out.bytesPerMftRecord <= 65536;
}

bool NtfsReader::applyFixups(std::uint8_t* record, std::size_t size) {
  if (size < kFixupStride || std::memcmp(record, "FILE", 4) != 0) return false;
  const auto offset = le<std::uint16_t>(record + 4);
  const auto count = le<std::uint16_t>(record + 6);
  if (count != size / kFixupStride + 1 || offset + 2u * count > size) return false;
  const std::uint8_t* usn = record + offset;
  for (std::size_t i = 1; i < count; ++i) {
    std::uint8_t* tail = record + i * kFixupStride - 2;
    if (tail[0] != usn[0] || tail[1] != usn[1]) return false;
    tail[0] = usn[2 * i];
    tail[1] = usn[2 * i + 1];
  }
  return true;
}

bool NtfsReader::readDataSizes(const std::uint8_t* record, std::size_t size, NtfsVolumeData& out) {
  std::size_t pos = le<std::uint16_t>(record + 0x14);
  while (pos + 16 <= size) {
    const auto type = le<std::uint32_t>(record + pos);
    const auto length = le<std::uint32_t>(record + pos + 4);
    if (type == 0xFFFFFFFFu || length < 16 || pos + length > size) return false;
    const bool nonResident = record[pos + 8] != 0;
    const bool unnamed = record[pos + 9] == 0;
    if (type == 0x80 && unnamed && nonResident && length >= 0x40 &&
        le<std::uint64_t>(record + pos + 0x10) == 0) {
      out.mftAllocatedLength = le<std::uint64_t>(record + pos + 0x28);
      out.mftValidDataLength = le<std::uint64_t>(record + pos + 0x38);
      return true;
    }
    pos += length;
  }
  return false;
}

bool NtfsReader::read(const std::string& source, NtfsVolumeData& out, FsError& error) {
  UniqueFd fd(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) {
    error = errno == ENOENT ? FsError::NotFound : FsError::AccessDenied;
    return false;
  }
  std::uint8_t boot[512];
  NtfsVolumeData data;
  if (!readAt(fd.get(), boot, sizeof boot, 0)) {
    error = FsError::Io;
    return false;
  }
  if (!parseBootSector(boot, data)) {
    error = FsError::NotSupported;
    return false;
  }
  std::vector<std::uint8_t> record(data.bytesPerMftRecord);
  const std::uint64_t offset = data.mftStartLcn * data.bytesPerCluster;
  if (!readAt(fd.get(), record.data(), record.size(), offset) ||
      !applyFixups(record.data(), record.size()) ||
      !readDataSizes(record.data(), record.size(), data)) {
    error = FsError::Io;
    return false;
  }
  out = data;
  error = FsError::None;
  return true;
}

}  // namespace s::os::linux_fs
