#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <vector>

#include "file/wiper/Random.h"
#include "file/wiper/win/Method_None.h"
#include "file/wiper/win/Method_Pseudorandom.h"
#include "os/File.h"

namespace {

using s::file::wiper::Random;
using s::file::wiper::win::Method_None;
using s::file::wiper::win::Method_Pseudorandom;

// A file in memory that records what the method does with it.
class MemoryFile : public s::os::File {
 public:
  std::vector<std::uint8_t> data;
  std::vector<std::uint64_t> writes;  // offset of each write
  int flushes = 0;
  std::int64_t failAfterWrites = -1;  // writes allowed before one fails short
  std::function<void()> afterWrite;

  bool read(void*, std::size_t, std::size_t& done) override { return done = 0, false; }
  bool write(const void* bytes, std::size_t count, std::size_t& done) override {
    done = 0;
    if (failAfterWrites == 0) {
      done = count / 2;  // a short write
      return false;
    }
    if (failAfterWrites > 0) --failAfterWrites;
    if (data.size() < position_ + count) data.resize(position_ + count);
    std::memcpy(data.data() + position_, bytes, count);
    writes.push_back(position_);
    position_ += count;
    done = count;
    if (afterWrite) afterWrite();
    return true;
  }
  bool seek(std::uint64_t position) override { return position_ = position, true; }
  std::uint64_t position() const override { return position_; }
  bool size(std::uint64_t& out) override { return out = data.size(), true; }
  bool setEndOfFile(std::uint64_t length) override { return data.resize(length), true; }
  bool flush() override { return ++flushes, true; }
  bool getTimes(s::os::FileTimes&) override { return false; }
  bool setTimes(const s::os::FileTimes&) override { return false; }
  bool holdExclusive() override { return true; }
  bool exclusiveBroken() override { return false; }
  void releaseExclusive() override {}
  bool isUnbuffered() const override { return false; }
  bool close() override { return true; }

 private:
  std::uint64_t position_ = 0;
};

struct WriteCall {
  std::atomic<float> progress{-1.0f};
  std::atomic<std::uint8_t> stop{0};
  std::vector<std::uint8_t> buffer;
  explicit WriteCall(std::size_t bufferSize) : buffer(bufferSize) {}
  bool write(s::file::wiper::IMethod& method, MemoryFile& file, std::uint64_t start,
             std::uint64_t end, float from = 0.25f, float to = 0.75f) {
    return method.write(file, end, buffer.data(), static_cast<std::int32_t>(buffer.size()), from,
                        to, &progress, &stop, start);
  }
};

TEST(Method_Pseudorandom, WritesFreshDataChunkByChunkAndFlushesEach) {
  Method_Pseudorandom* method = Method_Pseudorandom::create();
  MemoryFile file;
  file.data.assign(100, 0xEE);  // bytes before `start` must survive
  WriteCall run(1000);
  Random::seedForTest(2024);
  ASSERT_TRUE(run.write(*method, file, 100, 2600));
  EXPECT_EQ(file.writes, (std::vector<std::uint64_t>{100, 1100, 2100}));
  EXPECT_EQ(file.flushes, 3);
  EXPECT_EQ(file.data.size(), 2600u);
  EXPECT_TRUE(
      std::all_of(file.data.begin(), file.data.begin() + 100, [](auto b) { return b == 0xEE; }));
  // Each chunk is one fillRandom of its own length, in order.
  Random::seedForTest(2024);
  std::vector<std::uint8_t> expected;
  for (std::uint32_t chunk : {1000u, 1000u, 500u}) {
    std::vector<std::uint8_t> part(chunk);
    Random::fillRandom(chunk, part.data());
    expected.insert(expected.end(), part.begin(), part.end());
  }
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), file.data.begin() + 100));
  EXPECT_FLOAT_EQ(run.progress.load(), 0.75f);
  method->release();
}

TEST(Method_Pseudorandom, EmptyRangesStopsAndFailuresKeepTheFractionReached) {
  Method_Pseudorandom* method = Method_Pseudorandom::create();
  {
    SCOPED_TRACE("empty range: true, nothing touched");
    MemoryFile file;
    WriteCall run(1000);
    run.stop = 1;  // even with the stop flag set
    EXPECT_TRUE(run.write(*method, file, 500, 500));
    EXPECT_TRUE(file.writes.empty());
    EXPECT_FLOAT_EQ(run.progress.load(), -1.0f);
  }
  {
    SCOPED_TRACE("stopped before the start: false, nothing written");
    MemoryFile file;
    WriteCall run(1000);
    run.stop = 1;
    EXPECT_FALSE(run.write(*method, file, 0, 4096));
    EXPECT_TRUE(file.writes.empty());
    EXPECT_FLOAT_EQ(run.progress.load(), -1.0f);
  }
  {
    SCOPED_TRACE("a short write in the middle: false, progress at one half");
    MemoryFile file;
    file.failAfterWrites = 1;
    WriteCall run(2048);
    EXPECT_FALSE(run.write(*method, file, 0, 4096));
    EXPECT_EQ(file.writes.size(), 1u);
    EXPECT_FLOAT_EQ(run.progress.load(), 0.5f);
  }
  {
    SCOPED_TRACE("stopped after the first chunk: false, the second never written");
    MemoryFile file;
    WriteCall run(2048);
    file.afterWrite = [&] { run.stop = 1; };
    EXPECT_FALSE(run.write(*method, file, 0, 4096, 0.0f, 1.0f));
    EXPECT_EQ(file.writes.size(), 1u);
    EXPECT_FLOAT_EQ(run.progress.load(), 0.5f);
  }
  {
    SCOPED_TRACE("no buffer: false");
    MemoryFile file;
    std::atomic<float> progress{0};
    EXPECT_FALSE(method->write(file, 10, nullptr, 0, 0, 1, &progress, nullptr, 0));
  }
  method->release();
}

TEST(Method_None, WritesNothingAndSucceeds) {
  Method_None* method = Method_None::create();
  MemoryFile file;
  WriteCall run(1000);
  run.stop = 1;
  EXPECT_TRUE(run.write(*method, file, 0, 1 << 20));
  EXPECT_TRUE(file.writes.empty());
  EXPECT_EQ(file.flushes, 0);
  EXPECT_FLOAT_EQ(run.progress.load(), -1.0f);
  EXPECT_EQ(std::u16string(method->getClassName()), u"s_file_wiper_win_Method_None");
  method->release();
}

}  // namespace
