#include "system/network/win/Downloader.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "os/Http.h"
#include "os/System.h"
#include "thread/win/Thread.h"

namespace s::system::network::win {

Downloader::Downloader()
    : fetch_(std::make_shared<Fetch>()), worker_(s::thread::win::Thread::create()) {
  worker_->setPriority(2);
}

Downloader::~Downloader() {
  abort(true);
  worker_->release();
}

void Downloader::reset() {
  abort(true);
  std::lock_guard<std::mutex> hold(lock_);
  fetch_ = std::make_shared<Fetch>();
}

std::shared_ptr<Downloader::Fetch> Downloader::current() {
  std::lock_guard<std::mutex> hold(lock_);
  return fetch_;
}

void Downloader::setUrl(const std::u16string& url) {
  auto state = current();
  std::lock_guard<std::mutex> hold(state->lock);
  state->url = url;
}

void Downloader::setReadToText(bool on) {
  auto state = current();
  std::lock_guard<std::mutex> hold(state->lock);
  state->readToText = on;
}

void Downloader::start() {
  auto state = current();
  if (state->running.exchange(true)) return;
  if (!worker_->runOnce(this)) state->running.store(false);
}

void Downloader::abort(bool wait) {
  auto state = current();
  state->aborting.store(true);
  if (!wait || worker_->waitIdleOrRestart(kAbortGraceMs)) return;
  // The worker was replaced: the fetch left on it keeps its own record; the
  // next fetch starts on a fresh one with the same settings.
  std::lock_guard<std::mutex> hold(lock_);
  auto fresh = std::make_shared<Fetch>();
  std::lock_guard<std::mutex> holdState(state->lock);
  fresh->url = state->url;
  fresh->readToText = state->readToText;
  fetch_ = fresh;
}

bool Downloader::download(std::int32_t timeoutMs) {
  if (!s::os::http().connected()) return false;
  auto state = current();
  state->aborting.store(false);
  start();
  while (state->running.load() && timeoutMs > 0) {
    s::os::system().sleepMillis(kWaitStepMs);
    timeoutMs -= static_cast<std::int32_t>(kWaitStepMs);
  }
  if (state->running.load() && !hasSucceeded()) abort(true);
  std::lock_guard<std::mutex> hold(state->lock);
  return state->succeeded;
}

bool Downloader::hasSucceeded() {
  auto state = current();
  std::lock_guard<std::mutex> hold(state->lock);
  return state->succeeded;
}

std::u16string Downloader::getFilePath() {
  auto state = current();
  std::lock_guard<std::mutex> hold(state->lock);
  return state->filePath;
}

std::u16string Downloader::getText() {
  auto state = current();
  std::lock_guard<std::mutex> hold(state->lock);
  return state->text;
}

void Downloader::run() {
  // Only the record is used from here on, never this object: a fetch given
  // up may outlive its downloader's interest in it.
  std::shared_ptr<Fetch> state = current();
  fetch(*state);
  state->aborting.store(false);
  state->running.store(false);
}

void Downloader::fetch(Fetch& state) {
  if (!s::os::http().connected()) return;
  std::u16string url;
  bool readToText = false;
  const std::u16string path = newTempFile();
  {
    std::lock_guard<std::mutex> hold(state.lock);
    url = state.url;
    readToText = state.readToText;
    state.filePath = path;
  }
  if (!s::os::http().download(url, path, state.aborting)) return;
  if (!readToText) {
    std::lock_guard<std::mutex> hold(state.lock);
    state.succeeded = true;
    return;
  }
  const std::filesystem::path file(path);
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
  std::lock_guard<std::mutex> hold(state.lock);
  state.text.assign(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    state.text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]));
  }
  state.succeeded = !bytes.empty();
}

// A new name in the system's temporary folder, "NEW" and a number.
std::u16string Downloader::newTempFile() {
  static std::atomic<std::uint32_t> counter{0};
  std::error_code ignored;
  std::filesystem::path folder = std::filesystem::temp_directory_path(ignored);
  const std::string name = "NEW" + std::to_string(s::os::system().currentThreadId()) + "-" +
                           std::to_string(counter.fetch_add(1)) + ".tmp";
  return (folder / name).u16string();
}

}  // namespace s::system::network::win
