#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "os/linux/ProcessStamp.h"

namespace {

using s::os::linux_fs::ProcessStamp;

// Which processes a stamp says are running: a journal keeps a record while
// its writer runs, so a process that ended must never pass for running
// (nor a new one that got its id), and a running one always must.
TEST(ProcessStamp, NamesOneProcessNotItsIdAlone) {
  const ProcessStamp self = ProcessStamp::self();
  EXPECT_TRUE(self.running());
  EXPECT_TRUE(self.isSelf());
  EXPECT_FALSE(self.runningElsewhere());
  EXPECT_TRUE(ProcessStamp::of(::getppid()).runningElsewhere());

  // The same id with another start: a process that got a reused id.
  EXPECT_FALSE((ProcessStamp{self.pid, self.startTicks + 1}).running());
  // A record of the older form (an id alone) counts while the id is in use.
  EXPECT_TRUE((ProcessStamp{self.pid, ProcessStamp::kAnyStart}).running());
  EXPECT_FALSE(ProcessStamp{}.running());

  // A child that ended: a zombie first, then gone.
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  const ProcessStamp ended = ProcessStamp::of(child);
  siginfo_t info{};
  ASSERT_EQ(::waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOWAIT), 0);
  EXPECT_FALSE(ended.running()) << "a zombie has ended";
  ASSERT_EQ(::waitpid(child, nullptr, 0), child);
  EXPECT_FALSE(ended.running());

  // Seen from a child made by fork, the parent is another process.
  const pid_t probe = ::fork();
  if (probe == 0) ::_exit(self.isSelf() || !self.runningElsewhere() ? 1 : 0);
  int status = 0;
  ASSERT_EQ(::waitpid(probe, &status, 0), probe);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  ProcessStamp back;
  ASSERT_TRUE(ProcessStamp::parse(self.text(), back));
  EXPECT_TRUE(back == self);
}

}  // namespace
