#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "col/_array/ArrayU08.h"
#include "file/IFileInputStream.h"
#include "file/IFileOutputStream.h"
#include "file/TempFolder.h"
#include "file/win/PathWin.h"
#include "support/FaultyFileSystem.h"

namespace {

namespace fs = std::filesystem;
using s::file::IFileInputStream;
using s::file::IFileOutputStream;
using vonq::test::Path;
using vonq::test::readText;
using vonq::test::TempFolder;
using vonq::test::writeText;

std::vector<std::uint8_t> pattern(std::size_t n) {
  std::vector<std::uint8_t> bytes(n);
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  return bytes;
}

// What reaches the file during a write: full buffers go out only when more
// data follows; the rest waits for flush, a move or close.
TEST(FileOutputStream, BuffersUpTo65536BytesBeforeTheFileSeesThem) {
  struct Case {
    std::vector<std::uint32_t> writes;
    std::uint64_t onDisk;
    std::uint32_t waiting;
  };
  const Case cases[] = {
      {{70000}, 65536, 4464}, {{65536}, 0, 65536},      {{65536, 1}, 65536, 1},
      {{100, 200}, 0, 300},   {{200000}, 196608, 3392},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.writes.front());
    TempFolder tmp;
    Path path(tmp.at("out.bin"));
    IFileOutputStream* out = path->openOutputStream(false);
    ASSERT_TRUE(out->isOpen());
    std::vector<std::uint8_t> all;
    for (std::uint32_t n : c.writes) {
      const auto bytes = pattern(n);
      std::uint32_t taken = 0;
      ASSERT_TRUE(out->write(bytes.data(), n, taken));
      EXPECT_EQ(taken, n);
      all.insert(all.end(), bytes.begin(), bytes.end());
    }
    EXPECT_EQ(fs::file_size(tmp.at("out.bin")), c.onDisk);
    EXPECT_EQ(out->getWaitingCount(), c.waiting);
    EXPECT_EQ(out->getPosition(), all.size());
    out->closeAndRelease();
    const std::string text = readText(tmp.at("out.bin"));
    EXPECT_EQ(std::vector<std::uint8_t>(text.begin(), text.end()), all);
  }
}

TEST(FileOutputStream, AppendKeepsAndCreateReplaces) {
  TempFolder tmp;
  writeText(tmp.at("ten"), "0123456789");
  Path path(tmp.at("ten"));
  std::uint32_t taken = 0;
  IFileOutputStream* out = path->openOutputStream(true);
  EXPECT_EQ(out->getPosition(), 10u);
  EXPECT_TRUE(out->write("abcde", 5, taken));
  out->closeAndRelease();
  EXPECT_EQ(readText(tmp.at("ten")), "0123456789abcde");

  out = path->openOutputStream(false);
  EXPECT_TRUE(out->write("vwxyz", 5, taken));
  out->closeAndRelease();
  EXPECT_EQ(readText(tmp.at("ten")), "vwxyz");

  // A missing folder is made first.
  Path nested(tmp.at("new/folder/file.txt"));
  out = nested->openOutputStream(false);
  EXPECT_TRUE(out->isOpen());
  out->closeAndRelease();
  EXPECT_TRUE(fs::is_regular_file(tmp.at("new/folder/file.txt")));
}

TEST(FileOutputStream, MovesWriteOutFirstAndTruncateCutsThere) {
  TempFolder tmp;
  Path path(tmp.at("f"));
  IFileOutputStream* out = path->openOutputStream(false);
  std::uint32_t taken = 0;
  ASSERT_TRUE(out->write("hello world", 11, taken));
  EXPECT_TRUE(out->seek(6));
  EXPECT_EQ(out->getWaitingCount(), 0u);
  EXPECT_TRUE(out->write("W", 1, taken));
  EXPECT_TRUE(out->seekToEnd());
  EXPECT_EQ(out->getPosition(), 11u);
  EXPECT_TRUE(out->backward(6));
  EXPECT_TRUE(out->truncateHere());
  EXPECT_FALSE(out->backward(100));
  out->closeAndRelease();
  EXPECT_EQ(readText(tmp.at("f")), "hello");
}

TEST(FileOutputStream, AShortWriteIsReportedAndTheRestKeepsWaiting) {
  TempFolder tmp;
  vonq::test::FaultyFileSystem faulty;
  vonq::test::Installed installed(faulty);
  faulty.failWritesAfter(65536 + 100);
  Path path(tmp.at("full.bin"));
  IFileOutputStream* out = path->openOutputStream(false);
  const auto bytes = pattern(140000);
  std::uint32_t taken = 0;
  EXPECT_FALSE(out->write(bytes.data(), 140000, taken)) << "the second buffer cannot go out";
  EXPECT_FALSE(out->flush());
  EXPECT_GT(out->getWaitingCount(), 0u);
  out->closeAndRelease();
  EXPECT_EQ(fs::file_size(tmp.at("full.bin")), 65536u + 100u);
}

