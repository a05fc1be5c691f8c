#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "os/FileSystemWrapper.h"
#include "os/FileTimes.h"
#include "support/Env.h"
#include "support/ScratchNtfs.h"

namespace vonq::tips_test {

#define VONQ_REQUIRE_NTFS()                                            \
  do {                                                                 \
    std::string reason_;                                               \
    const bool capable_ = ::vonq::test::ScratchNtfs::capable(reason_); \
    VONQ_REQUIRE_CAPABILITY(capable_, reason_);                        \
  } while (0)

std::u16string u16(const std::string& bytes);
std::string u8(std::u16string_view text);

void writeFile(const std::string& path, const std::string& data);
std::string readFile(const std::string& path);
// `n` bytes that are unlikely to appear anywhere else.
std::string patterned(std::size_t n, const std::string& tag);

// What a user sees of a file: content, length, times, attributes.
struct Seen {
  std::string content;
  s::os::FileTimes times;
  std::uint32_t attributes = 0;
  bool operator==(const Seen& o) const {
    return content == o.content && times.creation == o.times.creation &&
           times.lastAccess == o.times.lastAccess && times.lastWrite == o.times.lastWrite &&
           attributes == o.attributes;
  }
};
Seen seen(const std::string& path);
void setTimes(const std::string& path, std::uint64_t creation, std::uint64_t access,
              std::uint64_t write);

// Records the writes and the size changes made through files opened for
// writing, by file name (the last part of the path).
class RecordingFileSystem : public s::os::FileSystemWrapper {
 public:
  struct Write {
    std::uint64_t offset;
    std::uint64_t count;
  };
  RecordingFileSystem();
  ~RecordingFileSystem() override;

  std::unique_ptr<s::os::File> openFile(std::u16string_view path,
                                        const s::os::OpenMode& mode) override;

  std::vector<Write> writesTo(const std::string& name);
  std::vector<std::uint64_t> endsOf(const std::string& name);
  // Names of the files opened for writing.
  std::vector<std::string> written();
  void wrote(const std::string& name, Write w);
  void sized(const std::string& name, std::uint64_t end);

 private:
  std::mutex lock_;
  std::map<std::string, std::vector<Write>> writes_;
  std::map<std::string, std::vector<std::uint64_t>> ends_;
  std::vector<std::string> opened_;
  s::os::FileSystem* previous_;
};

// Runs only the cluster-tip operation of an engine on `root` and waits for
// it; the operation's percentage at the end.
int runClusterTips(const std::u16string& root);

}  // namespace vonq::tips_test
