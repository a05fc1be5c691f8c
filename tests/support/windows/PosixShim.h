#pragma once

// POSIX calls the portable tests use, on Windows (given to every test source
// of the Windows build with -include). Windows-only; the Linux build never
// sees this file. It stays clear of <windows.h>, whose macros (far, near,
// min, ...) would clash with the tests' own names.

#include <direct.h>
#include <fcntl.h>
#include <process.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

// Replaces the trailing XXXXXX of `pattern` with a unique name and creates
// that folder. `pattern` on success, null otherwise.
inline char* mkdtemp(char* pattern) {
  const std::size_t length = std::strlen(pattern);
  if (length < 6 || std::strcmp(pattern + length - 6, "XXXXXX") != 0) return nullptr;
  static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  const auto seed =
      static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      (static_cast<unsigned long long>(::_getpid()) << 32);
  for (unsigned long long attempt = 0; attempt < 100; ++attempt) {
    unsigned long long bits = seed + attempt * 7919u;
    for (std::size_t i = length - 6; i < length; ++i) {
      pattern[i] = kDigits[bits % 36];
      bits /= 36;
    }
    if (::_mkdir(pattern) == 0) return pattern;
    if (errno != EEXIST) return nullptr;
  }
  return nullptr;
}

inline int setenv(const char* name, const char* value, int overwrite) {
  if (overwrite == 0 && std::getenv(name) != nullptr) return 0;
  return ::_putenv_s(name, value) == 0 ? 0 : -1;
}

inline int unsetenv(const char* name) {
  return ::_putenv_s(name, "") == 0 ? 0 : -1;
}

// Opening flags POSIX has and Windows lacks. Windows has no links for
// O_NOFOLLOW to refuse and keeps no access time that O_NOATIME could spare;
// O_CLOEXEC is "not inherited" and, as POSIX reads bytes as they are,
// binary mode.
#define O_NOFOLLOW 0
#define O_NOATIME 0
#define O_CLOEXEC (_O_NOINHERIT | _O_BINARY)

// Windows writes through to the volume when a handle is closed; there is no
// global cache to flush from a test.
inline void sync() {}

// No process runs as root on Windows.
inline unsigned geteuid() {
  return 1;
}

// Wine cannot make symbolic links, and making one on Windows needs a
// privilege: the cases that plant links are left out of the Windows build.
inline int symlink(const char*, const char*) {
  errno = ENOSYS;
  return -1;
}
