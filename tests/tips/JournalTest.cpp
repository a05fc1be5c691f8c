#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>

#include "TipsFixture.h"
#include "file/TempFolder.h"
#include "file/win/PathWin.h"
#include "file/wiper/IMethod.h"
#include "file/wiper/win/CluterTip.h"
#include "file/wiper/win/Method_Pseudorandom.h"
#include "os/FileAttributes.h"
#include "os/FileSystem.h"
#include "os/FileWrapper.h"
#include "os/TipJournal.h"
#include "os/linux/TipJournalFile.h"

namespace vonq::tips_test {
namespace {

using s::os::FileAttributes;
using s::os::TipRecord;
using s::os::linux_fs::ProcessStamp;
using s::os::linux_fs::TipJournalFile;
using vonq::test::ScratchNtfs;

constexpr std::uint64_t kCreation = 130000000000000000ull;
constexpr std::uint64_t kAccess = 131000000000000000ull;
constexpr std::uint64_t kWrite = 130500000000000000ull;

// The id of a process that has ended (and was reaped).
long deadPid() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

// A file whose write kills the process, as a crash or a SIGKILL would in the
// middle of the tip write: before anything reaches the file, half way
// through, or once all of it is there.
enum class DiesAt { BeforeTheWrite, HalfWay, AfterTheWrite };
class DyingFile final : public s::os::FileWrapper {
 public:
  DyingFile(std::unique_ptr<s::os::File> target, DiesAt when)
      : FileWrapper(std::move(target)), when_(when) {}
  bool write(const void* data, std::size_t count, std::size_t& done) override {
    if (when_ != DiesAt::BeforeTheWrite) {
      FileWrapper::write(data, when_ == DiesAt::HalfWay ? count / 2 : count, done);
    }
    ::kill(::getpid(), SIGKILL);
    return false;
  }

 private:
  DiesAt when_;
};
// Files named `name` (the last part of the path; any file when empty) die
// on their first write.
class DyingFileSystem final : public s::os::FileSystemWrapper {
 public:
  explicit DyingFileSystem(DiesAt when, std::string name = "")
      : FileSystemWrapper(s::os::platformFileSystem()), when_(when), name_(std::move(name)) {}
  std::unique_ptr<s::os::File> openFile(std::u16string_view path,
                                        const s::os::OpenMode& mode) override {
    auto file = FileSystemWrapper::openFile(path, mode);
    const std::string text = u8(path);
    if (!file || mode.access == s::os::OpenMode::Access::Read ||
        (!name_.empty() && text.substr(text.find_last_of('/') + 1) != name_)) {
      return file;
    }
    return std::make_unique<DyingFile>(std::move(file), when_);
  }

