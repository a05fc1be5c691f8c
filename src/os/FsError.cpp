#include "os/FsError.h"

namespace s::os {

namespace {
thread_local FsError lastError = FsError::None;
}

FsError lastFsError() {
  return lastError;
}

void setLastFsError(FsError error) {
  lastError = error;
}

}  // namespace s::os
