// The Windows platform layer, run as a Windows program (under Wine in CI).

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "os/FileAttributes.h"
#include "os/FileSystem.h"
#include "os/RegistryStore.h"
#include "os/windows/PendingDeletionJournal.h"
#include "os/windows/StreamRecords.h"
#include "os/windows/WinFileSystem.h"
#include "os/windows/WinJournal.h"
#include "os/windows/WinTipJournal.h"

namespace {

namespace fs = std::filesystem;
using s::os::FileInfo;
using s::os::FsError;
using s::os::OpenMode;
using s::os::win_fs::WinJournal;

// A fresh folder under the temporary folder, removed at scope end.
class Scratch {
 public:
  Scratch() {
    root_ = fs::temp_directory_path() / ("vonq-win-" + std::to_string(::GetCurrentProcessId()) +
                                         "-" + std::to_string(++count_));
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  std::u16string at(const std::string& name) const { return (root_ / name).u16string(); }

 private:
  fs::path root_;
  static inline int count_ = 0;
};

// Whether this runs under Wine, which differs from Windows in the places the
// tests name.
bool underWine() {
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

s::os::FileSystem& files() {
  return s::os::platformFileSystem();
}

std::unique_ptr<s::os::File> create(const std::u16string& path, bool unbuffered = false) {
  OpenMode mode = OpenMode::make(OpenMode::Access::ReadWrite, OpenMode::Disposition::CreateNew);
  mode.unbuffered = unbuffered;
  return files().openFile(path, mode);
}

std::string readAll(const std::u16string& path) {
  auto file = files().openFile(path, OpenMode::read());
  std::string out;
  char piece[4096];
  std::size_t got = 0;
  while (file != nullptr && file->read(piece, sizeof piece, got)) out.append(piece, got);
  return out;
}

TEST(WinFiles, OpenModesAndSharing) {
  Scratch dir;
  const std::u16string path = dir.at("a.bin");
  EXPECT_EQ(files().openFile(path, OpenMode::read()), nullptr);
  EXPECT_EQ(s::os::lastFsError(), FsError::NotFound);
  auto writer = create(path);
  ASSERT_NE(writer, nullptr);
  EXPECT_EQ(create(path), nullptr);
  EXPECT_EQ(s::os::lastFsError(), FsError::Exists);
  // A file open for writing is shared with nobody.
  EXPECT_EQ(files().openState(path), s::os::OpenState::InUse);
  EXPECT_EQ(files().openFile(path, OpenMode::read()), nullptr);
  EXPECT_EQ(s::os::lastFsError(), FsError::InUse);
  EXPECT_TRUE(writer->holdExclusive());
  writer.reset();
  EXPECT_EQ(files().openState(path), s::os::OpenState::Free);
}

// An unbuffered handle takes only aligned requests; unaligned ones go
// through whole blocks and must neither disturb the bytes around them nor
// leave the file longer than written.
TEST(WinFiles, UnalignedRequestsOnAnUnbufferedFile) {
  Scratch dir;
  const std::u16string path = dir.at("u.bin");
  auto file = create(path, true);
  ASSERT_NE(file, nullptr);
  std::size_t done = 0;
  const std::string first(6000, 'a');
  ASSERT_TRUE(file->write(first.data(), first.size(), done));
  EXPECT_EQ(done, first.size());
  ASSERT_TRUE(file->seek(1000));
  const std::string middle(300, 'b');
  ASSERT_TRUE(file->write(middle.data(), middle.size(), done));
  ASSERT_TRUE(file->seek(5990));
  const std::string tail(20, 'c');
  ASSERT_TRUE(file->write(tail.data(), tail.size(), done));
  std::uint64_t size = 0;
  ASSERT_TRUE(file->size(size));
  EXPECT_EQ(size, 6010u);
  char back[7] = {};
  ASSERT_TRUE(file->seek(997));
  ASSERT_TRUE(file->read(back, 6, done));
  EXPECT_EQ(std::string(back, done), "aaabbb");
  file.reset();
  EXPECT_EQ(readAll(path), std::string(1000, 'a') + middle + std::string(4690, 'a') + tail);
}

// Growth really allocates and reads as zeros, also where the volume makes a
// hole (Wine on a Unix file system does; Windows on NTFS does not).
TEST(WinFiles, GrowingAllocatesAndShrinkingKeepsTheData) {
  Scratch dir;
  const std::u16string path = dir.at("g.bin");
  auto file = create(path);
  ASSERT_NE(file, nullptr);
  std::size_t done = 0;
  ASSERT_TRUE(file->write("xyz", 3, done));
  constexpr std::uint64_t kGrown = 3u << 20;
  ASSERT_TRUE(file->setEndOfFile(kGrown));
  EXPECT_EQ(file->position(), 3u);
  FileInfo info;
  ASSERT_TRUE(files().stat(path, info));
  EXPECT_EQ(info.size, kGrown);
  EXPECT_GE(info.allocatedSize, kGrown);
  std::uint64_t reached = 0;
  ASSERT_TRUE(file->reserve(kGrown + 5000, nullptr, reached));
  EXPECT_EQ(reached, kGrown + 5000);
  ASSERT_TRUE(file->setEndOfFile(2));
  file.reset();
  EXPECT_EQ(readAll(path), "xy");
}

TEST(WinFiles, TimesAttributesAndListing) {
  Scratch dir;
  const std::u16string path = dir.at("t.txt");
  ASSERT_NE(create(path), nullptr);
  s::os::FileTimes times{132000000000000000ull, 132100000000000000ull, 132200000000000000ull};
  ASSERT_TRUE(files().setTimes(path, times));
  s::os::FileTimes back;
  ASSERT_TRUE(files().getTimes(path, back));
  if (underWine()) {
    // Wine keeps no creation time on a Unix file system: it cannot be set.
    std::printf("note: Wine cannot set a creation time\n");
  } else {
    EXPECT_EQ(back.creation, times.creation);
  }
  EXPECT_EQ(back.lastAccess, times.lastAccess);
  EXPECT_EQ(back.lastWrite, times.lastWrite);
  using s::os::FileAttributes;
  ASSERT_TRUE(files().setAttributes(path, FileAttributes::kHidden | FileAttributes::kNormal));
  EXPECT_EQ(files().getAttributes(path) & (FileAttributes::kHidden | FileAttributes::kNormal),
            FileAttributes::kHidden);
  ASSERT_TRUE(files().createFolder(dir.at("sub")));
  std::vector<s::os::DirEntry> entries;
  ASSERT_TRUE(files().listFolder(dir.at(""), entries));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_FALSE(files().deleteFile(dir.at("sub")));
  EXPECT_FALSE(files().move(dir.at("sub"), path, true)) << "a folder never replaces anything";
  EXPECT_EQ(s::os::lastFsError(), FsError::Exists);
}

// Writes `bytes` to `path`: a file, or a named stream of one ("file:name").
bool writeStream(const std::u16string& path, const std::string& bytes) {
  const HANDLE stream = ::CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_WRITE,
                                      0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (stream == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      ::WriteFile(stream, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != 0 &&
      written == bytes.size();
  ::CloseHandle(stream);
  return ok;
}

// The stream listing names each named data stream with its size, never the
// main stream, and fails for a missing entry.
TEST(WinStreams, ListingNamesEachNamedStreamWithItsSize) {
  Scratch dir;
  const std::u16string host = dir.at("host.txt");
  ASSERT_TRUE(writeStream(host, "main data"));
  ASSERT_TRUE(writeStream(host + u":extra", "12345"));
  ASSERT_TRUE(writeStream(host + u":second", std::string(70000, 'x')));
  std::vector<s::os::StreamEntry> streams;
  ASSERT_TRUE(files().listStreams(host, streams));
  if (underWine()) {
    // Wine keeps no named streams: "host.txt:extra" becomes a file of its
    // own beside host.txt, and the file itself has none to list.
    std::printf("note: Wine makes files, not streams, of \"name:stream\"\n");
    std::vector<s::os::DirEntry> entries;
    ASSERT_TRUE(files().listFolder(dir.at(""), entries));
    EXPECT_EQ(entries.size(), 3u);
    EXPECT_TRUE(streams.empty());
  } else {
    std::sort(streams.begin(), streams.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    ASSERT_EQ(streams.size(), 2u);
    EXPECT_EQ(streams[0].name, u":extra");
    EXPECT_EQ(streams[0].size, 5u);
    EXPECT_EQ(streams[1].name, u":second");
    EXPECT_EQ(streams[1].size, 70000u);
  }
  streams.clear();
  ASSERT_TRUE(files().createFolder(dir.at("folder")));
  EXPECT_TRUE(files().listStreams(dir.at("folder"), streams));
  EXPECT_TRUE(streams.empty());
  EXPECT_FALSE(files().listStreams(dir.at("missing"), streams));
  EXPECT_EQ(s::os::lastFsError(), FsError::NotFound);
}

// One FILE_STREAM_INFORMATION record: `next` bytes to the next record (0:
// the last), the stream's size and name.
std::vector<std::uint8_t> streamRecord(std::uint32_t next, std::int64_t size,
                                       const std::u16string& name) {
  std::vector<std::uint8_t> record(24 + name.size() * 2);
  const std::uint32_t nameBytes = static_cast<std::uint32_t>(name.size() * 2);
  std::memcpy(record.data(), &next, 4);
  std::memcpy(record.data() + 4, &nameBytes, 4);
  std::memcpy(record.data() + 8, &size, 8);
  std::memcpy(record.data() + 24, name.data(), nameBytes);
  if (next > record.size()) record.resize(next);
  return record;
}

// The records of the stream query, as a real NTFS answers them (Wine never
// answers with named streams): the main stream is left out, names lose their
// type, and a record cut short by the buffer's end ends the parse.
TEST(WinStreams, RecordsBecomeNamesWithSizes) {
  std::vector<std::uint8_t> answer;
  for (const auto& [size, name, last] :
       {std::tuple<std::int64_t, std::u16string, bool>{9, u"::$DATA", false},
        {5, u":extra:$DATA", false},
        {70000, u":second:$DATA", true}}) {
    const std::size_t aligned = (24 + name.size() * 2 + 7) / 8 * 8;
    const auto record = streamRecord(last ? 0 : static_cast<std::uint32_t>(aligned), size, name);
    answer.insert(answer.end(), record.begin(), record.end());
  }
  std::vector<s::os::StreamEntry> streams;
  s::os::win_fs::StreamRecords::parse(answer, streams);
  ASSERT_EQ(streams.size(), 2u);
  EXPECT_EQ(streams[0].name, u":extra");
  EXPECT_EQ(streams[0].size, 5u);
  EXPECT_EQ(streams[1].name, u":second");
  EXPECT_EQ(streams[1].size, 70000u);

  // The last record's name runs past the end of the answer.
  answer.resize(answer.size() - 4);
  streams.clear();
  s::os::win_fs::StreamRecords::parse(answer, streams);
  EXPECT_EQ(streams.size(), 1u);
  streams.clear();
  s::os::win_fs::StreamRecords::parse({}, streams);
  EXPECT_TRUE(streams.empty());
}

TEST(WinVolumes, TheSystemDriveIsListedWithItsGeometry) {
  const std::vector<s::os::VolumeInfo> volumes = files().listVolumes();
  ASSERT_FALSE(volumes.empty());
  s::os::VolumeInfo c;
  ASSERT_TRUE(files().volumeOf(u"C:\\windows", c));
  EXPECT_EQ(c.root, u"C:\\");
  EXPECT_EQ(c.source, u"\\\\.\\C:");
  EXPECT_GT(c.clusterSize(), 0u);
  EXPECT_GT(c.freeBytes, 0u);
  EXPECT_EQ(files().freeBytes(u"C:\\windows") > 0, true);
}

// A record whose writer is gone is replayed; what changed since is dropped
// untouched; a record of a running writer (this test) is kept.
TEST(WinJournals, PendingDeletionsReplayOnlyWhatIsStillTheScheduledEntry) {
  Scratch dir;
  const std::u16string journalPath = dir.at("pending");
  const std::u16string tree = dir.at("tree");
  const std::u16string replaced = dir.at("replaced.bin");
  const std::u16string mine = dir.at("mine.bin");
  ASSERT_TRUE(files().createFolder(tree));
  ASSERT_NE(create(tree + u"\\inner.bin"), nullptr);
  ASSERT_TRUE(files().setAttributes(tree + u"\\inner.bin", s::os::FileAttributes::kReadOnly));
  ASSERT_NE(create(replaced), nullptr);
  ASSERT_NE(create(mine), nullptr);
  FileInfo treeInfo, replacedInfo;
  ASSERT_TRUE(files().stat(tree, treeInfo));
  ASSERT_TRUE(files().stat(replaced, replacedInfo));
  const WinJournal journal(journalPath);
  const WinJournal::Writer gone{};
  ASSERT_TRUE(journal.save(
      {{u"D", WinJournal::number(treeInfo.device), WinJournal::number(treeInfo.fileId), tree},
       {u"F", WinJournal::number(replacedInfo.device),
        WinJournal::number(replacedInfo.fileId + 12345), replaced}},
      {gone, gone}));
  s::os::win_fs::PendingDeletionJournal pending(journalPath);
  FileInfo mineInfo;
  ASSERT_TRUE(files().stat(mine, mineInfo));
  ASSERT_TRUE(pending.add(mine, mineInfo));
  auto& windowsFiles = static_cast<s::os::win_fs::WinFileSystem&>(files());
  EXPECT_EQ(pending.replay(windowsFiles), 1u);
  EXPECT_FALSE(files().exists(tree));
  EXPECT_TRUE(files().exists(replaced)) << "another file under the name is left alone";
  EXPECT_TRUE(files().exists(mine)) << "the writer still runs";
  std::vector<WinJournal::Writer> writers;
  EXPECT_EQ(journal.rows(&writers).size(), 1u);
}

// Only a file grown by nothing but the recorded tip bytes is cut back; one
// grown past what the tip write could make is left alone and reported.
TEST(WinJournals, TipReplayCutsBackOnlyAFileTheTipWriteCouldHaveGrown) {
  Scratch dir;
  const std::u16string grown = dir.at("grown.bin");
  const std::u16string rewritten = dir.at("rewritten.bin");
  s::os::TipRecord records[2];
  for (int i = 0; i < 2; ++i) {
    const std::u16string path = i == 0 ? grown : rewritten;
    auto file = create(path);
    ASSERT_NE(file, nullptr);
    std::size_t done = 0;
    ASSERT_TRUE(file->write("0123456789", 10, done));
    file.reset();
    FileInfo info;
    ASSERT_TRUE(files().stat(path, info));
    records[i] = {path, info.device, info.fileId, 10, 4096, info.times, files().getAttributes(path),
                  7};
    auto again = files().openFile(
        path, OpenMode::make(OpenMode::Access::Write, OpenMode::Disposition::OpenExisting));
    std::string tip(4096 - 10, '\0');
    s::os::tipPattern(7, reinterpret_cast<std::uint8_t*>(tip.data()), tip.size());
    ASSERT_TRUE(again->seek(10));
    ASSERT_TRUE(again->write(tip.data(), tip.size(), done));
    if (i == 1) {
      ASSERT_TRUE(again->setEndOfFile(9000));
    }
  }
  const std::u16string journalPath = dir.at("tips");
  WinJournal journal(journalPath);
  // Rows as the journal writes them, from a writer that is gone.
  s::os::win_fs::WinTipJournal tips(journalPath);
  ASSERT_TRUE(tips.record(records[0]));
  ASSERT_TRUE(tips.record(records[1]));
  std::vector<WinJournal::Writer> writers;
  const std::vector<WinJournal::Row> rows = journal.rows(&writers);
  ASSERT_EQ(rows.size(), 2u);
  std::vector<std::u16string> leftAlone;
  EXPECT_EQ(tips.replay(leftAlone), 0u) << "this process wrote them and still runs";
  ASSERT_TRUE(journal.save(rows, {WinJournal::Writer{}, WinJournal::Writer{}}));
  EXPECT_EQ(tips.replay(leftAlone), 1u);
  EXPECT_EQ(leftAlone, std::vector<std::u16string>{rewritten});
  EXPECT_EQ(readAll(grown), "0123456789");
  FileInfo info;
  ASSERT_TRUE(files().stat(grown, info));
  EXPECT_EQ(info.times.lastWrite, records[0].times.lastWrite);
  ASSERT_TRUE(files().stat(rewritten, info));
  EXPECT_EQ(info.size, 9000u) << "longer than the tip write could make it: left alone";
  EXPECT_TRUE(journal.rows(nullptr).empty());
}

TEST(WinRegistry, KeysAndValuesUnderTheCurrentUser) {
  s::os::RegistryStore& store = s::os::platformRegistryStore();
  const std::u16string user = store.currentUserId();
  ASSERT_NE(user, u"Error");
  const std::u16string base =
      s::os::RegRoot::nativePrefixOf(s::os::RegRoot::kCurrentUser, user) + u"\\Software";
  const std::u16string path = base + u"\\VonqPlatformTest";
  using Key = s::os::RegistryStore::Key;
  const Key key = store.createKey(path);
  ASSERT_NE(key, s::os::RegistryStore::kNoKey);
  const std::uint32_t dword = 0x12345678;
  ASSERT_TRUE(store.setValue(key, u"Zeta", s::os::RegType::kDword, &dword, sizeof dword));
  ASSERT_TRUE(store.setValue(key, u"alpha", s::os::RegType::kBinary, "ab", 2));
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  ASSERT_TRUE(store.queryValue(key, u"ZETA", type, data));
  EXPECT_EQ(type, s::os::RegType::kDword);
  ASSERT_EQ(data.size(), 4u);
  EXPECT_EQ(std::memcmp(data.data(), &dword, 4), 0);
  std::vector<std::u16string> names;
  ASSERT_TRUE(store.listValueNames(key, names));
  if (underWine()) {
    // Wine's registry lists values sorted by name, not in the order they
    // were first set as Windows does.
    EXPECT_EQ(names, (std::vector<std::u16string>{u"alpha", u"Zeta"}));
  } else {
    EXPECT_EQ(names, (std::vector<std::u16string>{u"Zeta", u"alpha"}));
  }
  const Key b = store.createKey(path + u"\\b");
  const Key a = store.createKey(path + u"\\A");
  ASSERT_TRUE(store.listSubkeyNames(key, names));
  EXPECT_EQ(names, (std::vector<std::u16string>{u"A", u"b"}));
  EXPECT_FALSE(store.renameKey(b, u"a")) << "a sibling has that name";
  EXPECT_FALSE(store.deleteKey(key)) << "it still has subkeys";
  EXPECT_TRUE(store.deleteKey(a));
  EXPECT_TRUE(store.deleteKey(b));
  EXPECT_FALSE(store.setValue(a, u"x", s::os::RegType::kDword, &dword, 4)) << "deleted";
  EXPECT_TRUE(store.deleteValue(key, u"alpha"));
  EXPECT_FALSE(store.deleteValue(key, u"alpha"));
  EXPECT_TRUE(store.deleteKey(key));
  for (Key k : {a, b, key}) store.closeKey(k);
  const Key root =
      store.openKey(s::os::RegRoot::nativePrefixOf(s::os::RegRoot::kCurrentUser, user));
  EXPECT_FALSE(store.deleteKey(root)) << "a predefined root's key";
  store.closeKey(root);
  ::SetEnvironmentVariableW(L"VONQ_TEST_NAME", L"value");
  EXPECT_EQ(store.expandEnvironment(u"%VONQ_TEST_NAME%/%NOT_SET_HERE%/100%"),
            u"value/%NOT_SET_HERE%/100%");
}

}  // namespace