 private:
  DiesAt when_;
  std::string name_;
};

// Runs `work` in a child process that dies as `dying` makes it; false when
// the child ended otherwise.
bool killedDuring(const std::function<void()>& work, DyingFileSystem& dying) {
  const pid_t child = ::fork();
  if (child == 0) {
    s::os::setFileSystem(&dying);
    work();
    ::_exit(0);  // not reached when the write killed the process
  }
  int status = 0;
  return ::waitpid(child, &status, 0) == child && WIFSIGNALED(status) &&
         WTERMSIG(status) == SIGKILL;
}

// A read-only file with old times whose process dies half way through the
// tip write: the file is left longer than its data and writable. The next
// start cuts it back and puts everything back.
TEST(TipJournal, RepairsAFileLeftExtendedByAKilledProcess) {
  vonq::test::TempFolder folder;
  const std::string path = folder.at("victim.bin");
  writeFile(path, patterned(5000, "victim"));
  setTimes(path, kCreation, kAccess, kWrite);
  ASSERT_TRUE(s::os::fileSystem().setAttributes(u16(path), FileAttributes::kReadOnly));
  const Seen before = seen(path);

  DyingFileSystem dying(DiesAt::HalfWay);
  ASSERT_TRUE(killedDuring(
      [&] {
        auto* file = s::file::win::PathWin::fromText(u16(path));
        std::atomic<float> progress{0};
        std::atomic<std::uint8_t> stop{0};
        static std::uint8_t buffer[8192];
        auto* method = s::file::wiper::win::Method_Pseudorandom::create();
        s::file::wiper::win::CluterTip::wipe(*file, 1.0f, {method, buffer, 8192, &progress, &stop});
      },
      dying));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  ASSERT_GT(st.st_size, 5000);  // the crash left the file extended
  ASSERT_EQ(TipJournalFile().entries().size(), 1u);

  EXPECT_EQ(s::os::tipJournal().replay(), 1u);
  EXPECT_TRUE(seen(path) == before);
  EXPECT_TRUE(TipJournalFile().entries().empty());
}

// The bytes the tip write puts past `length` for `seed`, up to `to`.
std::string tipBytes(std::uint64_t seed, std::size_t count) {
  std::string bytes(count, '\0');
  s::os::tipPattern(seed, reinterpret_cast<std::uint8_t*>(bytes.data()), count);
  return bytes;
}

void append(const std::string& path, const std::string& data) {
  std::ofstream(path, std::ios::binary | std::ios::app) << data;
}

// What a replay does with a record, depending on what became of the file
// since it was written: only a state the tip write itself leaves is
// repaired; a file someone changed since is left as it is and reported; a
// file that is gone or another one is dropped without a word.
TEST(TipJournal, ReplayRepairsOnlyTheRecordedFileInAStateTheTipWriteCanLeave) {
  VONQ_REQUIRE_NTFS();
  ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  constexpr std::uint64_t kSeed = 0x5EED;
  // Repaired: as before the tip write. AsBefore: nothing to do. Changed:
  // left as someone made it, and reported. NotAFile: dropped. Kept: its
  // writer is at work, record and file stay as they are.
  enum class After { Repaired, AsBefore, Changed, NotAFile, Kept };
  struct Case {
    const char* name;
    std::function<void(const std::string& path)> change;
    bool writerAlive;
    After after;
    std::uint64_t sizeAfter;  // 0: the file is gone or not a file
  };
  const auto tip = [](std::size_t count) {
    return [count](const std::string& p) { append(p, tipBytes(kSeed, count)); };
  };
  const auto grownByTipThen = [](std::function<void(const std::string&)> then) {
    return [then](const std::string& p) {
      append(p, tipBytes(kSeed, 3192));
      then(p);
    };
  };
  const auto userTimes = [](const std::string& p) { setTimes(p, 0, 0, kAccess); };
  const auto hundredBytes = [](const std::string& p) { append(p, patterned(100, "user")); };
  const Case cases[] = {
      {"untouched since", [](const std::string&) {}, false, After::AsBefore, 5000},
      {"left extended", tip(3192), false, After::Repaired, 5000},
      {"left half extended", tip(1000), false, After::Repaired, 5000},
      {"left with the while-writing attributes",
       [](const std::string& p) {
         s::os::fileSystem().setAttributes(u16(p), s::os::TipJournal::kWhileWriting);
       },
       false, After::Repaired, 5000},
      {"its times set by someone", userTimes, false, After::Changed, 5000},
      {"100 bytes appended by someone", hundredBytes, false, After::Changed, 5100},
      {"extended, then its times set by someone", grownByTipThen(userTimes), false, After::Changed,
       8192},
      {"extended, then rewritten in place by someone", grownByTipThen([](const std::string& p) {
         std::fstream f(p, std::ios::binary | std::ios::in | std::ios::out);
         f.seekp(6000);
         f << "someone else's";
       }),
       false, After::Changed, 8192},
      {"extended, then 100 bytes appended", grownByTipThen(hundredBytes), false, After::Changed,
       8292},
      {"cut shorter by someone", [](const std::string& p) { ::truncate(p.c_str(), 100); }, false,
       After::Changed, 100},
      {"replaced by another file",
       [](const std::string& p) {
         ::unlink(p.c_str());
         writeFile(p, patterned(6000, "other"));
       },
       false, After::NotAFile, 6000},
      {"replaced by a link",
       [](const std::string& p) {
         ::rename(p.c_str(), (p + ".moved").c_str());
         ::symlink((p + ".moved").c_str(), p.c_str());
       },
       false, After::NotAFile, 0},
      {"gone", [](const std::string& p) { ::unlink(p.c_str()); }, false, After::NotAFile, 0},
      {"extended, its writer still at work", tip(3192), true, After::Kept, 8192},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = volume.path("f" + std::to_string(++n) + ".bin");
    writeFile(path, patterned(5000, "f"));
    ASSERT_TRUE(s::os::fileSystem().setAttributes(u16(path), FileAttributes::kHidden));
    setTimes(path, kCreation, kAccess, kWrite);
    const Seen before = seen(path);
    s::os::FileInfo info;
    ASSERT_TRUE(s::os::fileSystem().stat(u16(path), info));
    vonq::test::TempFolder folder;
    TipJournalFile journal(folder.at("journal"));
    TipRecord record{u16(path), info.device,  info.fileId,       5000,
                     8192,      before.times, before.attributes, kSeed};
    ASSERT_TRUE(journal.record(record));
    // Stand in for the process that wrote the record.
    std::vector<TipJournalFile::Entry> entries = journal.entries();
    ASSERT_EQ(entries.size(), 1u);
    entries[0].writer = c.writerAlive ? ProcessStamp::of(::getppid()) : ProcessStamp{deadPid(), 1};
    writeFile(folder.at("journal"),
              "vonq-tip-journal 1\n" + TipJournalFile::encodeLine(entries[0]) + "\n");
    c.change(path);
    const std::string changed = readFile(path);

    std::vector<std::u16string> leftAlone;
    EXPECT_EQ(journal.replay(leftAlone), c.after == After::Repaired ? 1u : 0u);
    struct stat st {};
    const bool isFile = ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    EXPECT_EQ(isFile ? static_cast<std::uint64_t>(st.st_size) : 0u, c.sizeAfter);
    if (c.after == After::Repaired || c.after == After::AsBefore) {
      EXPECT_TRUE(seen(path) == before);
    } else if (c.after == After::Changed || c.after == After::Kept) {
      EXPECT_EQ(readFile(path), changed);
    }
    EXPECT_EQ(leftAlone, c.after == After::Changed ? std::vector<std::u16string>{u16(path)}
                                                   : std::vector<std::u16string>{});
    EXPECT_EQ(journal.entries().size(), c.writerAlive ? 1u : 0u);
  }
}

// The cluster-tip walk is killed while it works on one file of a volume -
// before its tip write, or once the tip is written - and the user then
// works with that file before the next start. Only that file has a record;
// the next start repairs it when nobody touched it, and otherwise keeps the
// user's bytes and times and reports the file.
TEST(TipJournal, AKillDuringTheWalkLeavesOneRecordAndTheUsersLaterChangesStand) {
  VONQ_REQUIRE_NTFS();
  enum class User { Nothing, Appends100Bytes, SetsTimes };
  struct Case {
    DiesAt diesAt;
    User user;
  };
  const Case cases[] = {
      {DiesAt::BeforeTheWrite, User::Nothing},
      {DiesAt::BeforeTheWrite, User::Appends100Bytes},
      {DiesAt::BeforeTheWrite, User::SetsTimes},
      {DiesAt::AfterTheWrite, User::Nothing},
      {DiesAt::AfterTheWrite, User::Appends100Bytes},
      {DiesAt::AfterTheWrite, User::SetsTimes},
  };
  constexpr std::uint64_t kUserWrite = 132000000000000000ull;
  const std::string target = "m-target.bin";
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.diesAt == DiesAt::BeforeTheWrite ? "before" : "after") +
                 " the tip write, user " + std::to_string(static_cast<int>(c.user)));
    ScratchNtfs volume;
    ASSERT_TRUE(volume.ok()) << volume.error();
    // Files the walk finishes before it reaches the target, and after.
    for (const char* name : {"a-done.bin", "b-done.bin", "c-done.bin", target.c_str(), "z.bin"}) {
      writeFile(volume.path(name), patterned(5000, name));
      ASSERT_TRUE(
          s::os::fileSystem().setAttributes(u16(volume.path(name)), FileAttributes::kReadOnly));
      setTimes(volume.path(name), kCreation, kAccess, kWrite);
    }
    const std::string path = volume.path(target);
    const std::string content = readFile(path);
    const Seen before = seen(path);

