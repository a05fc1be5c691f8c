#pragma once

#include <cstdint>
#include <memory>

#include "file/wiper/Shortfall.h"
#include "file/wiper/win/LargeTempFiles.h"

namespace s::file::wiper {
class IMethod;
}

namespace s::file::wiper::win {

class EngineOperation;

// The DiskSpace operation: takes up the drive's whole free space with the
// large temporary files (LargeTempFiles), overwrites them with pseudorandom
// data, and has them destroyed by a temporary-file worker - or hands them,
// still holding the free space, to the MFT operation that follows in the
// same run. Live files are never touched. Engine's thread only.
class FreeSpaceFill {
 public:
  // `freeBytes` is the engine's record of the drive's free bytes, read at
  // the start of the operation.
  FreeSpaceFill(EngineOperation& operation, std::uint64_t& freeBytes)
      : operation_(operation), freeBytes_(freeBytes) {}

  // Returns None when the whole free space was written: every file written
  // to its size, or until the volume was full (another program writing
  // meanwhile, or a last cluster the volume cannot hand out, only makes it
  // full sooner). Otherwise: VolumeFull when there was no free space at
  // the start (no file is made), CannotCreate when a file could not be
  // made, WriteFailed when a file could not be sized or written for another
  // reason or no fill buffer could be had, Cancelled when the operation's
  // skip flag was set (the running write stops at its next chunk and no
  // further file is sized or written). With `keep` not null and the work
  // done, the files are closed and moved into `*keep`; in every other case
  // every file made is destroyed before it returns (a shortfall in that is
  // reported when the fill itself did its work). The progress runs from
  // 0.0 to 1.0 over the bytes written and keeps the fraction reached.
  Shortfall run(std::unique_ptr<LargeTempFiles>* keep = nullptr);

 private:
  Shortfall fill(LargeTempFiles& files, std::uint8_t* buffer);
  LargeTempFiles::Taken fillUnbuffered(LargeTempFiles& files, s::file::wiper::IMethod& method,
                                       std::uint8_t* buffer);
  LargeTempFiles::Taken writeFile(LargeTempFiles& files, int which, std::uint64_t size,
                                  s::file::wiper::IMethod& method, std::uint8_t* buffer,
                                  float progressTo);

  EngineOperation& operation_;
  std::uint64_t& freeBytes_;
};

}  // namespace s::file::wiper::win
