#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
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
using s::os::linux_fs::TipJournalFile;

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

// A file whose writes go through and then kill the process, as a crash or
// a SIGKILL would in the middle of the tip write.
class DyingFile final : public s::os::FileWrapper {
 public:
  using FileWrapper::FileWrapper;
  bool write(const void* data, std::size_t count, std::size_t& done) override {
    FileWrapper::write(data, count / 2, done);
    ::kill(::getpid(), SIGKILL);
    return false;
  }
};
class DyingFileSystem final : public s::os::FileSystemWrapper {
 public:
  DyingFileSystem() : FileSystemWrapper(s::os::platformFileSystem()) {}
  std::unique_ptr<s::os::File> openFile(std::u16string_view path,
                                        const s::os::OpenMode& mode) override {
    auto file = FileSystemWrapper::openFile(path, mode);
    if (!file || mode.access == s::os::OpenMode::Access::Read) return file;
    return std::make_unique<DyingFile>(std::move(file));
  }
};

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

  const pid_t child = ::fork();
  if (child == 0) {
    DyingFileSystem dying;
    s::os::setFileSystem(&dying);
    auto* file = s::file::win::PathWin::fromText(u16(path));
    std::atomic<float> progress{0};
    std::atomic<std::uint8_t> stop{0};
    static std::uint8_t buffer[8192];
    auto* method = s::file::wiper::win::Method_Pseudorandom::create();
    s::file::wiper::win::CluterTip::wipe(*file, 1.0f, {method, buffer, 8192, &progress, &stop});
    ::_exit(0);  // not reached: the write kills the process
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  ASSERT_GT(st.st_size, 5000);  // the crash left the file extended
  ASSERT_EQ(TipJournalFile().entries().size(), 1u);

  EXPECT_EQ(s::os::tipJournal().replay(), 1u);
  EXPECT_TRUE(seen(path) == before);
  EXPECT_TRUE(TipJournalFile().entries().empty());
}

// What a replay does with a record, depending on what became of the file
// since it was written.
TEST(TipJournal, ReplayRepairsOnlyTheRecordedFileInAStateTheTipWriteCanLeave) {
  struct Case {
    const char* name;
    std::function<void(const std::string& path)> change;
    bool writerAlive;
    std::size_t repaired;
    std::uint64_t sizeAfter;  // 0: the file is gone or not a file
    bool restored;            // times and content as recorded
    bool recordKept;
  };
  const auto grow = [](std::size_t to) {
    return [to](const std::string& p) { writeFile(p, readFile(p) + patterned(to - 5000, "junk")); };
  };
  const Case cases[] = {
      {"left extended", grow(8192), false, 1, 5000, true, false},
      {"left whole with new times", [](const std::string& p) { setTimes(p, 0, 0, kAccess); }, false,
       1, 5000, true, false},
      {"cut shorter by someone", [](const std::string& p) { ::truncate(p.c_str(), 100); }, false, 0,
       100, false, false},
      {"grown past the unit by someone", grow(9000), false, 0, 9000, false, false},
      {"replaced by another file",
       [](const std::string& p) {
         ::unlink(p.c_str());
         writeFile(p, patterned(6000, "other"));
       },
       false, 0, 6000, false, false},
      {"replaced by a link",
       [](const std::string& p) {
         ::rename(p.c_str(), (p + ".moved").c_str());
         ::symlink((p + ".moved").c_str(), p.c_str());
       },
       false, 0, 0, false, false},
      {"gone", [](const std::string& p) { ::unlink(p.c_str()); }, false, 0, 0, false, false},
      {"extended, its writer still at work", grow(8192), true, 0, 8192, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    vonq::test::TempFolder folder;
    const std::string path = folder.at("f.bin");
    writeFile(path, patterned(5000, "f"));
    setTimes(path, kCreation, kAccess, kWrite);
    const Seen before = seen(path);
    s::os::FileInfo info;
    ASSERT_TRUE(s::os::fileSystem().stat(u16(path), info));
    TipJournalFile journal(folder.at("journal"));
    TipRecord record{u16(path), info.device,  info.fileId,      5000,
                     8192,      before.times, before.attributes};
    ASSERT_TRUE(journal.record(record));
    // Stand in for the process that wrote the record.
    std::vector<TipJournalFile::Entry> entries = journal.entries();
    ASSERT_EQ(entries.size(), 1u);
    const long writer = c.writerAlive ? static_cast<long>(::getppid()) : deadPid();
    writeFile(folder.at("journal"),
              "vonq-tip-journal 1\n" + TipJournalFile::encodeLine({writer, record}) + "\n");
    c.change(path);

    EXPECT_EQ(journal.replay(), c.repaired);
    struct stat st {};
    const bool isFile = ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    EXPECT_EQ(isFile ? static_cast<std::uint64_t>(st.st_size) : 0u, c.sizeAfter);
    if (c.restored) {
      EXPECT_TRUE(seen(path) == before);
    }
    EXPECT_EQ(journal.entries().size(), c.recordKept ? 1u : 0u);
  }
}

TEST(TipJournal, LinesSurviveHostileNames) {
  TipRecord record{u16("/mnt/a b\n%c\t\xff"), 1, 2, 3, 4, {5, 6, 7}, 8};
  record.path.back() = 0xDCFF;  // a byte that is not UTF-8
  TipJournalFile::Entry back;
  const std::string line = TipJournalFile::encodeLine({42, record});
  EXPECT_EQ(line.find('\n'), std::string::npos);
  ASSERT_TRUE(TipJournalFile::decodeLine(line, back));
  EXPECT_EQ(back.pid, 42);
  EXPECT_EQ(back.record.path, record.path);
  EXPECT_EQ(back.record.extendedTo, 4u);
  EXPECT_EQ(back.record.times.lastWrite, 7u);
  EXPECT_FALSE(TipJournalFile::decodeLine("1 2 3 9 4 5 6 7 8 /x", back));  // grown below length
  EXPECT_FALSE(TipJournalFile::decodeLine("1 2 3 4", back));
  EXPECT_FALSE(TipJournalFile::decodeLine("1 2 3 3 4 5 6 7 8 relative", back));
}

}  // namespace
}  // namespace vonq::tips_test
