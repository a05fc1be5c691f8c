#include <gtest/gtest.h>

#include <string>

#include "EngineFixture.h"
#include "file/TempFolder.h"
#include "file/wiper/win/EngineOperation.h"
#include "file/wiper/win/FileEntriesWipe.h"
#include "os/FileSystem.h"

namespace vonq::engine_test {
namespace {

using s::file::wiper::win::EngineOperation;
using s::file::wiper::win::FileEntriesWipe;
using vonq::test::Installed;
using vonq::test::ScratchNtfs;
using vonq::test::u16;
using vonq::test::u8;

TEST(FileEntriesWipe, NamesFoldersAndFilesAsTheMftExpects) {
  std::atomic<float> progress{0.0f};
  std::atomic<std::uint8_t> skip{0};
  EngineOperation op(u"/media/usb/", progress, skip);
  FileEntriesWipe wipe(op);
  EXPECT_EQ(u8(wipe.folderName(0)), "/media/usb/Vonq_Nulmark.TMP.000000");
  EXPECT_EQ(u8(wipe.folderName(0x1AB)), "/media/usb/Vonq_Nulmark.TMP.0001AB");
  const std::string first = u8(FileEntriesWipe::fileName(u"/f", 0));
  EXPECT_EQ(first, "/f/" + std::string(215, '0') + "00000000");
  EXPECT_EQ(first.size() - 3, 223u);
  EXPECT_EQ(u8(FileEntriesWipe::fileName(u"/f", 250)), "/f/" + std::string(215, '0') + "000000FA");
}

int filesMade(HookedFileSystem& hooks) {
  return hooks.count("open " + std::string(215, '0'));
}

// Files are made until a query (every 20 files) sees the MFT grown; all of
// them and their folders are then destroyed.
TEST(FileEntriesWipe, CreatesFilesUntilTheMftGrowsThenRemovesThem) {
  VONQ_REQUIRE_SCRATCH_NTFS();
  ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  populate(volume);
  const LiveFiles before = snapshot(volume.mountPoint());
  // A leftover of an earlier run under the first folder's name.
  vonq::test::writeText(volume.path("Vonq_Nulmark.TMP.000000/stale"), "old");

  HookedFileSystem hooks;
  {
    Installed installed(hooks);
    Engine engine(volume.root(), {DiskWiper::kFileEntries});
    ASSERT_TRUE(engine.runToEnd());
    EXPECT_EQ(engine.percentages(), (std::vector<int>{0, 0, 0, 0, 100}));
  }
  const std::vector<std::string> queries = [&] {
    std::vector<std::string> q;
    for (const std::string& e : hooks.events()) {
      if (e.rfind("volume-data ", 0) == 0) q.push_back(e.substr(12));
    }
    return q;
  }();
  ASSERT_GE(queries.size(), 2u);
  const int made = filesMade(hooks);
  EXPECT_EQ(made % 20, 0);
  EXPECT_EQ(static_cast<std::size_t>(made / 20 + 1), queries.size());
  // Only the last query saw the MFT grown.
  for (std::size_t i = 1; i + 1 < queries.size(); ++i) EXPECT_EQ(queries[i], queries[0]);
  EXPECT_GT(std::stoull(queries.back()), std::stoull(queries[0]));

  EXPECT_TRUE(engineLeftovers(volume.mountPoint()).empty());
  EXPECT_EQ(snapshot(volume.mountPoint()), before);
}

// Without read access to the volume's source nothing is made, and the
// operation counts as done.
TEST(FileEntriesWipe, UnreadableVolumeDoesNothing) {
  VONQ_REQUIRE_SCRATCH_NTFS();
  ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  HookedFileSystem hooks;
  hooks.denyVolumeData = true;
  Installed installed(hooks);
  Engine engine(volume.root(), {DiskWiper::kFileEntries});
  ASSERT_TRUE(engine.runToEnd());
  EXPECT_EQ(engine->getProgressFileEntries(), 100);
  EXPECT_EQ(hooks.count("open"), 0);
  EXPECT_TRUE(engineLeftovers(volume.mountPoint()).empty());
}

// A link planted under a folder's name is removed itself; no file is ever
// made through it.
TEST(FileEntriesWipe, PlantedFolderLinkIsNotFollowed) {
  VONQ_REQUIRE_SCRATCH_NTFS();
  ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  vonq::test::TempFolder outside;
  ASSERT_EQ(::symlink(outside.root().c_str(), volume.path("Vonq_Nulmark.TMP.000000").c_str()), 0);
  Engine engine(volume.root(), {DiskWiper::kFileEntries});
  ASSERT_TRUE(engine.runToEnd());
  EXPECT_TRUE(std::filesystem::is_empty(outside.root()));
  EXPECT_TRUE(engineLeftovers(volume.mountPoint()).empty());
}

}  // namespace
}  // namespace vonq::engine_test
