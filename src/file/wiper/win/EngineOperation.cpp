#include "file/wiper/win/EngineOperation.h"

#include "os/System.h"

namespace s::file::wiper::win {

namespace {

constexpr int kVolumeReadAttempts = 5;
constexpr std::uint32_t kVolumeReadPauseMillis = 50;

}  // namespace

bool EngineOperation::volumeData(s::os::NtfsVolumeData& out) const {
  for (int attempt = 1; attempt <= kVolumeReadAttempts; ++attempt) {
    if (attempt > 1) s::os::system().sleepMillis(kVolumeReadPauseMillis);
    if (s::os::fileSystem().ntfsVolumeData(root_, out)) return true;
    const s::os::FsError error = s::os::lastFsError();
    if (error == s::os::FsError::AccessDenied || error == s::os::FsError::NotSupported ||
        error == s::os::FsError::NotFound) {
      return false;
    }
  }
  return false;
}

}  // namespace s::file::wiper::win
