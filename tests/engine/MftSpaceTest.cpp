#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "EngineFixture.h"
#include "file/TempFolder.h"
#include "file/wiper/win/MftSpaceFill.h"
#include "os/FileSystem.h"

namespace vonq::engine_test {
namespace {

using s::file::wiper::win::MftSpaceFill;
using vonq::test::Installed;
using vonq::test::ScratchNtfs;

TEST(MftSpaceFill, SmallFileNamesHaveEightAndThreeCharactersOfTheAlphabet) {
  for (int i = 0; i < 200; ++i) {
    const std::u16string name = MftSpaceFill::randomName();
    EXPECT_TRUE(isSmallFileName(vonq::test::u8(name))) << vonq::test::u8(name);
  }
}

// With every cluster taken, small files are made until not one more fits -
// one in every record freed by a deleted file, whose data lived in the
// record itself - then everything goes: the volume ends as it began, less
// the deleted data.
TEST(MftSpaceFill, FillsFreeRecordsWithTheDiskFullThenRemovesEverything) {
  VONQ_REQUIRE_SCRATCH_NTFS();
  ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  populate(volume);
  constexpr int kDeleted = 80;
  auto marker = [](int i) { return "VONQ-MFT-RESIDENT-" + std::to_string(1000 + i) + "|"; };
  for (int i = 0; i < kDeleted; ++i) {
    vonq::test::writeText(volume.path("gone/r" + std::to_string(i)), marker(i));
  }
  ::sync();
  std::filesystem::remove_all(volume.path("gone"));
  const LiveFiles before = snapshot(volume.mountPoint());
  const std::uint64_t freeBefore = freeBytesOf(volume.mountPoint());

  HookedFileSystem hooks;
  {
    Installed installed(hooks);
    Engine engine(volume.root(), {DiskWiper::kMFTSpace});
    ASSERT_TRUE(engine.runToEnd());
    EXPECT_EQ(engine.percentages(), (std::vector<int>{0, 0, 100, 0, 0}));
  }
  EXPECT_EQ(hooks.freeAfterSecondSized.load(), 0);
  EXPECT_EQ(hooks.count("write Vonq_Nulmark.tmp0"), 0);  // only sized
  int made = 0;
  for (const std::string& e : hooks.events()) {
    if (e.rfind("open ", 0) == 0 && isSmallFileName(e.substr(5))) ++made;
  }
  EXPECT_GE(made, kDeleted);

  EXPECT_TRUE(engineLeftovers(volume.mountPoint()).empty());
  EXPECT_EQ(snapshot(volume.mountPoint()), before);
  EXPECT_GE(freeBytesOf(volume.mountPoint()) + 64 * 1024, freeBefore);
  EXPECT_EQ(s::os::fileSystem().replayScheduledDeletions(), 0u);
  std::string image;
  ASSERT_TRUE(volume.readImage(image));
  for (int i = 0; i < kDeleted; ++i) EXPECT_EQ(image.find(marker(i)), std::string::npos) << i;
}

// Leftovers of an earlier run are removed first; a link planted under a
// temporary name is removed itself and never written through.
TEST(MftSpaceFill, PlantedLinksAreRemovedNotFollowed) {
  VONQ_REQUIRE_SCRATCH_NTFS();
  ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  vonq::test::TempFolder outside;
  vonq::test::writeText(outside.at("victim.txt"), "precious");
  vonq::test::writeText(volume.path("Vonq_NulmarkTMP/old/leftover.bin"), "x");
  ASSERT_EQ(::symlink(outside.at("victim.txt").c_str(), volume.path("Vonq_Nulmark.tmp01").c_str()),
            0);
  ASSERT_EQ(::symlink(outside.root().c_str(), volume.path("Vonq_Nulmark.tmp02").c_str()), 0);

  Engine engine(volume.root(), {DiskWiper::kMFTSpace});
  ASSERT_TRUE(engine.runToEnd());
  EXPECT_EQ(engine->getProgressMFTSpace(), 100);
  EXPECT_TRUE(engineLeftovers(volume.mountPoint()).empty());
  EXPECT_EQ(vonq::test::readText(outside.at("victim.txt")), "precious");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(outside.root()),
                          std::filesystem::directory_iterator()),
            1);
}

}  // namespace
}  // namespace vonq::engine_test
