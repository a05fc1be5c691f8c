#include "file/win/PathWin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "col/_array/ArrayP.h"
#include "file/TempFolder.h"
#include "os/FileAttributes.h"
#include "os/FileSystem.h"
#include "str/strbuffer/StrBuffer.h"
#include "support/FaultyFileSystem.h"

namespace {

namespace fs = std::filesystem;
using s::col::_array::ArrayP;
using s::file::win::PathWin;
using s::os::FileAttributes;
using vonq::test::Path;
using vonq::test::TempFolder;
using vonq::test::u16;
using vonq::test::u8;
using vonq::test::writeText;

std::set<std::string> names(ArrayP* list) {
  std::set<std::string> out;
  for (std::uint32_t i = 0; i < list->length(); ++i) {
    out.insert(u8(list->getAs<PathWin>(i)->getPath()));
  }
  list->release();
  return out;
}

TEST(PathWin, SetNormalisesAndSplitsTheText) {
  struct Case {
    const char* given;
    const char* text;
    const char* folder;
    const char* name;
    const char* extension;
  };
  const Case cases[] = {
      {"/data/dir/file.txt", "/data/dir/file.txt", "/data/dir/", "file", ".txt"},
      {"/data/Dir///", "/data/Dir", "/data/", "Dir", ""},
      {"/", "/", "/", "", ""},
      {"//", "/", "/", "", ""},
      {"/a/b.c.d", "/a/b.c.d", "/a/", "b.c", ".d"},
      // On Linux a backslash and a colon are ordinary characters of a name.
      {"/a/x\\y:z.txt", "/a/x\\y:z.txt", "/a/", "x\\y:z", ".txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.given);
    Path path(c.given);
    EXPECT_TRUE(path->isValid());
    EXPECT_EQ(u8(path->getPath()), c.text);
    EXPECT_EQ(path->getLength(), std::string(c.text).size());
    EXPECT_EQ(u8(path->getFolder()), c.folder);
    EXPECT_EQ(u8(path->getBaseName()), c.name);
    EXPECT_EQ(u8(path->getExtension()), c.extension);
    EXPECT_EQ(u8(path->getName()), std::string(c.name) + c.extension);
    EXPECT_FALSE(path->isStream());
    EXPECT_EQ(u8(path->getLongPath()), c.text);
  }
  Path empty("");
  EXPECT_FALSE(empty->isValid());
  EXPECT_FALSE(empty->exists());
  EXPECT_FALSE(empty->remove(false, false));
}

TEST(PathWin, FactsAreReadOnceAndClearForgetsThem) {
  TempFolder tmp;
  writeText(tmp.at("f.bin"), std::string(5000, 'x'));
  Path path(tmp.at("f.bin"));
  EXPECT_TRUE(path->exists());
  EXPECT_TRUE(path->isFile());
  EXPECT_FALSE(path->isFolder());
  EXPECT_EQ(path->getSize(false), 5000u);
  writeText(tmp.at("f.bin"), "short");
  EXPECT_EQ(path->getSize(false), 5000u) << "the file status is cached";
  path->set(u16(tmp.at("f.bin")));
  EXPECT_EQ(path->getSize(false), 5u);

  Path folder(tmp.root() + "/");
  EXPECT_TRUE(folder->isFolder());
  EXPECT_EQ(folder->getSize(false), 0u);
  EXPECT_EQ(folder->getSize(true), 5u);
  Path missing(tmp.at("none"));
  EXPECT_FALSE(missing->exists());
  EXPECT_EQ(missing->getAttributes(), PathWin::kInvalidAttributes);
  EXPECT_FALSE(missing->isFile());
  EXPECT_FALSE(missing->isFolder());
  EXPECT_EQ(missing->getSize(false), 0u);
}

// The allocation unit is the larger of the sector (at least 512 bytes) and
// the cluster; geometry comes from the volume, faked here.
class GeometryFileSystem : public s::os::FileSystemWrapper {
 public:
  GeometryFileSystem(std::uint32_t bytesPerSector, std::uint32_t sectorsPerCluster, bool fail)
      : FileSystemWrapper(s::os::platformFileSystem()),
        bytesPerSector_(bytesPerSector),
        sectorsPerCluster_(sectorsPerCluster),
        fail_(fail) {}
  bool volumeOf(std::u16string_view path, s::os::VolumeInfo& out) override {
    if (fail_ || !target().volumeOf(path, out)) return false;
    out.bytesPerSector = bytesPerSector_;
    out.sectorsPerCluster = sectorsPerCluster_;
    return true;
  }

 private:
  std::uint32_t bytesPerSector_;
  std::uint32_t sectorsPerCluster_;
  bool fail_;
};

TEST(PathWin, AllocatedSizeRoundsUpToTheAllocationUnit) {
  struct Case {
    std::uint32_t bytesPerSector;
    std::uint32_t sectorsPerCluster;
    bool volumeFails;
    std::size_t size;
    std::uint64_t allocated;
  };
  const Case cases[] = {
      {512, 8, false, 1, 4096},    {512, 8, false, 0, 0},   {512, 8, false, 4096, 4096},
      {512, 8, false, 5000, 8192}, {256, 1, false, 1, 512}, {4096, 1, false, 1, 4096},
      {512, 1, false, 513, 1024},  {0, 0, true, 1, 512},
  };
  TempFolder tmp;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.bytesPerSector << "x" << c.sectorsPerCluster << " size " << c.size);
    writeText(tmp.at("a"), std::string(c.size, 'a'));
    GeometryFileSystem geometry(c.bytesPerSector, c.sectorsPerCluster, c.volumeFails);
    vonq::test::Installed installed(geometry);
    Path path(tmp.at("a"));
    EXPECT_EQ(path->getAllocatedSize(), c.allocated);
  }
}

