#include "os/linux/NtfsImage.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "os/NtfsReader.h"
#include "os/linux/UniqueFd.h"

namespace s::os::linux_fs {

namespace {

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

bool NtfsImage::read(const std::string& source, NtfsVolumeData& out, FsError& error) {
  UniqueFd fd(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) {
    error = errno == ENOENT ? FsError::NotFound : FsError::AccessDenied;
    return false;
  }
  const int descriptor = fd.get();
  return NtfsReader::read(
      [descriptor](std::uint8_t* buffer, std::size_t size, std::uint64_t offset) {
        return readAt(descriptor, buffer, size, offset);
      },
      out, error);
}

}  // namespace s::os::linux_fs
