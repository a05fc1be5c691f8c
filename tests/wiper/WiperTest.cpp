#include "file/wiper/win/Wiper.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "file/TempFolder.h"
#include "file/wiper/win/Method_Pseudorandom.h"
#include "os/FileAttributes.h"
#include "os/FileSystem.h"
#include "os/FileSystemWrapper.h"
#include "str/strbuffer/StrBuffer.h"
#include "support/Env.h"
#include "support/ScratchNtfs.h"

namespace {

namespace fs = std::filesystem;
using s::file::wiper::win::Method_Pseudorandom;
using s::file::wiper::win::Wiper;
using vonq::test::readText;
using vonq::test::ScratchNtfs;
using vonq::test::TempFolder;
using vonq::test::u16;
using vonq::test::u8;
using vonq::test::writeText;

// What the worker did, as seen at the file-system boundary.
struct Journal {
  std::mutex lock;
  std::vector<std::string> events;
  void add(std::string event) {
    std::lock_guard<std::mutex> guard(lock);
    events.push_back(std::move(event));
  }
  std::vector<std::string> take() {
    std::lock_guard<std::mutex> guard(lock);
    return events;
  }
  int count(const std::string& prefix) {
    int n = 0;
    for (const std::string& e : take()) n += e.rfind(prefix, 0) == 0;
    return n;
  }
};

// A file that reports its writes and length changes, and can be slowed down.
class RecordingFile : public s::os::File {
 public:
  RecordingFile(std::unique_ptr<s::os::File> inner, Journal& journal, std::string name,
                int writeDelayMs, std::atomic<int>& writesStarted, std::atomic<int>& writesFinished)
      : inner_(std::move(inner)),
        journal_(journal),
        name_(std::move(name)),
        delay_(writeDelayMs),
        writesStarted_(writesStarted),
        writesFinished_(writesFinished) {}
  bool read(void* b, std::size_t c, std::size_t& d) override { return inner_->read(b, c, d); }
  bool write(const void* data, std::size_t count, std::size_t& done) override {
    ++writesStarted_;
    journal_.add("write " + name_ + " " + std::to_string(inner_->position()) + "+" +
                 std::to_string(count));
    if (delay_ > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delay_));
    const bool ok = inner_->write(data, count, done);
    ++writesFinished_;
    return ok;
  }
  bool seek(std::uint64_t p) override { return inner_->seek(p); }
  std::uint64_t position() const override { return inner_->position(); }
  bool size(std::uint64_t& out) override { return inner_->size(out); }
  bool setEndOfFile(std::uint64_t length) override {
    journal_.add("truncate " + name_ + " " + std::to_string(length));
    return inner_->setEndOfFile(length);
  }
  bool flush() override { return inner_->flush(); }
  bool getTimes(s::os::FileTimes& t) override { return inner_->getTimes(t); }
  bool setTimes(const s::os::FileTimes& t) override { return inner_->setTimes(t); }
  bool holdExclusive() override { return inner_->holdExclusive(); }
  bool exclusiveBroken() override { return inner_->exclusiveBroken(); }
  void releaseExclusive() override { inner_->releaseExclusive(); }
  bool isUnbuffered() const override { return inner_->isUnbuffered(); }
  bool close() override { return inner_->close(); }

 private:
  std::unique_ptr<s::os::File> inner_;
  Journal& journal_;
  std::string name_;
  int delay_;
  std::atomic<int>& writesStarted_;
  std::atomic<int>& writesFinished_;
};

std::string baseName(std::u16string_view path) {
  const std::string p = u8(path);
  return p.substr(p.find_last_of('/') + 1);
}

class RecordingFileSystem : public s::os::FileSystemWrapper {
 public:
  RecordingFileSystem() : FileSystemWrapper(s::os::platformFileSystem()) {}
  Journal journal;
  int writeDelayMs = 0;
  std::atomic<int> writesStarted{0};
  std::atomic<int> writesFinished{0};
  // Called with the path before each open; may change the tree under it.
  std::function<void(std::u16string_view)> beforeOpen;