TEST(PathWin, CreateFolderMakesMissingParents) {
  TempFolder tmp;
  Path deep(tmp.at("a/b/c"));
  EXPECT_TRUE(deep->createFolder(false));
  EXPECT_TRUE(fs::is_directory(tmp.at("a/b/c")));
  EXPECT_FALSE(deep->createFolder(false)) << "an existing folder is not made again";
  Path file(tmp.at("x/y/z.txt"));
  EXPECT_TRUE(file->createParent());
  EXPECT_TRUE(fs::is_directory(tmp.at("x/y")));
  EXPECT_FALSE(fs::exists(tmp.at("x/y/z.txt")));
}

TEST(PathWin, MoveToNeverReplacesAnEntry) {
  TempFolder tmp;
  writeText(tmp.at("a"), "A");
  writeText(tmp.at("b"), "B");
  Path a(tmp.at("a"));
  Path b(tmp.at("b"));
  Path c(tmp.at("c"));
  EXPECT_FALSE(a->moveTo(*b));
  EXPECT_EQ(vonq::test::readText(tmp.at("b")), "B");
  // A dangling link is an entry too.
  fs::create_symlink(tmp.at("nowhere"), tmp.at("link"));
  Path link(tmp.at("link"));
  EXPECT_FALSE(a->moveTo(*link));
  EXPECT_TRUE(a->moveTo(*c));
  EXPECT_EQ(vonq::test::readText(tmp.at("c")), "A");
  EXPECT_FALSE(fs::exists(tmp.at("a")));
}

