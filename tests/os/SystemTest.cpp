#include <gtest/gtest.h>

#include "os/System.h"

namespace {

TEST(System, MillisIsMonotonicAndSleepWaits) {
  auto& sys = s::os::system();
  const auto before = sys.millis();
  sys.sleepMillis(30);
  const auto after = sys.millis();
  EXPECT_GE(after - before, 29u);
  EXPECT_LT(after - before, 1000u);
}

TEST(System, LoweringPriorityIsAllowed) {
  EXPECT_TRUE(s::os::system().setCurrentThreadPriority(-1));
  EXPECT_NE(s::os::system().currentThreadId(), 0u);
}

}  // namespace
