#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "EngineFixture.h"
#include "file/TempFolder.h"
#include "file/wiper/win/EngineOperation.h"
#include "file/wiper/win/FileEntriesWipe.h"
#include "os/FileSystem.h"
#include "support/RawNtfs.h"

namespace vonq::engine_test {
namespace {

using s::file::wiper::win::EngineOperation;
using s::file::wiper::win::FileEntriesWipe;
using vonq::test::Installed;
using vonq::test::ScratchNtfs;
using vonq::test::u16;
using vonq::test::u8;
using vonq::test::utf16le;

TEST(FileEntriesWipe, NamesFoldersAndFilesAsTheMftExpects) {
  std::atomic<float> progress{0.0f};
  std::atomic<std::uint8_t> skip{0};
  EngineOperation op(u"/media/usb/", progress, skip);
  FileEntriesWipe wipe(op);
  EXPECT_EQ(u8(wipe.folderName(0)), "/media/usb/Vonq_Nulmark.TMP.000000");
  EXPECT_EQ(u8(wipe.folderName(0x1AB)), "/media/usb/Vonq_Nulmark.TMP.0001AB");
  // The file names join the folder with the platform's separator.
  const std::string folder =
      "/f" + std::string(1, static_cast<char>(s::os::fileSystem().separator()));
  const std::string first = u8(FileEntriesWipe::fileName(u"/f", 0));
  EXPECT_EQ(first, folder + std::string(215, '0') + "00000000");
  EXPECT_EQ(first.size() - 3, 223u);
  EXPECT_EQ(u8(FileEntriesWipe::fileName(u"/f", 250)), folder + std::string(215, '0') + "000000FA");
}

int filesMade(HookedFileSystem& hooks) {
  return hooks.count("open " + std::string(215, '0'));
}

// Files are made until a query (every 20 files) finds no freed MFT record
// left - every record a deleted file had is reused, so its name is gone from
// the MFT - and all of them and their folders are then destroyed.
TEST(FileEntriesWipe, CreatesFilesUntilNoFreedRecordIsLeftThenRemovesThem) {
  VONQ_REQUIRE_SCRATCH_NTFS();
  ScratchNtfs::Options options;
  options.sizeBytes = 128ull << 20;
  ScratchNtfs volume(options);
  ASSERT_TRUE(volume.ok()) << volume.error();
  populate(volume);
  constexpr int kGone = 300;
  for (int i = 0; i < kGone; ++i) {
    vonq::test::writeText(volume.path("gone/vanished-name-" + std::to_string(i)), "x");
  }
  ::sync();
  std::filesystem::remove_all(volume.path("gone"));
  s::os::NtfsVolumeData volumeData;
  ASSERT_TRUE(s::os::fileSystem().ntfsVolumeData(volume.root(), volumeData));
  ASSERT_GE(volumeData.mftFreedRecords, static_cast<std::uint64_t>(kGone));
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
  std::vector<std::string> queries = [&] {
    std::vector<std::string> q;
    for (const std::string& e : hooks.events()) {
      if (e.rfind("volume-data ", 0) == 0) q.push_back(e.substr(12));
    }
    return q;
  }();
  ASSERT_GE(queries.size(), 2u);
  const int made = filesMade(hooks);
  EXPECT_EQ(made % 20, 0);
  // One query before the first file and one every 20 files; the folder
  // index pass reads the volume once more at the end.
  ASSERT_EQ(static_cast<std::size_t>(made / 20 + 2), queries.size());
  queries.pop_back();
  // Only the last query found no freed record left.
  for (std::size_t i = 0; i + 1 < queries.size(); ++i) {
    EXPECT_EQ(queries[i].find(" freed 0"), std::string::npos) << queries[i];
  }
  EXPECT_NE(queries.back().find(" freed 0"), std::string::npos) << queries.back();
  EXPECT_GE(made, kGone);

  EXPECT_TRUE(engineLeftovers(volume.mountPoint()).empty());
  EXPECT_EQ(snapshot(volume.mountPoint()), before);
  // A live name shows that the MFT is searched.
  std::string image;
  ASSERT_TRUE(volume.readImage(image));
  const std::string mft = vonq::test::mftOf(image);
  EXPECT_NE(mft.find(utf16le("small.txt")), std::string::npos);
  EXPECT_EQ(mft.find(utf16le("vanished-name-")), std::string::npos);
}

// Without read access to the volume's source nothing is made, and the
// operation does not pass for done: it says why.
TEST(FileEntriesWipe, UnreadableVolumeDoesNothingAndSaysWhy) {
  VONQ_REQUIRE_SCRATCH_NTFS();
  ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  HookedFileSystem hooks;
  hooks.denyVolumeData = true;
  Installed installed(hooks);
  Engine engine(volume.root(), {DiskWiper::kFileEntries});
  ASSERT_TRUE(engine.runToEnd());
  EXPECT_EQ(engine->getProgressFileEntries(), 0);
  EXPECT_EQ(engine->report(DiskWiper::kFileEntries).shortfall,
            s::file::wiper::Shortfall::VolumeUnreadable);
  EXPECT_EQ(engine->outcome(), DiskWiper::Outcome::Incomplete);
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