TEST(PathWin, ListingSkipsLinksAndFiltersKinds) {
  TempFolder tmp;
  writeText(tmp.at("top.txt"), "1");
  writeText(tmp.at("sub/inner.txt"), "2");
  writeText(tmp.at("sub/deeper/leaf.txt"), "3");
  writeText(tmp.at("elsewhere/secret.txt"), "4");
  fs::create_symlink(tmp.at("elsewhere"), tmp.at("sub/linked-folder"));
  fs::create_symlink(tmp.at("elsewhere/secret.txt"), tmp.at("linked-file"));
  Path root(tmp.root());
  const std::string r = tmp.root();

  EXPECT_EQ(names(root->listEntries(true, false, nullptr)),
            (std::set<std::string>{r + "/top.txt", r + "/sub", r + "/elsewhere"}));
  EXPECT_EQ(names(root->listFolders(true, true, nullptr)),
            (std::set<std::string>{r + "/sub", r + "/sub/deeper", r + "/elsewhere"}));
  EXPECT_EQ(names(root->listFiles(true, true, nullptr)),
            (std::set<std::string>{r + "/top.txt", r + "/sub/inner.txt", r + "/sub/deeper/leaf.txt",
                                   r + "/elsewhere/secret.txt"}));
  Path sub(tmp.at("sub"));
  EXPECT_EQ(
      names(sub->listEntries(true, true, nullptr)),
      (std::set<std::string>{r + "/sub/inner.txt", r + "/sub/deeper", r + "/sub/deeper/leaf.txt"}))
      << "the linked folder is neither listed nor entered";

  // Appending to a caller's list; streams: none on this platform.
  ArrayP* list = ArrayP::create();
  list->setDisposer(&PathWin::pool());
  sub->listFiles(true, false, list);
  EXPECT_EQ(list->length(), 1u);
  EXPECT_EQ(root->listStreams(list), list);
  EXPECT_EQ(list->length(), 1u);
  list->release();
}

TEST(PathWin, RemoveFallsBackThroughPermissionsAndFolderContents) {
  TempFolder tmp;
  writeText(tmp.at("ro.txt"), "read only");
  Path readOnly(tmp.at("ro.txt"));
  ASSERT_TRUE(readOnly->setAttributes(FileAttributes::kReadOnly));
  EXPECT_TRUE(readOnly->remove(false, false));
  EXPECT_FALSE(fs::exists(tmp.at("ro.txt")));
  EXPECT_TRUE(readOnly->remove(false, false)) << "a missing entry counts as removed";

  writeText(tmp.at("tree/a.txt"), "a");
  writeText(tmp.at("tree/sub/b.txt"), "b");
  writeText(tmp.at("outside.txt"), "kept");
  fs::create_symlink(tmp.at("outside.txt"), tmp.at("tree/sub/link"));
  Path tree(tmp.at("tree/"));
  // The link inside is not listed, so the folder cannot be emptied...
  EXPECT_FALSE(tree->remove(false, false));
  fs::remove(tmp.at("tree/sub/link"));
  EXPECT_TRUE(tree->remove(false, false));
  EXPECT_FALSE(fs::exists(tmp.at("tree")));
  // ...and what it pointed at was never touched.
  EXPECT_EQ(vonq::test::readText(tmp.at("outside.txt")), "kept");

  // A link given directly is removed itself, never its target.
  fs::create_symlink(tmp.at("outside.txt"), tmp.at("direct-link"));
  Path link(tmp.at("direct-link"));
  EXPECT_TRUE(link->isLinkOrSpecial());
  EXPECT_TRUE(link->remove(false, false));
  EXPECT_FALSE(fs::is_symlink(tmp.at("direct-link")));
  EXPECT_EQ(vonq::test::readText(tmp.at("outside.txt")), "kept");
}

// Deletion of one named file fails as if another program held it.
class StubbornFileSystem : public s::os::FileSystemWrapper {
 public:
  explicit StubbornFileSystem(std::string stubborn)
      : FileSystemWrapper(s::os::platformFileSystem()), stubborn_(u16(stubborn)) {}
  bool deleteFile(std::u16string_view path) override {
    if (path == stubborn_) {
      s::os::setLastFsError(s::os::FsError::InUse);
      return false;
    }
    return target().deleteFile(path);
  }

 private:
  std::u16string stubborn_;
};

