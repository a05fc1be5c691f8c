#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <map>

#include "PlaceFixture.h"
#include "os/FileAttributes.h"
#include "os/FileSystem.h"

namespace {

using s::os::DirEntry;
using s::os::EntryKind;
using s::os::FileAttributes;
using s::os::FileTimes;
using s::os::FsError;
using s::os::OpenMode;
using vonq::test::fs::lexists;
using vonq::test::fs::Place;
using vonq::test::fs::PlaceTest;
using vonq::test::fs::readBytes;
using vonq::test::fs::u;
using vonq::test::fs::writeBytes;

class Entries : public PlaceTest {
 protected:
  std::map<std::u16string, DirEntry> list(const std::string& folder) {
    std::vector<DirEntry> entries;
    EXPECT_TRUE(s::os::fileSystem().listFolder(u(folder), entries));
    std::map<std::u16string, DirEntry> byName;
    for (auto& e : entries) byName[e.name] = e;
    return byName;
  }
};

// Names with bytes that are not UTF-8, control characters and the longest
// name a volume takes are listed, opened, renamed and renamed back exactly.
TEST_P(Entries, HostileNamesRoundTrip) {
  std::vector<std::string> names = {"new\nline", "tab\tand space ", std::string(255, 'L'),
                                    "caf\xC3\xA9"};
  if (!onNtfs()) {
    // NTFS stores UTF-16 and ntfs-3g refuses byte names that are not UTF-8.
    names.insert(names.end(), {"bad\xFF\xFE", "over\xC0\xAF", "sur\xED\xA0\x80",
                               "lookalike\xED\xB2\x80", std::string(254, 'x') + "\xFF"});
  }
  for (const auto& name : names) writeBytes(at(name), "content of " + name);

  const auto listed = list(dir_);
  ASSERT_EQ(listed.size(), names.size());
  for (const auto& name : names) {
    const std::u16string listedName = u(name);
    ASSERT_EQ(listed.count(listedName), 1u) << name;
    const std::u16string path = u(dir_ + "/") + listedName;
    auto file = s::os::fileSystem().openFile(path, OpenMode::read());
    ASSERT_NE(file, nullptr) << name;
    char buffer[600] = {};
    std::size_t done = 0;
    ASSERT_TRUE(file->read(buffer, sizeof buffer, done));
    EXPECT_EQ(std::string(buffer, done), "content of " + name);
    file.reset();
    const std::u16string moved = u(at("moved"));
    ASSERT_TRUE(s::os::fileSystem().move(path, moved, false)) << name;
    ASSERT_TRUE(s::os::fileSystem().move(moved, path, false)) << name;
    EXPECT_EQ(readBytes(at(name)), "content of " + name) << name;
  }
}

TEST_P(Entries, ListingNeverFollowsLinksAndReportsTheDevice) {
  ASSERT_EQ(::mkdir(at("sub").c_str(), 0755), 0);
  writeBytes(at("sub/inner"), "x");
  writeBytes(at("file"), "12345");
  ASSERT_EQ(::symlink(at("sub").c_str(), at("linkToFolder").c_str()), 0);
  ASSERT_EQ(::symlink(at("gone").c_str(), at("dangling").c_str()), 0);

  auto listed = list(dir_);
  ASSERT_EQ(listed.size(), 4u);
  EXPECT_EQ(listed[u"sub"].kind, EntryKind::Folder);
  EXPECT_EQ(listed[u"file"].kind, EntryKind::File);
  EXPECT_EQ(listed[u"file"].size, 5u);
  EXPECT_EQ(listed[u"linkToFolder"].kind, EntryKind::Link);
  EXPECT_EQ(listed[u"dangling"].kind, EntryKind::Link);
  struct stat st {};
  ASSERT_EQ(::stat(dir_.c_str(), &st), 0);
  for (const auto& [name, entry] : listed) EXPECT_EQ(entry.device, st.st_dev);

  std::vector<DirEntry> through;
  EXPECT_FALSE(s::os::fileSystem().listFolder(u(at("linkToFolder")), through));
  EXPECT_EQ(s::os::lastFsError(), FsError::IsLink);
  EXPECT_TRUE(through.empty());

  s::os::FileInfo info;
  ASSERT_TRUE(s::os::fileSystem().stat(u(at("linkToFolder")), info));
  EXPECT_EQ(info.kind, EntryKind::Link);
  EXPECT_TRUE(s::os::fileSystem().exists(u(at("dangling"))));
  EXPECT_FALSE(s::os::fileSystem().removeFolder(u(at("linkToFolder"))));
  EXPECT_TRUE(s::os::fileSystem().deleteFile(u(at("linkToFolder"))));
  EXPECT_TRUE(lexists(at("sub/inner")));
}

TEST_P(Entries, MovesNeverReplaceUnlessAsked) {
  writeBytes(at("a"), "A");
  writeBytes(at("b"), "B");
  ASSERT_EQ(::mkdir(at("d").c_str(), 0755), 0);
  auto& fs = s::os::fileSystem();
  EXPECT_FALSE(fs.move(u(at("a")), u(at("b")), false));
  EXPECT_EQ(s::os::lastFsError(), FsError::Exists);
  EXPECT_FALSE(fs.move(u(at("a")), u(at("d")), true));
  EXPECT_EQ(readBytes(at("b")), "B");
  EXPECT_TRUE(fs.move(u(at("a")), u(at("b")), true));
  EXPECT_EQ(readBytes(at("b")), "A");
  EXPECT_FALSE(lexists(at("a")));
  EXPECT_TRUE(fs.move(u(at("d")), u(at("e")), false));
  EXPECT_FALSE(fs.removeFolder(u(at("missing"))));
  EXPECT_EQ(s::os::lastFsError(), FsError::NotFound);
  writeBytes(at("e/x"), "x");
  EXPECT_FALSE(fs.removeFolder(u(at("e"))));
  EXPECT_EQ(s::os::lastFsError(), FsError::NotEmpty);
  EXPECT_FALSE(fs.deleteFile(u(at("e"))));
  EXPECT_TRUE(fs.deleteFile(u(at("e/x"))));
  EXPECT_TRUE(fs.removeFolder(u(at("e"))));
  EXPECT_TRUE(fs.createFolder(u(at("e"))));
  EXPECT_FALSE(fs.createFolder(u(at("e"))));
  EXPECT_EQ(s::os::lastFsError(), FsError::Exists);
}

// FILETIMEs with full 100-ns precision, all before the file was made.
constexpr FileTimes kOldTimes{119600064001234567ull,   // 1980-01-01 00:00:00.1234567
                              126227808009876543ull,   // 2001-01-01
                              125000000000000001ull};  // 1997-02-12

TEST_P(Entries, TimesRoundTripByPathAndByHandle) {
  auto& fs = s::os::fileSystem();
  writeBytes(at("t"), "x");
  ASSERT_TRUE(fs.setTimes(u(at("t")), kOldTimes));
  FileTimes read;
  ASSERT_TRUE(fs.getTimes(u(at("t")), read));
  EXPECT_EQ(read.lastAccess, kOldTimes.lastAccess);
  EXPECT_EQ(read.lastWrite, kOldTimes.lastWrite);
  if (onNtfs()) {
    EXPECT_EQ(read.creation, kOldTimes.creation);
  }

  // A zero field is left as it is.
  ASSERT_TRUE(fs.setTimes(u(at("t")), FileTimes{0, 0, kOldTimes.lastAccess}));
  ASSERT_TRUE(fs.getTimes(u(at("t")), read));
  EXPECT_EQ(read.lastWrite, kOldTimes.lastAccess);
  EXPECT_EQ(read.lastAccess, kOldTimes.lastAccess);

  auto file = fs.openFile(
      u(at("t")), OpenMode::make(OpenMode::Access::ReadWrite, OpenMode::Disposition::OpenExisting));
  ASSERT_NE(file, nullptr);
  FileTimes before;
  ASSERT_TRUE(file->getTimes(before));
  std::size_t done = 0;
  ASSERT_TRUE(file->seek(1));
  ASSERT_TRUE(file->write("more", 4, done));
  ASSERT_TRUE(file->setTimes(before));
  file.reset();
  ASSERT_TRUE(fs.getTimes(u(at("t")), read));
  EXPECT_EQ(read.lastWrite, before.lastWrite);
  EXPECT_EQ(read.creation, before.creation);

  ASSERT_EQ(::symlink(at("t").c_str(), at("l").c_str()), 0);
  EXPECT_FALSE(fs.setTimes(u(at("l")), kOldTimes));
  EXPECT_EQ(s::os::lastFsError(), FsError::IsLink);
}

TEST_P(Entries, AttributesRoundTrip) {
  auto& fs = s::os::fileSystem();
  using A = FileAttributes;
  writeBytes(at("f"), "x");
  ASSERT_EQ(::mkdir(at("d").c_str(), 0755), 0);
  if (onNtfs()) {
    EXPECT_EQ(fs.getAttributes(u(at("f"))), A::kArchive);  // a new NTFS file
  }
  struct Case {
    const char* entry;
    std::uint32_t set;
    std::uint32_t expected;
  } cases[] = {
      {"f", A::kHidden | A::kSystem, A::kHidden | A::kSystem},
      {"f", A::kNormal, A::kNormal},
      {"f", A::kNormal | A::kNotContentIndexed, A::kNotContentIndexed},
      {"f", A::kReadOnly | A::kArchive, A::kReadOnly | A::kArchive},
      {"f", A::kArchive, A::kArchive},
      {"f", A::kDirectory | A::kHidden, A::kHidden},  // the kind is not an attribute to set
      {"d", A::kNormal, A::kDirectory},
      {"d", A::kHidden | A::kSystem, A::kDirectory | A::kHidden | A::kSystem},
      {"d", A::kDirectory, A::kDirectory},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(fs.setAttributes(u(at(c.entry)), c.set)) << c.entry << " " << c.set;
    EXPECT_EQ(fs.getAttributes(u(at(c.entry))), c.expected) << c.entry << " " << c.set;
  }
  if (!onNtfs()) {
    // Read-only is the write permission: it shows to every program.
    EXPECT_TRUE(fs.setAttributes(u(at("f")), A::kReadOnly));
    struct stat st {};
    ASSERT_EQ(::stat(at("f").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0222, 0u);
    EXPECT_TRUE(fs.setAttributes(u(at("f")), A::kNormal));
    ASSERT_EQ(::stat(at("f").c_str(), &st), 0);
    EXPECT_NE(st.st_mode & S_IWUSR, 0u);
  }
  ASSERT_EQ(::symlink(at("f").c_str(), at("l").c_str()), 0);
  EXPECT_EQ(fs.getAttributes(u(at("l"))) & A::kReparsePoint, A::kReparsePoint);
  EXPECT_FALSE(fs.setAttributes(u(at("l")), A::kHidden));
  EXPECT_EQ(fs.getAttributes(u(at("missing"))), A::kInvalid);
}

TEST_P(Entries, CreateAttributesAreGivenToNewFilesOnly) {
  auto& fs = s::os::fileSystem();
  OpenMode mode = OpenMode::make(OpenMode::Access::Write, OpenMode::Disposition::OpenAlways);
  mode.createAttributes = FileAttributes::kHidden;
  ASSERT_NE(fs.openFile(u(at("new")), mode), nullptr);
  EXPECT_EQ(fs.getAttributes(u(at("new"))), FileAttributes::kHidden);
  writeBytes(at("old"), "x");
  const std::uint32_t before = fs.getAttributes(u(at("old")));
  ASSERT_NE(fs.openFile(u(at("old")), mode), nullptr);
  EXPECT_EQ(fs.getAttributes(u(at("old"))), before);
}

INSTANTIATE_TEST_SUITE_P(Places, Entries, ::testing::Values(Place::TempFolder, Place::ScratchNtfs),
                         vonq::test::fs::placeName);

}  // namespace
