#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "PlaceFixture.h"
#include "ProcessHelpers.h"
#include "os/FileSystem.h"

namespace {

using s::os::FsError;
using s::os::OpenMode;
using s::os::OpenState;
using vonq::test::fs::Holder;
using vonq::test::fs::Place;
using vonq::test::fs::PlaceTest;
using vonq::test::fs::u;
using vonq::test::fs::writeBytes;

class OpenStates : public PlaceTest {};

TEST_P(OpenStates, SeesAnotherProcessHoldingTheFile) {
  auto& fs = s::os::fileSystem();
  writeBytes(at("f"), "x");
  EXPECT_EQ(fs.openState(u(at("f"))), OpenState::Free);
  {
    Holder holder(at("f"));
    ASSERT_TRUE(holder.opened());
    EXPECT_EQ(fs.openState(u(at("f"))), OpenState::InUse);
    EXPECT_EQ(holder.finish(), 0);
  }
  EXPECT_EQ(fs.openState(u(at("f"))), OpenState::Free);
  ASSERT_EQ(::symlink(at("f").c_str(), at("l").c_str()), 0);
  EXPECT_EQ(fs.openState(u(at("l"))), OpenState::Unknown);
  EXPECT_EQ(fs.openState(u(dir_)), OpenState::Unknown);
}

// While a lease is held, another process's open waits; the holder sees the
// lease broken (and is not killed by the notification), releases it, and the
// other open goes through.
TEST_P(OpenStates, AnExclusiveHoldIsBrokenByAnotherOpenWithoutHarm) {
  auto& fs = s::os::fileSystem();
  writeBytes(at("f"), "x");
  auto file = fs.openFile(
      u(at("f")), OpenMode::make(OpenMode::Access::ReadWrite, OpenMode::Disposition::OpenExisting));
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(file->holdExclusive());
  EXPECT_FALSE(file->exclusiveBroken());
  EXPECT_EQ(fs.openState(u(at("f"))), OpenState::InUse);  // never blocks

  Holder other(at("f"));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!file->exclusiveBroken() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_TRUE(file->exclusiveBroken());
  file->releaseExclusive();
  EXPECT_TRUE(other.opened());
  EXPECT_EQ(other.finish(), 0);

  Holder again(at("f"));
  ASSERT_TRUE(again.opened());
  EXPECT_FALSE(file->holdExclusive());
  EXPECT_EQ(s::os::lastFsError(), FsError::InUse);
}

INSTANTIATE_TEST_SUITE_P(Places, OpenStates,
                         ::testing::Values(Place::TempFolder, Place::ScratchNtfs),
                         vonq::test::fs::placeName);

}  // namespace
