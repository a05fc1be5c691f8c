#pragma once

#include <functional>

#include "file/wiper/Shortfall.h"

namespace s::file::wiper {
class IWiper;
}

namespace s::file::wiper::win {

class EngineOperation;

// The CluterTips operation, engine side: hands the top of the drive to a
// temporary-file worker in cluster-tip mode, copies its progress and current
// file into the engine while it runs, and stops it when the operation's
// skip flag is set. Engine's thread only.
class CluterTipsWipe {
 public:
  // Copies the worker's current file into the engine (under the engine's
  // lock; the worker's lock is taken inside, never the other way round).
  using CopyCurrentFile = std::function<void(s::file::wiper::IWiper& worker)>;

  CluterTipsWipe(EngineOperation& operation, CopyCurrentFile copyCurrentFile)
      : operation_(operation), copyCurrentFile_(std::move(copyCurrentFile)) {}

  // None when the walk over the drive ran to its end; Cancelled when the
  // skip flag stopped it; WorkerRefused when the worker could not be made
  // to run; NoTipJournal when the tip journal cannot be written (no file is
  // then touched). Never deletes, renames or shortens a file.
  Shortfall run();

 private:
  EngineOperation& operation_;
  CopyCurrentFile copyCurrentFile_;
};

}  // namespace s::file::wiper::win
