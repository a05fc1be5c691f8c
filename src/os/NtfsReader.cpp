#include "os/NtfsReader.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace s::os {

namespace {

constexpr std::size_t kFixupStride = 512;
// The record bitmap of an MFT of 2^31 records.
// ntfs-3g gives files records from 64 on: below are the system's own and
// records it keeps in reserve, which it never hands out.
constexpr std::uint64_t kFirstFileRecord = 64;
constexpr std::size_t kBitmapLimit = std::size_t{1} << 28;

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

// The unnamed attribute of `type` in a fixed-up record: its offset, or 0.
std::size_t findUnnamed(const std::uint8_t* record, std::size_t size, std::uint32_t type) {
  std::size_t pos = le<std::uint16_t>(record + 0x14);
  while (pos + 16 <= size) {
    const auto found = le<std::uint32_t>(record + pos);
    const auto length = le<std::uint32_t>(record + pos + 4);
    if (found == 0xFFFFFFFFu || length < 16 || pos + length > size) return 0;
    if (found == type && record[pos + 9] == 0) return pos;
    pos += length;
  }
  return 0;
}

// Reads the value of the non-resident attribute at `attr` (its data size,
// at most `limit` bytes) by following its run list.
bool readNonResident(const NtfsReader::ReadAt& readAt, const std::uint8_t* attr,
                     std::size_t attrLength, std::uint32_t clusterSize, std::size_t limit,
                     std::vector<std::uint8_t>& out) {
  if (attrLength < 0x40) return false;
  const auto dataSize = le<std::uint64_t>(attr + 0x30);
  if (dataSize > limit) return false;
  out.assign(dataSize, 0);
  std::size_t run = le<std::uint16_t>(attr + 0x20);
  std::uint64_t vcnBytes = 0;
  std::int64_t lcn = 0;
  while (vcnBytes < dataSize && run < attrLength && attr[run] != 0) {
    const unsigned lengthBytes = attr[run] & 0x0F;
    const unsigned offsetBytes = attr[run] >> 4;
    if (lengthBytes == 0 || lengthBytes > 8 || offsetBytes == 0 || offsetBytes > 8 ||
        run + 1 + lengthBytes + offsetBytes > attrLength) {
      return false;  // a sparse or damaged run: no bitmap is stored that way
    }
    std::uint64_t clusters = 0;
    for (unsigned i = 0; i < lengthBytes; ++i)
      clusters |= std::uint64_t{attr[run + 1 + i]} << (8 * i);
    std::uint64_t delta = 0;
    for (unsigned i = 0; i < offsetBytes; ++i) {
      delta |= std::uint64_t{attr[run + 1 + lengthBytes + i]} << (8 * i);
    }
    if (offsetBytes < 8 && (delta >> (8 * offsetBytes - 1)) & 1)
      delta |= ~0ull << (8 * offsetBytes);
    lcn += static_cast<std::int64_t>(delta);
    const std::uint64_t bytes =
        std::min<std::uint64_t>(clusters * clusterSize, dataSize - vcnBytes);
    if (lcn < 0 ||
        !readAt(out.data() + vcnBytes, bytes, static_cast<std::uint64_t>(lcn) * clusterSize)) {
      return false;
    }
    vcnBytes += bytes;
    run += 1 + lengthBytes + offsetBytes;
  }
  return vcnBytes == dataSize;
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
  const std::size_t pos = findUnnamed(record, size, 0x80);
  if (pos == 0 || record[pos + 8] == 0 || le<std::uint32_t>(record + pos + 4) < 0x40 ||
      le<std::uint64_t>(record + pos + 0x10) != 0) {
    return false;
  }
  out.mftAllocatedLength = le<std::uint64_t>(record + pos + 0x28);
  out.mftValidDataLength = le<std::uint64_t>(record + pos + 0x38);
  return true;
}

bool NtfsReader::countFreeRecords(const ReadAt& readAt, const std::uint8_t* record,
                                  std::size_t size, NtfsVolumeData& volume) {
  const std::size_t pos = findUnnamed(record, size, 0xB0);
  if (pos == 0) return false;
  const auto length = le<std::uint32_t>(record + pos + 4);
  std::vector<std::uint8_t> bits;
  if (record[pos + 8] == 0) {
    const auto valueLength = le<std::uint32_t>(record + pos + 0x10);
    const auto valueOffset = le<std::uint16_t>(record + pos + 0x14);
    if (valueOffset + std::uint64_t{valueLength} > length) return false;
    bits.assign(record + pos + valueOffset, record + pos + valueOffset + valueLength);
  } else if (!readNonResident(readAt, record + pos, length, volume.bytesPerCluster, kBitmapLimit,
                              bits)) {
    return false;
  }
  const std::uint64_t bitCount = bits.size() * 8ull;
  const std::uint64_t allocated =
      std::min(bitCount, volume.mftAllocatedLength / volume.bytesPerMftRecord);
  const std::uint64_t initialised =
      std::min(allocated, volume.mftValidDataLength / volume.bytesPerMftRecord);
  std::uint64_t free = 0;
  std::uint64_t freed = 0;
  for (std::uint64_t i = kFirstFileRecord; i < allocated; ++i) {
    const bool clear = ((bits[i / 8] >> (i % 8)) & 1) == 0;
    free += clear ? 1 : 0;
    freed += clear && i < initialised ? 1 : 0;
  }
  volume.mftFreeRecords = free;
  volume.mftFreedRecords = freed;
  volume.mftRecordsCounted = true;
  return true;
}

bool NtfsReader::read(const ReadAt& readAt, NtfsVolumeData& out, FsError& error) {
  std::uint8_t boot[512];
  NtfsVolumeData data;
  if (!readAt(boot, sizeof boot, 0)) {
    error = FsError::Io;
    return false;
  }
  if (!parseBootSector(boot, data)) {
    error = FsError::NotSupported;
    return false;
  }
  std::vector<std::uint8_t> record(data.bytesPerMftRecord);
  const std::uint64_t offset = data.mftStartLcn * data.bytesPerCluster;
  if (!readAt(record.data(), record.size(), offset) || !applyFixups(record.data(), record.size()) ||
      !readDataSizes(record.data(), record.size(), data)) {
    error = FsError::Io;
    return false;
  }
  // Unknown (0) when the bitmap lives elsewhere, as in a very fragmented MFT.
  countFreeRecords(readAt, record.data(), record.size(), data);
  out = data;
  error = FsError::None;
  return true;
}

}  // namespace s::os
