#include <gtest/gtest.h>

#include <atomic>
#include <thread>

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

TEST(System, StartThreadRunsTheBodyOnAnotherThread) {
  std::atomic<std::uint32_t> ranOn{0};
  std::thread worker;
  ASSERT_TRUE(
      s::os::system().startThread([&] { ranOn = s::os::system().currentThreadId(); }, worker));
  ASSERT_TRUE(worker.joinable());
  worker.join();
  EXPECT_NE(ranOn.load(), 0u);
  EXPECT_NE(ranOn.load(), s::os::system().currentThreadId());
}

}  // namespace
