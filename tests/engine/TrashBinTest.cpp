#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "EngineFixture.h"
#include "file/TempFolder.h"
#include "os/Shell.h"

namespace vonq::engine_test {
namespace {

namespace fs = std::filesystem;
using vonq::test::readText;
using vonq::test::ScratchNtfs;
using vonq::test::TempFolder;
using vonq::test::u16;
using vonq::test::writeText;

// Mount options that keep Unix permissions (the sticky bit of a shared bin).
ScratchNtfs::Options withPermissions() {
  ScratchNtfs::Options options;
  options.mountOptions = "permissions";
  return options;
}

bool emptyFolder(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(fs::symlink_status(path, ec)) && fs::is_empty(path, ec);
}

// Fills the files/ and info/ folders of the bin at `bin`, with a link that
// points at `victim` (outside the volume) and a link to a folder.
void fillBin(const std::string& bin, const std::string& victim, const std::string& victimFolder) {
  writeText(bin + "/files/report.txt", "trashed");
  writeText(bin + "/files/project/src/main.c", "int main;");
  ::chmod((bin + "/files/project/src").c_str(), 0500);
  writeText(bin + "/info/report.txt.trashinfo", "[Trash Info]");
  writeText(bin + "/info/project.trashinfo", "[Trash Info]");
  fs::create_symlink(victim, bin + "/files/link.txt");
  fs::create_symlink(victimFolder, bin + "/files/linked-folder");
}

// The recycle bins on the volume are emptied, links in them deleted and not
// followed; a bin on another volume, a non-sticky shared bin and the live
// files stay as they are. An empty bin counts as done too.
TEST(TrashBin, EmptiesTheBinsOfTheVolumeOnly) {
  VONQ_REQUIRE_SCRATCH_NTFS();
  ScratchNtfs volume(withPermissions());
  ASSERT_TRUE(volume.ok()) << volume.error();
  populate(volume);
  const LiveFiles before = snapshot(volume.mountPoint());
  TempFolder outside;
  writeText(outside.at("victim.txt"), "precious");
  writeText(outside.at("folder/keep.txt"), "keep");
  const std::string uid = std::to_string(::getuid());
  const std::string ownBin = volume.path(".Trash-" + uid);
  const std::string sharedBin = volume.path(".Trash/" + uid);
  fillBin(ownBin, outside.at("victim.txt"), outside.at("folder"));
  fillBin(sharedBin, outside.at("victim.txt"), outside.at("folder"));
  ::chmod(volume.path(".Trash").c_str(), 01777);
  // The user's home bin lives on another volume here.
  const std::string homeBin = std::string(std::getenv("XDG_DATA_HOME")) + "/Trash";
  writeText(homeBin + "/files/elsewhere.txt", "other volume");

  for (int run = 0; run < 2; ++run) {
    Engine engine(volume.root(), {DiskWiper::kTrashBin});
    ASSERT_TRUE(engine.runToEnd());
    EXPECT_EQ(engine.percentages(), (std::vector<int>{100, 0, 0, 0, 0}));
    for (const std::string& bin : {ownBin, sharedBin}) {
      EXPECT_TRUE(emptyFolder(bin + "/files")) << bin;
      EXPECT_TRUE(emptyFolder(bin + "/info")) << bin;
    }
  }
  EXPECT_EQ(readText(outside.at("victim.txt")), "precious");
  EXPECT_EQ(readText(outside.at("folder/keep.txt")), "keep");
  EXPECT_EQ(readText(homeBin + "/files/elsewhere.txt"), "other volume");
  EXPECT_EQ(snapshot(volume.mountPoint()), before);
}

// A shared .Trash that is not sticky (anyone could have planted what is in
// it) and a bin that is a link are not used.
TEST(TrashBin, UntrustworthyBinsAreLeftAlone) {
  VONQ_REQUIRE_SCRATCH_NTFS();
  ScratchNtfs volume(withPermissions());
  ASSERT_TRUE(volume.ok()) << volume.error();
  const std::string uid = std::to_string(::getuid());
  writeText(volume.path(".Trash/" + uid + "/files/kept.txt"), "not a bin");
  ::chmod(volume.path(".Trash").c_str(), 0777);
  writeText(volume.path("real/files/kept.txt"), "live");
  fs::create_directory_symlink(volume.path("real"), volume.path(".Trash-" + uid));

  EXPECT_TRUE(s::os::shell().emptyRecycleBin(volume.root()));
  EXPECT_EQ(readText(volume.path(".Trash/" + uid + "/files/kept.txt")), "not a bin");
  EXPECT_EQ(readText(volume.path("real/files/kept.txt")), "live");
}

}  // namespace
}  // namespace vonq::engine_test
