#pragma once

#include <gtest/gtest.h>

#include <string>

namespace vonq::test {

// True when the suite runs under continuous integration (CI=true), where a
// missing capability is a failure rather than a reason to skip.
bool underCi();

// What `command` (run by the shell) prints on its standard output.
std::string commandOutput(const std::string& command);

}  // namespace vonq::test

// Skips the current test with a printed reason when `available` is false, or
// fails it instead under CI, where every capability must be present.
#define VONQ_REQUIRE_CAPABILITY(available, reason)   \
  do {                                               \
    if (!(available)) {                              \
      if (::vonq::test::underCi()) {                 \
        FAIL() << "required under CI: " << (reason); \
      }                                              \
      GTEST_SKIP() << "skipped: " << (reason);       \
    }                                                \
  } while (0)
