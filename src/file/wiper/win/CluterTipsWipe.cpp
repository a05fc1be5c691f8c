#include "file/wiper/win/CluterTipsWipe.h"

#include "col/_array/ArrayP.h"
#include "file/win/PathWin.h"
#include "file/wiper/win/EngineOperation.h"
#include "file/wiper/win/Method_Pseudorandom.h"
#include "file/wiper/win/TempFileWorker.h"
#include "file/wiper/win/Wiper.h"
#include "os/System.h"
#include "os/TipJournal.h"

namespace s::file::wiper::win {

using s::file::wiper::OperationReport;

using s::col::_array::ArrayP;
using s::file::win::PathWin;

namespace {

// Hands every path of `list` to the worker and gives the list back.
void addAll(Wiper& worker, ArrayP* list) {
  for (std::uint32_t i = 0; i < list->length(); ++i) {
    worker.addPath(static_cast<PathWin*>(list->get(i))->getPath());
  }
  list->release();
}

}  // namespace

Shortfall CluterTipsWipe::run() {
  // Without its journal no file may be extended: nothing could be done, and
  // the operation must not pass for complete.
  if (!s::os::tipJournal().usable()) return Shortfall::NoTipJournal;
  Wiper* worker = Wiper::create();
  if (worker == nullptr) return Shortfall::WorkerRefused;
  worker->init();
  worker->setMethod(Method_Pseudorandom::create());
  worker->setCluterTipMode(true);

  // The top of the drive: the root's own streams, its files, its folders
  // (hidden and system entries included, links and special files never).
  PathWin* root = PathWin::fromText(operation_.root().c_str());
  addAll(*worker, root->listStreams(nullptr));
  addAll(*worker, root->listFiles(true, false, nullptr));
  addAll(*worker, root->listFolders(true, false, nullptr));
  root->release();

  const bool started = worker->start();
  bool stopped = false;
  while (worker->isRunning()) {
    s::os::system().sleepMillis(TempFileWorker::kPollMillis);
    operation_.setProgress(static_cast<float>(worker->getProgress()) / 100.0f);
    copyCurrentFile_(*worker);
    if (operation_.cancelled() && !stopped) {
      worker->stop(true);
      stopped = true;
    }
  }
  const Wiper::TipTally tally = worker->tipTally();
  worker->release();
  OperationReport& report = operation_.report();
  report.tipsWritten = tally.written;
  report.filesInUse = tally.inUse;
  report.filesNotOpened = tally.notOpened + tally.failed;
  report.filesLeftAlone = tally.leftAlone + tally.inUse + report.filesNotOpened;
  if (!started) return Shortfall::WorkerRefused;
  return operation_.cancelled() ? Shortfall::Cancelled : Shortfall::None;
}

}  // namespace s::file::wiper::win
