#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "col/_array/ArrayP.h"
#include "file/TempFolder.h"
#include "file/win/PathWin.h"
#include "os/FileAttributes.h"
#include "str/strbuffer/StrBuffer.h"
#include "support/Env.h"
#include "support/ScratchNtfs.h"

namespace {

namespace fs = std::filesystem;
using s::os::FileAttributes;
using vonq::test::Path;
using vonq::test::ScratchNtfs;
using vonq::test::u8;
using vonq::test::writeText;

class PathWinOnNtfs : public testing::Test {
 protected:
  void SetUp() override {
    std::string reason;
    VONQ_REQUIRE_CAPABILITY(ScratchNtfs::capable(reason), reason);
    volume_ = std::make_unique<ScratchNtfs>();
    ASSERT_TRUE(volume_->ok()) << volume_->error();
  }
  std::unique_ptr<ScratchNtfs> volume_;
};

// The mount point is the drive root: it exists, but it is never removed,
// renamed or made, whichever way it is written.
TEST_F(PathWinOnNtfs, TheMountPointIsADriveRoot) {
  writeText(volume_->path("file.txt"), "stays");
  for (const std::string& text :
       {volume_->mountPoint(), volume_->mountPoint() + "/", volume_->mountPoint() + "///"}) {
    SCOPED_TRACE(text);
    Path root(text);
    EXPECT_EQ(u8(root->getPath()), volume_->mountPoint());
    EXPECT_EQ(u8(root->getRoot()), volume_->mountPoint() + "/");
    EXPECT_TRUE(root->isDriveRoot());
    EXPECT_TRUE(root->exists());
    EXPECT_TRUE(root->isNTFS());
    EXPECT_FALSE(root->isFATFamily());
    EXPECT_FALSE(root->remove(false, true));
    EXPECT_FALSE(root->createFolder(false));
    EXPECT_FALSE(root->renameRandomly(1, nullptr, false));
  }
  EXPECT_TRUE(fs::exists(volume_->path("file.txt")));
  Path inside(volume_->path("file.txt"));
  EXPECT_FALSE(inside->isDriveRoot());
  EXPECT_EQ(u8(inside->getRoot()), volume_->mountPoint() + "/");
  Path notYet(volume_->path("a/b/c.txt"));
  EXPECT_EQ(u8(notYet->getRoot()), volume_->mountPoint() + "/") << "found through its parents";
}

TEST_F(PathWinOnNtfs, AllocatedSizeOfSmallFilesOnFourKilobyteClusters) {
  writeText(volume_->path("one"), "1");
  writeText(volume_->path("empty"), "");
  writeText(volume_->path("five"), std::string(5000, '5'));
  Path one(volume_->path("one"));
  Path empty(volume_->path("empty"));
  Path five(volume_->path("five"));
  EXPECT_EQ(one->getAllocatedSize(), 4096u);
  EXPECT_EQ(empty->getAllocatedSize(), 0u);
  EXPECT_EQ(five->getAllocatedSize(), 8192u);
  EXPECT_EQ(one->getAllocationUnit(), 4096u);
}

TEST_F(PathWinOnNtfs, AttributesLiveOnTheVolumeAndReadOnlyFilesAreRemoved) {
  writeText(volume_->path("ro.txt"), "ro");
  Path ro(volume_->path("ro.txt"));
  EXPECT_EQ(ro->getAttributes(), FileAttributes::kArchive);
  ASSERT_TRUE(ro->setAttributes(FileAttributes::kReadOnly | FileAttributes::kHidden));
  Path again(volume_->path("ro.txt"));
  EXPECT_EQ(again->getAttributes(), FileAttributes::kReadOnly | FileAttributes::kHidden);
  EXPECT_TRUE(again->addAttributes(FileAttributes::kNotContentIndexed));
  EXPECT_TRUE(again->remove(false, false));
  EXPECT_FALSE(fs::exists(volume_->path("ro.txt")));

  // Hidden and system entries are listed only when all are asked for.
  writeText(volume_->path("dir/shown.txt"), "s");
  writeText(volume_->path("dir/hidden.txt"), "h");
  Path hidden(volume_->path("dir/hidden.txt"));
  ASSERT_TRUE(hidden->setAttributes(FileAttributes::kHidden));
  Path dir(volume_->path("dir"));
  auto* shown = dir->listFiles(false, false, nullptr);
  EXPECT_EQ(shown->length(), 1u);
  shown->release();
  auto* all = dir->listFiles(true, false, nullptr);
  EXPECT_EQ(all->length(), 2u);
  all->release();
}

TEST_F(PathWinOnNtfs, RenameRandomlyRestoresAttributesUnderTheNewName) {
  writeText(volume_->path("dir/a.b"), "data");
  Path file(volume_->path("dir/a.b"));
  ASSERT_TRUE(file->setAttributes(FileAttributes::kHidden | FileAttributes::kArchive));
  s::str::strbuffer::StrBuffer* newPath = s::str::strbuffer::StrBuffer::create();
  ASSERT_TRUE(file->renameRandomly(2, newPath, true));
  Path renamed(u8(newPath->view()));
  newPath->release();
  EXPECT_EQ(renamed->getAttributes(), FileAttributes::kHidden | FileAttributes::kArchive);
  EXPECT_EQ(u8(renamed->getName()).size(), 3u);
  EXPECT_EQ(u8(renamed->getName())[1], '.');
  EXPECT_FALSE(fs::exists(volume_->path("dir/a.b")));
}

}  // namespace
