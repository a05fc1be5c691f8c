#include "TipsFixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "file/wiper/win/DiskWiper.h"
#include "os/FileSystem.h"
#include "os/FileWrapper.h"

namespace vonq::tips_test {

namespace fs = std::filesystem;

namespace {

// Keeps the journals of the whole program in a private folder.
class PrivateState : public ::testing::Environment {
 public:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "vonq-tips-state-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return;
    folder_ = pattern;
    ::setenv("XDG_STATE_HOME", folder_.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (folder_ + "/data").c_str(), 1);
  }
  void TearDown() override {
    std::error_code ignored;
    if (!folder_.empty()) fs::remove_all(folder_, ignored);
  }

 private:
  std::string folder_;
};

[[maybe_unused]] const auto* const kState = ::testing::AddGlobalTestEnvironment(new PrivateState);

std::string lastPart(std::u16string_view path) {
  const std::string p = u8(path);
  return p.substr(p.find_last_of('/') + 1);
}

class RecordingFile final : public s::os::FileWrapper {
 public:
  RecordingFile(std::unique_ptr<s::os::File> target, RecordingFileSystem& owner, std::string name)
      : FileWrapper(std::move(target)), owner_(owner), name_(std::move(name)) {}
  bool write(const void* data, std::size_t count, std::size_t& done) override {
    const std::uint64_t at = position();
    const bool ok = FileWrapper::write(data, count, done);
    owner_.wrote(name_, {at, done});
    return ok;
  }
  bool setEndOfFile(std::uint64_t length) override {
    owner_.sized(name_, length);
    return FileWrapper::setEndOfFile(length);
  }

 private:
  RecordingFileSystem& owner_;
  std::string name_;
};

}  // namespace

std::u16string u16(const std::string& bytes) {
  return {bytes.begin(), bytes.end()};
}
std::string u8(std::u16string_view text) {
  return {text.begin(), text.end()};
}

void writeFile(const std::string& path, const std::string& data) {
  std::ofstream(path, std::ios::binary) << data;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string patterned(std::size_t n, const std::string& tag) {
  std::string out;
  while (out.size() < n) out += "<" + tag + ":" + std::to_string(out.size()) + ">";
  out.resize(n);
  return out;
}

Seen seen(const std::string& path) {
  Seen s;
  // Times and attributes first: reading the content may move the access time.
  s::os::fileSystem().getTimes(u16(path), s.times);
  s.attributes = s::os::fileSystem().getAttributes(u16(path));
  s.content = readFile(path);
  setTimes(path, 0, s.times.lastAccess, 0);
  return s;
}

void setTimes(const std::string& path, std::uint64_t creation, std::uint64_t access,
              std::uint64_t write) {
  s::os::FileTimes t;
  t.creation = creation;
  t.lastAccess = access;
  t.lastWrite = write;
  s::os::fileSystem().setTimes(u16(path), t);
}

RecordingFileSystem::RecordingFileSystem()
    : FileSystemWrapper(s::os::platformFileSystem()), previous_(s::os::setFileSystem(this)) {}

RecordingFileSystem::~RecordingFileSystem() {
  s::os::setFileSystem(previous_ == this ? nullptr : previous_);
}

std::unique_ptr<s::os::File> RecordingFileSystem::openFile(std::u16string_view path,
                                                           const s::os::OpenMode& mode) {
  auto file = FileSystemWrapper::openFile(path, mode);
  if (!file || mode.access == s::os::OpenMode::Access::Read) return file;
  const std::string name = lastPart(path);
  {
    std::lock_guard<std::mutex> guard(lock_);
    opened_.push_back(name);
  }
  return std::make_unique<RecordingFile>(std::move(file), *this, name);
}

void RecordingFileSystem::wrote(const std::string& name, Write w) {
  std::lock_guard<std::mutex> guard(lock_);
  writes_[name].push_back(w);
}

void RecordingFileSystem::sized(const std::string& name, std::uint64_t end) {
  std::lock_guard<std::mutex> guard(lock_);
  ends_[name].push_back(end);
}

std::vector<RecordingFileSystem::Write> RecordingFileSystem::writesTo(const std::string& name) {
  std::lock_guard<std::mutex> guard(lock_);
  return writes_[name];
}

std::vector<std::uint64_t> RecordingFileSystem::endsOf(const std::string& name) {
  std::lock_guard<std::mutex> guard(lock_);
  return ends_[name];
}

std::vector<std::string> RecordingFileSystem::written() {
  std::lock_guard<std::mutex> guard(lock_);
  return opened_;
}

int runClusterTips(const std::u16string& root) {
  using s::file::wiper::win::DiskWiper;
  DiskWiper* engine = DiskWiper::create();
  engine->init();
  engine->setDrive(root.c_str());
  EXPECT_TRUE(engine->isSupported());
  engine->setProcessTrashBin(false);
  engine->setProcessDiskSpace(false);
  engine->setProcessMFTSpace(false);
  engine->setProcessCluterTips(true);
  engine->setProcessFileEntries(false);
  engine->start();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
  while (engine->isRunning() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  const int percent = engine->getProgressCluterTips();
  engine->release();
  return percent;
}

}  // namespace vonq::tips_test
