#pragma once

#include "os/FsError.h"

namespace s::os::linux_fs {

// The FsError that stands for an errno value.
FsError errorFromErrno(int error);

// Records errorFromErrno(error) as the thread's last failure; returns false.
bool failWith(int error);

// Records `error` as the thread's last failure; returns false.
bool failWith(FsError error);

}  // namespace s::os::linux_fs
