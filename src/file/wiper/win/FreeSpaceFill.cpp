#include "file/wiper/win/FreeSpaceFill.h"

#include <algorithm>

#include "file/wiper/IMethod.h"
#include "file/wiper/win/EngineOperation.h"
#include "file/wiper/win/Method_Pseudorandom.h"
#include "file/wiper/win/TempFileWorker.h"
#include "os/FileSystem.h"

namespace s::file::wiper::win {

using s::os::fileSystem;
using Taken = LargeTempFiles::Taken;

Shortfall FreeSpaceFill::run(std::unique_ptr<LargeTempFiles>* keep) {
  freeBytes_ = 0;
  freeBytes_ = operation_.freeBytes();
  if (freeBytes_ == 0) return Shortfall::VolumeFull;
  auto files = std::make_unique<LargeTempFiles>(operation_, LargeTempFiles::Sizing::Fill);
  if (!files->open()) return Shortfall::CannotCreate;
  operation_.report().filesMade += 2;
  auto* buffer = static_cast<std::uint8_t*>(fileSystem().allocatePages(IMethod::kBufferSize));
  Shortfall result = buffer != nullptr ? fill(*files, buffer) : Shortfall::WriteFailed;
  files->closeAll();
  if (buffer != nullptr) fileSystem().freePages(buffer, IMethod::kBufferSize);
  if (keep != nullptr && result == Shortfall::None) {
    *keep = std::move(files);
    return result;
  }
  const Shortfall cleanup =
      TempFileWorker::destroy(files->paths(), TempFileWorker::Counts{}, nullptr,
                              &operation_.report().entriesLeft, &operation_.report().ownEntries);
  return result == Shortfall::None ? cleanup : result;
}

// Writes the unbuffered files, then (unless the volume is full already, or
// that failed or was cancelled) the write-through one.
Shortfall FreeSpaceFill::fill(LargeTempFiles& files, std::uint8_t* buffer) {
  Method_Pseudorandom* method = Method_Pseudorandom::create();
  if (method == nullptr) return Shortfall::WriteFailed;
  Taken taken = fillUnbuffered(files, *method, buffer);
  if (taken == Taken::All) {
    const std::uint64_t cap = operation_.maxFileSize();
    std::uint64_t size2 = 0;
    taken = files.setSize(
        LargeTempFiles::kSecond,
        [cap](std::uint64_t free) { return LargeTempFiles::secondSize(free, cap); }, size2);
    if (taken == Taken::All) {
      taken = writeFile(files, LargeTempFiles::kSecond, size2, *method, buffer, 1.0f);
    }
  }
  method->release();
  return LargeTempFiles::shortfallOf(taken);
}

// The first file, in whole steps of kStepSize; where the volume caps a
// file's size, further unbuffered files take what the cap kept out.
Taken FreeSpaceFill::fillUnbuffered(LargeTempFiles& files, IMethod& method, std::uint8_t* buffer) {
  const std::uint64_t cap = operation_.maxFileSize();
  const auto rule = [cap](std::uint64_t free) { return LargeTempFiles::firstSize(free, cap); };
  int which = LargeTempFiles::kFirst;
  while (true) {
    std::uint64_t size = 0;
    Taken taken = files.setSize(which, rule, size);
    if (taken != Taken::All || size == 0) return taken;
    const double share = static_cast<double>(size) / static_cast<double>(freeBytes_);
    const double to = std::min(1.0, operation_.progress() + share);
    taken = writeFile(files, which, size, method, buffer, static_cast<float>(to));
    files.close(which);
    // A cancel between two files leaves the free space half written.
    if (taken == Taken::All && operation_.cancelled()) return Taken::Cancelled;
    if (taken != Taken::All || size < LargeTempFiles::firstSize(cap, cap)) return taken;
    if (LargeTempFiles::firstSize(operation_.freeBytes(), cap) == 0) return taken;
    which = files.addUnbuffered();
    if (which < 0) return Taken::Failed;
    ++operation_.report().filesMade;
  }
}

// Writes pseudorandom data over [0, size) of file `which`, moving the
// progress from where it is to `progressTo`.
Taken FreeSpaceFill::writeFile(LargeTempFiles& files, int which, std::uint64_t size,
                               IMethod& method, std::uint8_t* buffer, float progressTo) {
  s::os::File& file = files.file(which);
  s::os::setLastFsError(s::os::FsError::None);
  const bool written =
      method.write(file, size, buffer, IMethod::kBufferSize, operation_.progress(), progressTo,
                   &operation_.progressValue(), &operation_.skipFlag(), 0);
  operation_.report().bytesWritten += file.position();
  return files.writeResult(written);
}

}  // namespace s::file::wiper::win
