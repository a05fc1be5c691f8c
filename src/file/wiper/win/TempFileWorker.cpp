#include "file/wiper/win/TempFileWorker.h"

#include "file/wiper/win/Method_None.h"
#include "file/wiper/win/Wiper.h"
#include "os/System.h"

namespace s::file::wiper::win {

void TempFileWorker::destroy(const std::vector<std::u16string>& paths, const Counts& counts,
                             const Poll& poll) {
  Wiper* worker = Wiper::create();
  if (worker == nullptr) return;
  worker->init();
  worker->setMethod(Method_None::create());
  worker->setTruncateCount(counts.truncate);
  worker->setRenameCount(counts.rename);
  worker->setAttributeCount(counts.attribute);
  worker->setTimeCount(counts.time);
  for (const std::u16string& path : paths) worker->addPath(path.c_str());
  worker->start();
  while (worker->isRunning()) {
    s::os::system().sleepMillis(kPollMillis);
    if (poll && !poll(worker->getProgress())) {
      worker->stop(true);
      break;
    }
  }
  worker->release();
}

}  // namespace s::file::wiper::win