    DyingFileSystem dying(c.diesAt, target);
    ASSERT_TRUE(killedDuring([&] { runClusterTips(volume.root()); }, dying));
    const auto records = TipJournalFile().entries();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].record.path, u16(path));

    std::string expected = readFile(path);
    if (c.user == User::Appends100Bytes) {
      append(path, patterned(100, "user"));
      expected += patterned(100, "user");
    } else if (c.user == User::SetsTimes) {
      setTimes(path, 0, 0, kUserWrite);
    }
    std::vector<std::u16string> leftAlone;
    s::os::tipJournal().replay(leftAlone);
    EXPECT_TRUE(TipJournalFile().entries().empty());
    if (c.user == User::Nothing) {
      EXPECT_TRUE(seen(path) == before);
      EXPECT_TRUE(leftAlone.empty());
      continue;
    }
    EXPECT_EQ(leftAlone, std::vector<std::u16string>{u16(path)});
    const std::string after = readFile(path);
    EXPECT_EQ(after, expected);
    EXPECT_EQ(after.substr(0, content.size()), content);
    if (c.user == User::SetsTimes) {
      s::os::FileTimes times;
      ASSERT_TRUE(s::os::fileSystem().getTimes(u16(path), times));
      EXPECT_EQ(times.lastWrite, kUserWrite);
    }
  }
}

