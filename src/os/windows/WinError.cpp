#include "os/windows/WinError.h"

#include <windows.h>

namespace s::os::win_fs {

FsError errorFromWin32(std::uint32_t error) {
  switch (error) {
    case ERROR_SUCCESS:
      return FsError::Other;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_READY:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_UNIT:
      return FsError::NotFound;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return FsError::Exists;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_PRIVILEGE_NOT_HELD:
    case ERROR_NOT_OWNER:
      return FsError::AccessDenied;
    case ERROR_DIR_NOT_EMPTY:
      return FsError::NotEmpty;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
      return FsError::InUse;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return FsError::NoSpace;
    case ERROR_FILE_TOO_LARGE:
      return FsError::TooLarge;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_NO_UNICODE_TRANSLATION:
      return FsError::InvalidName;
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
    case ERROR_CALL_NOT_IMPLEMENTED:
      return FsError::NotSupported;
    case ERROR_CRC:
    case ERROR_IO_DEVICE:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
      return FsError::Io;
    default:
      return FsError::Other;
  }
}

bool failWith(std::uint32_t error) {
  setLastFsError(errorFromWin32(error));
  return false;
}

bool failWith(FsError error) {
  setLastFsError(error);
  return false;
}

bool failWithLastError() {
  return failWith(static_cast<std::uint32_t>(::GetLastError()));
}

}  // namespace s::os::win_fs