  std::unique_ptr<s::os::File> openFile(std::u16string_view path,
                                        const s::os::OpenMode& mode) override {
    if (beforeOpen) beforeOpen(path);
    std::unique_ptr<s::os::File> file = target().openFile(path, mode);
    journal.add(std::string(file ? "open " : "open-failed ") + baseName(path));
    if (!file) return file;
    return std::make_unique<RecordingFile>(std::move(file), journal, baseName(path), writeDelayMs,
                                           writesStarted, writesFinished);
  }
  bool move(std::u16string_view from, std::u16string_view to, bool replace) override {
    const bool ok = target().move(from, to, replace);
    if (ok) journal.add("move " + baseName(from) + " " + baseName(to));
    return ok;
  }
  bool setAttributes(std::u16string_view path, std::uint32_t attributes) override {
    journal.add("attributes " + baseName(path) + " " + std::to_string(attributes));
    return target().setAttributes(path, attributes);
  }
  bool setTimes(std::u16string_view path, const s::os::FileTimes& times) override {
    journal.add("times " + baseName(path));
    return target().setTimes(path, times);
  }
};

struct Settings {
  std::int32_t truncateCount = 2;
  std::int32_t renameCount = 2;
  std::int32_t attributeCount = 2;
  std::int32_t timeCount = 2;
};

