#include "file/wiper/win/TempFileWorker.h"

#include "file/win/PathWin.h"
#include "file/wiper/win/Method_None.h"
#include "file/wiper/win/Wiper.h"
#include "os/FileSystem.h"
#include "os/System.h"

namespace s::file::wiper::win {

namespace {

// Runs a worker over `paths`; false when it could not be had or would not
// start.
bool runWorker(const std::vector<std::u16string>& paths, const TempFileWorker::Counts& counts,
               const TempFileWorker::Poll& poll) {
  Wiper* worker = Wiper::create();
  if (worker == nullptr) return false;
  worker->init();
  worker->setMethod(Method_None::create());
  worker->setTruncateCount(counts.truncate);
  worker->setRenameCount(counts.rename);
  worker->setAttributeCount(counts.attribute);
  worker->setTimeCount(counts.time);
  for (const std::u16string& path : paths) worker->addPath(path.c_str());
  const bool started = worker->start();
  bool stopped = false;
  while (worker->isRunning()) {
    s::os::system().sleepMillis(TempFileWorker::kPollMillis);
    if (!stopped && poll && !poll(worker->getProgress())) {
      worker->stop(true);
      stopped = true;
    }
  }
  worker->release();
  return started;
}

}  // namespace

bool TempFileWorker::removePlainly(const std::u16string& path) {
  if (!s::os::fileSystem().exists(path)) return true;
  s::file::win::PathWin* entry = s::file::win::PathWin::fromText(path);
  entry->remove(false, false);
  entry->release();
  return !s::os::fileSystem().exists(path);
}

Shortfall TempFileWorker::destroy(const std::vector<std::u16string>& paths, const Counts& counts,
                                  const Poll& poll, std::uint64_t* left,
                                  std::vector<std::uint64_t>* ids) {
  for (const std::u16string& path : paths) {
    s::os::FileInfo info;
    if (ids != nullptr && s::os::fileSystem().stat(path, info)) ids->push_back(info.fileId);
  }
  const bool ran = runWorker(paths, counts, poll);
  std::uint64_t remaining = 0;
  for (const std::u16string& path : paths) {
    if (!removePlainly(path)) ++remaining;
  }
  if (left != nullptr) *left = remaining;
  if (remaining > 0) return Shortfall::LeftBehind;
  return ran ? Shortfall::None : Shortfall::WorkerRefused;
}

}  // namespace s::file::wiper::win