TEST(PathWin, UnremovableEntryIsJournalledForTheNextStart) {
  TempFolder tmp;
  vonq::test::ScopedStateHome state(tmp.at("state"));
  writeText(tmp.at("work/held.bin"), "held");
  writeText(tmp.at("work/free.bin"), "free");
  {
    StubbornFileSystem stubborn(tmp.at("work/held.bin"));
    vonq::test::Installed installed(stubborn);
    Path work(tmp.at("work"));
    EXPECT_FALSE(work->remove(false, true));
  }
  EXPECT_FALSE(fs::exists(tmp.at("work/free.bin"))) << "what could go, went";
  EXPECT_TRUE(fs::exists(tmp.at("work/held.bin")));
  const std::string journal = vonq::test::readText(state.journal());
  EXPECT_NE(journal.find(tmp.at("work")), std::string::npos) << journal;

  // Without scheduling nothing is journalled.
  writeText(tmp.at("other/held.bin"), "held");
  {
    StubbornFileSystem stubborn(tmp.at("other/held.bin"));
    vonq::test::Installed installed(stubborn);
    Path other(tmp.at("other"));
    EXPECT_FALSE(other->remove(false, false));
  }
  EXPECT_EQ(vonq::test::readText(state.journal()).find(tmp.at("other")), std::string::npos);

  // The next start deletes what was journalled.
  s::os::fileSystem().replayScheduledDeletions();
  EXPECT_FALSE(fs::exists(tmp.at("work")));
}

TEST(PathWin, RenameRandomlyKeepsTheShapeOfTheName) {
  struct Case {
    const char* name;
    std::int32_t count;
    const char* shape;  // '?' any letter or digit, other characters as they stand
  };
  const Case cases[] = {
      {"a.b", 2, "?.?"},   {"x", 1, "??_"},
      {"x", 2, "???"},  // the second round changes all three
      {"ab", 1, "???_"},   {"report.final.docx", 2, "??????.?????.????"},
      {"...", 1, nullptr},  // nothing to change: no name is free, no round succeeds
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder tmp;
    writeText(tmp.at(c.name), "content");
    Path path(tmp.at(c.name));
    s::str::strbuffer::StrBuffer* newPath = s::str::strbuffer::StrBuffer::create();
    const bool renamed = path->renameRandomly(c.count, newPath, true);
    const std::string result = u8(newPath->view());
    newPath->release();
    if (c.shape == nullptr) {
      EXPECT_FALSE(renamed);
      EXPECT_TRUE(fs::exists(tmp.at(c.name)));
      continue;
    }
    ASSERT_TRUE(renamed);
    ASSERT_EQ(result.rfind(tmp.root() + "/", 0), 0u) << result;
    const std::string name = result.substr(tmp.root().size() + 1);
    ASSERT_EQ(name.size(), std::string(c.shape).size()) << name;
    for (std::size_t i = 0; i < name.size(); ++i) {
      if (c.shape[i] == '?') {
        EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(name[i])) ||
                    (name[i] >= '1' && name[i] <= '9'))
            << name;
      } else {
        EXPECT_EQ(name[i], c.shape[i]) << name;
      }
    }
    EXPECT_FALSE(fs::exists(tmp.at(c.name)));
    EXPECT_EQ(vonq::test::readText(result), "content");
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.root()), fs::directory_iterator()), 1);
  }
}

TEST(PathWin, RenameRandomlyFailsWhenNoMoveSucceeds) {
  TempFolder tmp;
  writeText(tmp.at("keep.txt"), "k");
  vonq::test::FaultyFileSystem faulty;
  faulty.failMoves(true);
  vonq::test::Installed installed(faulty);
  Path path(tmp.at("keep.txt"));
  EXPECT_FALSE(path->renameRandomly(1, nullptr, true));
  EXPECT_TRUE(fs::exists(tmp.at("keep.txt")));
}

}  // namespace