// Runs a worker with the pseudorandom method over `paths` and waits for it.
// Returns the progress seen at the end.
std::int32_t runWiper(const std::vector<std::string>& paths, const Settings& settings = {}) {
  Wiper* wiper = Wiper::create();
  EXPECT_TRUE(wiper->init());
  wiper->setMethod(Method_Pseudorandom::create());
  wiper->setTruncateCount(settings.truncateCount);
  wiper->setRenameCount(settings.renameCount);
  wiper->setAttributeCount(settings.attributeCount);
  wiper->setTimeCount(settings.timeCount);
  for (const std::string& p : paths) wiper->addPath(u16(p).c_str());
  wiper->start();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (wiper->isRunning() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_FALSE(wiper->isRunning());
  const std::int32_t progress = wiper->getProgress();
  wiper->release();
  return progress;
}

std::string marker(const std::string& tag) {
  return "VONQ-MARKER-" + tag + "-7f3a9c";
}

std::string repeated(const std::string& text, std::size_t size) {
  std::string out;
  while (out.size() < size) out += text;
  out.resize(size);
  return out;
}

// ---- On a scratch NTFS volume

class WiperOnNtfs : public testing::Test {
 protected:
  void SetUp() override {
    std::string reason;
    VONQ_REQUIRE_CAPABILITY(ScratchNtfs::capable(reason), reason);
    ScratchNtfs::Options options;
    options.sizeBytes = 96ull << 20;
    volume_ = std::make_unique<ScratchNtfs>(options);
    ASSERT_TRUE(volume_->ok()) << volume_->error();
  }
  std::unique_ptr<ScratchNtfs> volume_;
};

// A tree with files resident in the MFT, files of a few KB and of a few MB,
// each holding its own marker: after the worker, the tree is gone and no
// marker is left anywhere in the raw image, while a file beside the tree
// keeps its content.
TEST_F(WiperOnNtfs, TreeOfMarkedFilesLeavesNoTraceInTheImage) {
  struct Case {
    const char* name;
    Settings settings;
  };
  const Case cases[] = {
      {"defaults", {}},
      {"truncate 0", {0, 2, 2, 2}},
      {"truncate 1", {1, 2, 2, 2}},
      {"rename 1, attributes 1, times 1", {2, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!volume_->mounted()) {
      ASSERT_TRUE(volume_->mount());
    }
    const std::string tree = volume_->path(std::string("tree-") + std::to_string(&c - cases));
    const std::vector<std::pair<std::string, std::size_t>> files = {
        {"resident.txt", 40},           {"sub/resident2.txt", 300}, {"sub/deep/small.bin", 3000},
        {"medium.bin", 5000},           {"sub/medium2.bin", 12345}, {"big.bin", 3u << 20},
        {"sub/deep/big2.bin", 1500000},
    };
    std::vector<std::string> markers;
    for (const auto& [name, size] : files) {
      markers.push_back(marker(std::to_string(&c - cases) + "-" + name));
      writeText(tree + "/" + name, repeated(markers.back(), size));
    }
    fs::create_directories(tree + "/empty-folder");
    const std::string keep = marker("keep-" + std::to_string(&c - cases));
    writeText(volume_->path("beside.txt"), keep);
    ASSERT_TRUE(volume_->remount());

    EXPECT_EQ(runWiper({tree}, c.settings), 100);
    EXPECT_FALSE(fs::exists(tree));
    EXPECT_EQ(readText(volume_->path("beside.txt")), keep);
    // Only the kept file is left on the volume besides NTFS's own files.
    for (const auto& entry : fs::directory_iterator(volume_->mountPoint())) {
      const std::string name = entry.path().filename().string();
      EXPECT_TRUE(name == "beside.txt" || name[0] == '$' || name == "System Volume Information")
          << name;
    }
    std::string image;
    ASSERT_TRUE(volume_->readImage(image));
    for (const std::string& m : markers) {
      EXPECT_EQ(image.find(m), std::string::npos) << m;
    }
    EXPECT_NE(image.find(keep), std::string::npos) << "the search itself finds markers";
  }
}

// stop(true) during a long overwrite ends it at the next chunk: the file
// keeps its name and is not deleted, and stop returns long before its
// 5-second limit.
TEST_F(WiperOnNtfs, StopDuringALongOverwriteKeepsTheFile) {
  const std::string big = volume_->path("long.bin");
  writeText(big, repeated(marker("long"), 40u << 20));
  RecordingFileSystem recording;
  recording.writeDelayMs = 150;
  vonq::test::Installed installed(recording);

  Wiper* wiper = Wiper::create();
  ASSERT_TRUE(wiper->init());
  wiper->setMethod(Method_Pseudorandom::create());
  wiper->addPath(u16(big).c_str());
  wiper->start();
  while (recording.writesStarted.load() == 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  const auto before = std::chrono::steady_clock::now();
  wiper->stop(true);
  const auto waited = std::chrono::steady_clock::now() - before;
  EXPECT_FALSE(wiper->isRunning());
  EXPECT_LT(waited, std::chrono::seconds(2));
  wiper->release();

  EXPECT_TRUE(fs::exists(big));
  EXPECT_LE(recording.journal.count("write "), 2) << "the write ended at the next chunk";
  EXPECT_EQ(recording.journal.count("move "), 0);
  EXPECT_EQ(recording.journal.count("truncate "), 0);
  EXPECT_EQ(s::os::fileSystem().getAttributes(u16(big)), s::os::FileAttributes::kArchive)
      << "its attributes were put back";
}

// Links planted in the tree, handed directly, or swapped in for a file just
// before it is opened: the worker neither writes through them nor renames
// or deletes them, and the files they point at keep their content.
TEST_F(WiperOnNtfs, PlantedLinksAreLeftAlone) {
  const std::string outside = volume_->path("outside.txt");
  const std::string precious = marker("precious");
  writeText(outside, precious);
  const std::string tree = volume_->path("tree");
  writeText(tree + "/plain.txt", marker("plain"));
  writeText(tree + "/swapped.txt", marker("swapped"));
  fs::create_symlink(outside, tree + "/link-in-tree");
  fs::create_symlink(outside, volume_->path("handed-link"));

  RecordingFileSystem recording;
  const std::u16string swapped = u16(tree + "/swapped.txt");
  recording.beforeOpen = [&](std::u16string_view path) {
    if (path == swapped) {
      fs::remove(u8(swapped));
      fs::create_symlink(outside, u8(swapped));
    }
  };
  {
    vonq::test::Installed installed(recording);
    runWiper({tree, volume_->path("handed-link")});
  }
  EXPECT_EQ(readText(outside), precious);
  EXPECT_TRUE(fs::is_symlink(tree + "/link-in-tree"));
  EXPECT_TRUE(fs::is_symlink(tree + "/swapped.txt"));
  EXPECT_TRUE(fs::is_symlink(volume_->path("handed-link")));
  EXPECT_FALSE(fs::exists(tree + "/plain.txt")) << "the ordinary file was still wiped";
  EXPECT_TRUE(fs::is_directory(tree)) << "a folder that still holds links keeps its name";
  EXPECT_EQ(recording.journal.count("open-failed swapped.txt"), 1);
}

// ---- On an ordinary folder: the sequence of steps per entry

TEST(Wiper, CountsDecideTheStepsTakenPerFile) {
  struct Case {
    Settings settings;
    int truncates;
    int moves;
    int times;
  };
  const Case cases[] = {
      {{2, 2, 2, 2}, 2, 2, 2},
      {{0, 2, 2, 2}, 0, 2, 2},
      {{1, 1, 1, 1}, 1, 1, 1},
      {{3, 0, 2, 2}, 3, 0, 0},  // no rename: the file is kept
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "truncate " << c.settings.truncateCount << " rename "
                                    << c.settings.renameCount);
    TempFolder tmp;
    writeText(tmp.at("victim.bin"), std::string(5000, 'v'));
    RecordingFileSystem recording;
    {
      vonq::test::Installed installed(recording);
      EXPECT_EQ(runWiper({tmp.at("victim.bin")}, c.settings), 100);
    }
    const std::vector<std::string> events = recording.journal.take();
    // The whole allocation (two 4096-byte units) is overwritten in one chunk.
    EXPECT_EQ(recording.journal.count("write victim.bin 0+8192"), 1);
    EXPECT_EQ(recording.journal.count("write "), 1);
    EXPECT_EQ(recording.journal.count("truncate "), c.truncates);
    if (c.truncates > 0) {
      EXPECT_EQ(recording.journal.count("truncate victim.bin 0"), 1) << "the last cut is to 0";
    }
    for (const std::string& e : events) {
      if (e.rfind("truncate ", 0) == 0) {
        EXPECT_LT(std::stoull(e.substr(e.rfind(' ') + 1)), 5000u) << e;
      }
    }
    EXPECT_EQ(recording.journal.count("move "), c.moves);
    EXPECT_EQ(recording.journal.count("times "), c.times);
    const bool deleted = c.moves > 0;
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.root()), fs::directory_iterator()),
              deleted ? 0 : 1);
    if (!deleted) {
      EXPECT_TRUE(fs::exists(tmp.at("victim.bin"))) << "an entry never renamed keeps its name";
    }
  }
}

