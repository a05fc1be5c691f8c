#pragma once

#include <cstdint>

namespace s::os {

// The three times of an entry in Windows FILETIME units: 100-nanosecond
// intervals since 1601-01-01 00:00:00 UTC. 0 means "not known" when read and
// "leave as it is" when set.
struct FileTimes {
  std::uint64_t creation = 0;
  std::uint64_t lastAccess = 0;
  std::uint64_t lastWrite = 0;

  // FILETIME of 1970-01-01 00:00:00 UTC.
  static constexpr std::uint64_t kUnixEpoch = 116444736000000000ull;

  // Converts seconds and nanoseconds since 1970 (UTC) to a FILETIME; times
  // before 1601 become 1 (the earliest value that is not "unknown").
  static std::uint64_t fromUnix(std::int64_t seconds, std::int64_t nanoseconds) {
    const std::int64_t ticks = seconds * 10000000 + nanoseconds / 100;
    const std::int64_t epoch = static_cast<std::int64_t>(kUnixEpoch);
    return ticks <= -epoch ? 1u : static_cast<std::uint64_t>(ticks + epoch);
  }

  // Splits a FILETIME into seconds and nanoseconds since 1970 (UTC).
  static void toUnix(std::uint64_t filetime, std::int64_t& seconds, std::int64_t& nanoseconds) {
    const std::int64_t ticks = static_cast<std::int64_t>(filetime - kUnixEpoch);
    seconds = ticks / 10000000;
    std::int64_t rest = ticks % 10000000;
    if (rest < 0) {
      rest += 10000000;
      seconds -= 1;
    }
    nanoseconds = rest * 100;
  }
};

}  // namespace s::os
