// The trace audit on a real NTFS volume (ntfs-3g), against independent
// looks at the same image: a raw scan for the deleted names, record by
// record and block by block, and sleuthkit's fls. Then the same audit after
// vonq-scrub wiped the free space, the MFT and the file names.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>

#include "ScrubProcess.h"
#include "file/wiper/ntfs/TraceAudit.h"
#include "support/Env.h"
#include "support/RawNtfs.h"
#include "support/ScratchNtfs.h"

namespace vonq::e2e_test {
namespace {

namespace fs = std::filesystem;
using s::file::wiper::ntfs::TraceAudit;
using s::file::wiper::ntfs::TraceReport;
using vonq::cli_test::Finished;
using vonq::cli_test::runScrub;
using vonq::test::ScratchNtfs;
using Names = std::set<std::string>;

constexpr std::size_t kRecordSize = 1024;  // mkntfs's default
constexpr std::size_t kBlockSize = 4096;

void writeFile(const std::string& path, const std::string& data) {
  std::ofstream(path, std::ios::binary) << data;
}

Names ascii(const std::vector<std::u16string>& names, const std::string& prefix) {
  Names out;
  for (const std::u16string& n : names) {
    const std::string a(n.begin(), n.end());
    if (a.rfind(prefix, 0) == 0) out.insert(a);
  }
  return out;
}

// Where a raw scan of the image finds whole UTF-16 names that start with
// `prefix` and end in ".txt": in free FILE records and in INDX blocks
// (both as the driver wrote them: no update sequence applied, so a name
// across a sector's end is not seen).
struct RawScan {
  Names inFreeRecords;
  Names inLiveRecords;  // a small folder's index lives in its record
  Names inIndexBlocks;
};

RawScan rawScan(const std::string& image, const std::string& prefix) {
  RawScan scan;
  const std::string needle = vonq::test::utf16le(prefix);
  const std::string suffix = vonq::test::utf16le(".txt");
  for (std::size_t at = image.find(needle); at != std::string::npos;
       at = image.find(needle, at + 2)) {
    std::string name;
    std::size_t p = at;
    while (p + 1 < image.size() && image[p + 1] == '\0' && std::isprint(image[p]) != 0) {
      name += image[p];
      p += 2;
    }
    if (name.size() < 4 || name.compare(name.size() - 4, 4, ".txt") != 0) continue;
    const std::size_t record = at / kRecordSize * kRecordSize;
    const std::size_t block = at / kBlockSize * kBlockSize;
    if (image.compare(record, 4, "FILE") == 0) {
      ((image[record + 0x16] & 1) == 0 ? scan.inFreeRecords : scan.inLiveRecords).insert(name);
    } else if (image.compare(block, 4, "INDX") == 0) {
      scan.inIndexBlocks.insert(name);
    }
  }
  return scan;
}

// What a user sees of a folder: its entries with their contents, and when
// it last changed (ntfs-3g stamps access times when FUSE releases a folder,
// after the look, so those are not compared).
struct LiveFolder {
  std::map<std::string, std::string> entries;
  std::int64_t modified = 0;
  bool operator==(const LiveFolder&) const = default;
};
using LiveFolders = std::map<std::string, LiveFolder>;

LiveFolders liveFolders(const ScratchNtfs& volume, const std::vector<std::string>& folders) {
  LiveFolders out;
  for (const std::string& folder : folders) {
    LiveFolder& f = out[folder];
    const std::string path = volume.path(folder);
    for (const auto& entry : fs::directory_iterator(path)) {
      std::ifstream in(entry.path(), std::ios::binary);
      f.entries[entry.path().filename().string()] =
          entry.is_regular_file() ? std::string(std::istreambuf_iterator<char>(in), {}) : "<dir>";
    }
    struct stat st {};
    ::stat(path.c_str(), &st);
    f.modified = st.st_mtim.tv_sec * 1000000000ll + st.st_mtim.tv_nsec;
  }
  return out;
}

TraceReport audit(const ScratchNtfs& volume) {
  return TraceAudit(100000).run(volume.root());
}

bool toolsPresent(std::string& reason) {
  if (!ScratchNtfs::capable(reason)) return false;
  if (std::system("command -v fls >/dev/null 2>&1") != 0) {
    reason = "fls (sleuthkit) is missing";
    return false;
  }
  return true;
}

// A folder large enough for index blocks loses every tenth entry and its
// last two, a small one (its index in its record) its last; another
// folder is deleted whole. The audit names in free MFT
// records exactly what the raw scan finds there and every name fls lists;
// in index slack every deleted name the raw scan finds in live folders'
// blocks and records (and those the update sequence hid from it), and
// never a live one. After a run of all five operations no free record holds
// a name or resident data, no index slack an old name, the raw image holds
// no deleted name anywhere, and the live folders kept their entries,
// contents and times.
TEST(TraceAuditEndToEnd, FindsWhatRawScansFindAndNoRecordTraceAfterAWipe) {
  std::string reason;
  const bool present = toolsPresent(reason);
  VONQ_REQUIRE_CAPABILITY(present, reason);
  ScratchNtfs volume(ScratchNtfs::Options::ofSize(96ull << 20));
  ASSERT_TRUE(volume.ok()) << volume.error();
  fs::create_directories(volume.path("big"));
  fs::create_directories(volume.path("gone"));
  Names deleted;
  Names live;
  for (int i = 100; i < 400; ++i) {
    const std::string name = "vonqaudit-entry-" + std::to_string(i) + ".txt";
    writeFile(volume.path("big/" + name), "x");
    (i % 10 == 0 || i >= 398 ? deleted : live).insert(name);
  }
  for (int i = 0; i < 40; ++i) {
    const std::string name = "vonqaudit-gone-" + std::to_string(i) + ".txt";
    writeFile(volume.path("gone/" + name), "resident secret " + std::to_string(i));
    deleted.insert(name);
  }
  fs::create_directories(volume.path("small"));
  for (int i = 0; i < 3; ++i) {
    const std::string name = "vonqaudit-small-" + std::to_string(i) + ".txt";
    writeFile(volume.path("small/" + name), "x");
    (i == 2 ? deleted : live).insert(name);
  }
  ::sync();
  // The last entry: the end mark takes the place of its header only.
  fs::remove(volume.path("small/vonqaudit-small-2.txt"));
  for (const std::string& name : deleted) {
    if (name.rfind("vonqaudit-entry-", 0) == 0) fs::remove(volume.path("big/" + name));
  }
  fs::remove_all(volume.path("gone"));

  const TraceReport before = audit(volume);
  ASSERT_EQ(before.status, TraceReport::Status::Done);
  EXPECT_TRUE(before.flushed);
  const Names inRecords = ascii(before.freeRecordNameList, "vonqaudit-");
  const Names inSlack = ascii(before.slackNameList, "vonqaudit-");
  EXPECT_EQ(inRecords, deleted);
  EXPECT_GE(before.freeRecordsWithData, deleted.size());

  std::string image;
  ASSERT_TRUE(volume.readImage(image));
  const RawScan raw = rawScan(image, "vonqaudit-");
  // The raw scan misses names across a sector's end, where the update
  // sequence's check value stands on the volume.
  for (const std::string& name : raw.inFreeRecords) EXPECT_EQ(inRecords.count(name), 1u) << name;
  for (const std::string& name : raw.inLiveRecords) {
    if (live.count(name) == 0) {
      EXPECT_EQ(inSlack.count(name), 1u) << name;
    }
  }
  EXPECT_EQ(raw.inLiveRecords.count("vonqaudit-small-2.txt"), 1u);
  // The big folder's blocks are live; the deleted folder's were freed.
  const Names inFreeBlocks = ascii(before.freeIndexBlockNameList, "vonqaudit-");
  for (const std::string& name : raw.inIndexBlocks) {
    if (live.count(name) != 0) continue;
    const bool big = name.rfind("vonqaudit-entry-", 0) == 0;
    EXPECT_EQ((big ? inSlack : inFreeBlocks).count(name), 1u) << name;
  }
  EXPECT_FALSE(inSlack.empty());
  for (const std::string& name : inSlack) EXPECT_EQ(deleted.count(name), 1u) << name;
  const std::string listed = vonq::test::commandOutput("fls -r -d " + volume.imagePath() + " 2>&1");
  const std::regex flsName("vonqaudit-[a-z]+-[0-9]+\\.txt");
  for (std::sregex_iterator it(listed.begin(), listed.end(), flsName), end; it != end; ++it) {
    EXPECT_EQ(inRecords.count(it->str()), 1u) << it->str();
  }

  ASSERT_TRUE(volume.mount());
  const LiveFolders kept = liveFolders(volume, {"big", "small"});
  const Finished run = runScrub({"--yes", "--recycle-bin", "--free-space", "--mft",
                                 "--cluster-tips", "--file-names", volume.mountPoint()});
  EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
  EXPECT_EQ(liveFolders(volume, {"big", "small"}), kept);
  const TraceReport after = audit(volume);
  ASSERT_EQ(after.status, TraceReport::Status::Done);
  EXPECT_EQ(after.freeRecordsWithName, 0u) << testing::PrintToString(after.freeRecordNameList);
  EXPECT_EQ(after.freeRecordsWithData, 0u);
  EXPECT_EQ(after.slackNames, 0u) << testing::PrintToString(after.slackNameList);
  // The run's own audit says the same next to its end message.
  EXPECT_EQ(run.out.find("free MFT records"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("old names in the slack"), std::string::npos) << run.out;
  ASSERT_TRUE(volume.unmount());
  ASSERT_TRUE(volume.readImage(image));
  // Nowhere in the image, not only in records and index blocks.
  for (const std::string& name : deleted) {
    EXPECT_EQ(image.find(vonq::test::utf16le(name)), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace vonq::e2e_test