TEST(Wiper, EmptyFolderIsRenamedAndRemovedInOneProgressStep) {
  TempFolder tmp;
  fs::create_directories(tmp.at("empty"));
  RecordingFileSystem recording;
  {
    vonq::test::Installed installed(recording);
    EXPECT_EQ(runWiper({tmp.at("empty")}), 100);
  }
  EXPECT_FALSE(fs::exists(tmp.at("empty")));
  EXPECT_EQ(recording.journal.count("move "), 2);
  EXPECT_EQ(recording.journal.count("times "), 2);
  EXPECT_EQ(recording.journal.count("write "), 0);
}

TEST(Wiper, RandomTimesLieInTheYearBandBeforeTheResetTime) {
  // Observed at the file-system boundary, for 40 files.
  class KeepFiles : public RecordingFileSystem {
   public:
    std::vector<s::os::FileTimes> seen;
    bool setTimes(std::u16string_view path, const s::os::FileTimes& times) override {
      seen.push_back(times);
      return RecordingFileSystem::setTimes(path, times);
    }
  };
  TempFolder tmp;
  for (int i = 0; i < 40; ++i) writeText(tmp.at("f" + std::to_string(i)), "x");
  KeepFiles keep;
  Wiper* probe = Wiper::create();
  const std::uint64_t now = probe->getResetTime();
  probe->release();
  {
    vonq::test::Installed installed(keep);
    runWiper({tmp.root()});
  }
  ASSERT_GE(keep.seen.size(), 80u);
  int equalWrite = 0;
  for (const s::os::FileTimes& t : keep.seen) {
    EXPECT_GE(t.creation, now - 6 * Wiper::kYear);
    EXPECT_LT(t.creation, now - Wiper::kYear);
    EXPECT_GE(t.lastWrite, t.creation);
    EXPECT_GE(t.lastAccess, t.lastWrite);
    EXPECT_LT(t.lastAccess, now - Wiper::kYear + 2000);
    equalWrite += t.lastWrite == t.creation;
  }
  EXPECT_GT(equalWrite, 0);
  EXPECT_LT(equalWrite, static_cast<int>(keep.seen.size()));
}

