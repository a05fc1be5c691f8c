#include "os/linux/Errno.h"

#include <cerrno>

namespace s::os::linux_fs {

FsError errorFromErrno(int error) {
  switch (error) {
    case 0:
      return FsError::None;
    case ENOENT:
    case ENOTDIR:
      return FsError::NotFound;
    case EEXIST:
      return FsError::Exists;
    case EACCES:
    case EPERM:
    case EROFS:
      return FsError::AccessDenied;
    case ELOOP:
      return FsError::IsLink;
    case ENOTEMPTY:
      return FsError::NotEmpty;
    case EBUSY:
    case ETXTBSY:
    case EAGAIN:
      return FsError::InUse;
    case ENOSPC:
    case EDQUOT:
      return FsError::NoSpace;
    case EFBIG:
      return FsError::TooLarge;
    case ENAMETOOLONG:
    case EILSEQ:
      return FsError::InvalidName;
    case EOPNOTSUPP:
    case ENOSYS:
    case ENOTTY:
      return FsError::NotSupported;
    case EIO:
      return FsError::Io;
    default:
      return FsError::Other;
  }
}

bool failWith(int error) {
  return failWith(errorFromErrno(error));
}

bool failWith(FsError error) {
  setLastFsError(error);
  return false;
}

}  // namespace s::os::linux_fs
