#include "os/windows/RawVolume.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "os/NtfsReader.h"

namespace s::os::win_fs {

namespace {

// Reads on a volume handle must start and end on sector boundaries; a
// multiple of every sector size in use.
constexpr std::uint64_t kBlock = 4096;
constexpr DWORD kMostPerRead = 1u << 20;

// Reads `size` bytes at the aligned `offset` into `buffer`, in pieces.
bool readAligned(HANDLE volume, std::uint8_t* buffer, std::uint64_t size, std::uint64_t offset) {
  std::uint64_t done = 0;
  while (done < size) {
    const DWORD piece = static_cast<DWORD>(std::min<std::uint64_t>(size - done, kMostPerRead));
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset + done);
    at.OffsetHigh = static_cast<DWORD>((offset + done) >> 32);
    DWORD got = 0;
    if (!::ReadFile(volume, buffer + done, piece, &got, &at) || got != piece) return false;
    done += got;
  }
  return true;
}

}  // namespace

bool RawVolume::readAt(HANDLE volume, std::uint8_t* buffer, std::size_t size,
                       std::uint64_t offset) {
  const std::uint64_t first = offset / kBlock * kBlock;
  const std::uint64_t end = (offset + size + kBlock - 1) / kBlock * kBlock;
  std::vector<std::uint8_t> blocks(end - first);
  if (!readAligned(volume, blocks.data(), blocks.size(), first)) return false;
  std::memcpy(buffer, blocks.data() + (offset - first), size);
  return true;
}

bool RawVolume::read(HANDLE volume, NtfsVolumeData& out, FsError& error) {
  return NtfsReader::read(
      [volume](std::uint8_t* buffer, std::size_t size, std::uint64_t offset) {
        return readAt(volume, buffer, size, offset);
      },
      out, error);
}

}  // namespace s::os::win_fs