TEST(TipJournal, LinesSurviveHostileNames) {
  TipRecord record{u16("/mnt/a b\n%c\t\xff"), 1, 2, 3, 4, {5, 6, 7}, 8, 9};
  record.path.back() = 0xDCFF;  // a byte that is not UTF-8
  TipJournalFile::Entry back;
  const std::string line = TipJournalFile::encodeLine({{42, 4242}, record});
  EXPECT_EQ(line.find('\n'), std::string::npos);
  ASSERT_TRUE(TipJournalFile::decodeLine(line, back));
  EXPECT_TRUE(back.writer == (ProcessStamp{42, 4242}));
  EXPECT_EQ(back.record.path, record.path);
  EXPECT_EQ(back.record.extendedTo, 4u);
  EXPECT_EQ(back.record.times.lastWrite, 7u);
  EXPECT_EQ(back.record.seed, 9u);
  // A line of the older form: a bare process id, no seed.
  ASSERT_TRUE(TipJournalFile::decodeLine("77 2 3 3 4 5 6 7 8 /x", back));
  EXPECT_EQ(back.writer.pid, 77);
  EXPECT_EQ(back.record.seed, 0u);
  for (const char* bad : {"1 2 3 9 4 5 6 7 8 /x",  // grown below length
                          "1 2 3 4", "1 2 3 3 4 5 6 7 8 relative", "1:2 2 3 3 4 5 6 7 8 /x",
                          "1:x 2 3 3 4 5 6 7 8 9 /x", "1 2 3 3 4 5 6 7 99999999999 /x"}) {
    EXPECT_FALSE(TipJournalFile::decodeLine(bad, back)) << bad;
  }
}

}  // namespace
}  // namespace vonq::tips_test
