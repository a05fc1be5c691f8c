#include <gtest/gtest.h>

#include <string>

#include "EngineFixture.h"
#include "file/TempFolder.h"
#include "os/FileSystem.h"

namespace vonq::engine_test {
namespace {

using vonq::test::Installed;
using vonq::test::ScratchNtfs;

enum class Via { SkipFlag, Stop };

struct CancelCase {
  const char* name;
  int op;
  Via via;
};

void disable(DiskWiper& engine, int op) {
  switch (op) {
    case DiskWiper::kDiskSpace:
      engine.setProcessDiskSpace(false);
      break;
    case DiskWiper::kMFTSpace:
      engine.setProcessMFTSpace(false);
      break;
    case DiskWiper::kFileEntries:
      engine.setProcessFileEntries(false);
      break;
    default:
      break;
  }
}

// Slows the operation down at its inner loop so that a cancel lands in the
// middle of it.
void slowDown(HookedFileSystem& hooks, int op) {
  if (op == DiskWiper::kDiskSpace) {
    hooks.slowName = [](const std::string& n) { return n == "Vonq_Nulmark.tmp02"; };
    hooks.writeDelayMs = 150;
  } else if (op == DiskWiper::kMFTSpace) {
    hooks.slowName = [](const std::string& n) { return isSmallFileName(n); };
    hooks.writeDelayMs = 20;
  } else {
    hooks.slowName = [](const std::string& n) { return n.rfind(std::string(215, '0'), 0) == 0; };
    hooks.openDelayMs = 50;
  }
}

// Every operation that runs long ends in an orderly way when cancelled -
// through its own skip flag or through stop(true) - leaving nothing behind
// and not counting as done. A cancelled operation does not keep a later one
// from running; stop(true) does.
TEST(Cancel, EachOperationEndsCleanlyThroughItsSkipFlagOrStop) {
  VONQ_REQUIRE_SCRATCH_NTFS();
  ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  populate(volume);
  const LiveFiles before = snapshot(volume.mountPoint());
  const CancelCase cases[] = {
      {"DiskSpace by its flag", DiskWiper::kDiskSpace, Via::SkipFlag},
      {"DiskSpace by stop", DiskWiper::kDiskSpace, Via::Stop},
      {"MFTSpace by its flag", DiskWiper::kMFTSpace, Via::SkipFlag},
      {"MFTSpace by stop", DiskWiper::kMFTSpace, Via::Stop},
      {"FileEntries by its flag", DiskWiper::kFileEntries, Via::SkipFlag},
      {"FileEntries by stop", DiskWiper::kFileEntries, Via::Stop},
  };
  for (const CancelCase& c : cases) {
    SCOPED_TRACE(c.name);
    HookedFileSystem hooks;
    slowDown(hooks, c.op);
    Installed installed(hooks);
    // The operation after the cancelled one shows whether the run went on.
    const int next = c.op == DiskWiper::kDiskSpace ? DiskWiper::kMFTSpace : DiskWiper::kTrashBin;
    Engine engine(volume.root(), {c.op, next});
    engine->start();
    ASSERT_TRUE(waitUntil([&] { return hooks.slowWrites.load() + hooks.slowOpens.load() >= 3; },
                          std::chrono::seconds(60)));
    if (c.via == Via::Stop) {
      engine->stop(true);
      EXPECT_FALSE(engine->isRunning()) << "the run did not end within stop's wait";
    } else {
      disable(*engine, c.op);
      ASSERT_TRUE(waitUntil([&] { return !engine->isRunning(); }, std::chrono::seconds(60)));
    }
    const std::vector<int> done = engine.percentages();
    EXPECT_LT(done[c.op], 100);
    if (next == DiskWiper::kMFTSpace) {
      EXPECT_EQ(done[next], c.via == Via::Stop ? 0 : 100);
    }
    EXPECT_TRUE(engineLeftovers(volume.mountPoint()).empty());
  }
  EXPECT_EQ(snapshot(volume.mountPoint()), before);
}

}  // namespace
}  // namespace vonq::engine_test
