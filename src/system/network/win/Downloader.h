#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "system/network/IDownloader.h"
#include "thread/IPoolable.h"
#include "thread/ITask.h"
#include "thread/Pooled.h"

namespace s::thread::win {
class Thread;
}

namespace s::system::network::win {

// The downloader (contract in IDownloader), on the platform's HTTP client.
// A fetch works on a state record of its own, so a fetch given up and left
// running on an abandoned worker never touches a later one. Pooled; giving
// it back aborts a running fetch (waiting) and clears everything.
class Downloader final : public IDownloader,
                         public virtual s::thread::IPoolable,
                         public s::thread::ITask {
  VONQ_POOLED(Downloader, s::thread::kPoolCap)
 public:
  static constexpr std::uint32_t kWaitStepMs = 200;
  static constexpr std::uint32_t kAbortGraceMs = 100;

  Downloader();
  ~Downloader() override;
  Downloader(const Downloader&) = delete;
  Downloader& operator=(const Downloader&) = delete;

  void start() override;
  void abort(bool wait) override;
  void setUrl(const std::u16string& url) override;
  void setReadToText(bool on) override;
  bool download(std::int32_t timeoutMs) override;
  bool hasSucceeded() override;
  std::u16string getFilePath() override;
  std::u16string getText() override;

  // The fetch. Worker thread.
  void run() override;

  const char16_t* getClassName() const override { return u"s_system_network_win_Downloader"; }
  void reset() override;

 private:
  // One fetch: what it was asked and what it found.
  struct Fetch {
    std::mutex lock;  // guards the fields below
    std::u16string url;
    bool readToText = false;
    std::u16string filePath;
    std::u16string text;
    bool succeeded = false;
    std::atomic<bool> running{false};
    std::atomic<bool> aborting{false};
  };

  std::shared_ptr<Fetch> current();
  static void fetch(Fetch& state);
  static std::u16string newTempFile();

  std::mutex lock_;  // guards fetch_
  std::shared_ptr<Fetch> fetch_;
  s::thread::win::Thread* worker_;
};

}  // namespace s::system::network::win