TEST(Wiper, ClusterTipModeNeverDeletesRenamesOrShortens) {
  TempFolder tmp;
  writeText(tmp.at("a/one.txt"), "one");
  writeText(tmp.at("two.txt"), "two");
  RecordingFileSystem recording;
  Wiper* wiper = Wiper::create();
  wiper->init();
  wiper->setMethod(Method_Pseudorandom::create());
  wiper->setCluterTipMode(true);
  wiper->addPath(u16(tmp.at("a")).c_str());
  wiper->addPath(u16(tmp.at("two.txt")).c_str());
  {
    vonq::test::Installed installed(recording);
    wiper->start();
    while (wiper->isRunning()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_EQ(wiper->getProgress(), 100);
  s::str::strbuffer::StrBuffer* current = s::str::strbuffer::StrBuffer::create();
  wiper->getCurrentFile(current);
  EXPECT_EQ(u8(current->view()), tmp.at("two.txt")) << "the full path in this mode";
  current->release();
  wiper->release();
  EXPECT_EQ(readText(tmp.at("a/one.txt")), "one");
  EXPECT_EQ(readText(tmp.at("two.txt")), "two");
  EXPECT_EQ(recording.journal.count("move "), 0);
  // Lengths may only be set back to what they were (3 bytes each).
  for (const std::string& e : recording.journal.take()) {
    if (e.rfind("truncate ", 0) == 0) {
      EXPECT_EQ(e.substr(e.rfind(' ') + 1), "3") << e;
    }
  }
}

TEST(Wiper, WithoutMethodOrPathsTheRunEndsAtOnce) {
  TempFolder tmp;
  writeText(tmp.at("kept"), "k");
  Wiper* wiper = Wiper::create();
  wiper->init();
  wiper->addPath(u16(tmp.at("kept")).c_str());
  wiper->start();
  while (wiper->isRunning()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  EXPECT_EQ(wiper->getProgress(), 0);
  wiper->release();
  EXPECT_EQ(readText(tmp.at("kept")), "k");
  EXPECT_EQ(runWiper({}), 0);
}

}  // namespace

namespace {

// A write that hangs longer than stop(true) waits: the run still counts as
// the worker's (isRunning), no second run starts over it (start refuses and
// says so), and release() gives the worker back to its pool only once the
// stuck run has returned, so nothing it uses is freed or reused under it.
TEST(Wiper, AStuckRunStaysTheWorkersUntilItReturns) {
  TempFolder tmp;
  writeText(tmp.at("slow.bin"), std::string(100000, 's'));
  writeText(tmp.at("second.bin"), "second");
  RecordingFileSystem recording;
  // Longer than stop(true)'s wait and the second wait start() makes first.
  recording.writeDelayMs = 11000;
  vonq::test::Installed installed(recording);

  Wiper* wiper = Wiper::create();
  ASSERT_TRUE(wiper->init());
  wiper->setMethod(Method_Pseudorandom::create());
  const std::size_t methodsKept = Method_Pseudorandom::pool().getKeptCount();
  wiper->addPath(u16(tmp.at("slow.bin")).c_str());
  wiper->addPath(u16(tmp.at("second.bin")).c_str());
  ASSERT_TRUE(wiper->start());
  while (recording.writesStarted.load() == 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  wiper->stop(true);
  EXPECT_TRUE(wiper->isRunning()) << "the stuck run is still going";
  EXPECT_FALSE(wiper->start()) << "no second run over the stuck one";
  wiper->release();
  EXPECT_GT(Method_Pseudorandom::pool().getKeptCount(), methodsKept)
      << "release() returned before the stuck run gave its method back";
  EXPECT_TRUE(fs::exists(tmp.at("slow.bin"))) << "the stopped run kept the file";
  EXPECT_TRUE(fs::exists(tmp.at("second.bin"))) << "and went no further";
}

}  // namespace