TEST(FileStreams, UnopenedStreamsFailEveryOperation) {
  TempFolder tmp;
  Path missing(tmp.at("missing.txt"));
  IFileInputStream* in = missing->openInputStream();
  EXPECT_FALSE(in->isOpen());
  char buffer[8];
  std::uint32_t got = 99;
  EXPECT_FALSE(in->read(buffer, sizeof buffer, got));
  EXPECT_EQ(got, 0u);
  EXPECT_FALSE(in->seekToEnd());
  in->closeAndRelease();

  // An output stream cannot be opened through a folder.
  fs::create_directory(tmp.at("dir"));
  Path folder(tmp.at("dir"));
  IFileOutputStream* out = folder->openOutputStream(false);
  EXPECT_FALSE(out->isOpen());
  std::uint32_t taken = 0;
  EXPECT_FALSE(out->write("x", 1, taken));
  EXPECT_FALSE(out->flush());
  out->closeAndRelease();
}

TEST(FileStreams, LinksAreNeverOpenedThrough) {
  TempFolder tmp;
  writeText(tmp.at("target.txt"), "original");
  fs::create_symlink(tmp.at("target.txt"), tmp.at("link.txt"));
  Path link(tmp.at("link.txt"));
  IFileInputStream* in = link->openInputStream();
  EXPECT_FALSE(in->isOpen());
  in->closeAndRelease();
  IFileOutputStream* out = link->openOutputStream(false);
  std::uint32_t taken = 0;
  EXPECT_FALSE(out->write("evil", 4, taken));
  out->closeAndRelease();
  EXPECT_EQ(readText(tmp.at("target.txt")), "original");
  EXPECT_TRUE(fs::is_symlink(tmp.at("link.txt")));
}

TEST(FileInputStream, ReadsAndSeeksStraightOnTheFile) {
  TempFolder tmp;
  writeText(tmp.at("abc"), "abcdefghij");
  Path path(tmp.at("abc"));
  IFileInputStream* in = path->openInputStream();
  char buffer[4] = {};
  std::uint32_t got = 0;
  EXPECT_TRUE(in->read(buffer, 4, got));
  EXPECT_EQ(std::string(buffer, got), "abcd");
  EXPECT_TRUE(in->seekFromEnd(3));
  EXPECT_TRUE(in->read(buffer, 4, got));
  EXPECT_EQ(std::string(buffer, got), "hij");
  EXPECT_FALSE(in->read(buffer, 4, got)) << "end of file";
  EXPECT_EQ(got, 0u);
  EXPECT_TRUE(in->seekToStart());
  EXPECT_TRUE(in->forward(2));
  EXPECT_TRUE(in->backward(1));
  EXPECT_EQ(in->getPosition(), 1u);
  EXPECT_TRUE(in->read(buffer, 1, got));
  EXPECT_EQ(buffer[0], 'b');
  in->closeAndRelease();
}

TEST(PathWinWholeFile, ReadAllAndWriteAllRoundTrip) {
  TempFolder tmp;
  for (std::uint32_t size : {0u, 1u, 1023u, 1024u, 1025u, 65536u, 150001u}) {
    SCOPED_TRACE(size);
    const auto bytes = pattern(size);
    Path path(tmp.at("whole.bin"));
    ASSERT_TRUE(path->writeAll(bytes.data(), size, false));
    s::col::_array::ArrayU08* back = s::col::_array::ArrayU08::create();
    Path again(tmp.at("whole.bin"));
    EXPECT_TRUE(again->readAll(*back));
    ASSERT_EQ(back->length(), size);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), back->values()));
    back->release();
  }
  Path whole(tmp.at("whole.bin"));
  ASSERT_TRUE(whole->writeAll("tail", 4, true));
  EXPECT_EQ(fs::file_size(tmp.at("whole.bin")), 150005u);

  s::col::_array::ArrayU08* bytes = s::col::_array::ArrayU08::create();
  bytes->append("junk", 4);
  Path missing(tmp.at("missing.bin"));
  EXPECT_FALSE(missing->readAll(*bytes));
  EXPECT_EQ(bytes->length(), 0u);
  bytes->release();
}

}  // namespace
