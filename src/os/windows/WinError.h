#pragma once

#include <cstdint>

#include "os/FsError.h"

namespace s::os::win_fs {

// The FsError that stands for a Win32 error code (GetLastError()).
FsError errorFromWin32(std::uint32_t error);

// Records errorFromWin32(error) as the thread's last failure; returns false.
bool failWith(std::uint32_t error);

// Records `error` as the thread's last failure; returns false.
bool failWith(FsError error);

// failWith(GetLastError()).
bool failWithLastError();

}  // namespace s::os::win_fs
