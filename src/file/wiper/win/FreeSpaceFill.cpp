#include "file/wiper/win/FreeSpaceFill.h"

#include <algorithm>

#include "file/wiper/IMethod.h"
#include "file/wiper/win/EngineOperation.h"
#include "file/wiper/win/LargeTempFiles.h"
#include "file/wiper/win/Method_Pseudorandom.h"
#include "file/wiper/win/TempFileWorker.h"
#include "os/FileSystem.h"

namespace s::file::wiper::win {

using s::os::fileSystem;

bool FreeSpaceFill::run() {
  freeBytes_ = 0;
  freeBytes_ = operation_.freeBytes();
  if (freeBytes_ == 0) return true;
  LargeTempFiles files(operation_, LargeTempFiles::Sizing::Fill);
  if (!files.open()) return false;
  auto* buffer = static_cast<std::uint8_t*>(fileSystem().allocatePages(IMethod::kBufferSize));
  const bool result = buffer != nullptr && fill(files, buffer);
  files.close(LargeTempFiles::kFirst);
  files.close(LargeTempFiles::kSecond);
  if (buffer != nullptr) fileSystem().freePages(buffer, IMethod::kBufferSize);
  TempFileWorker::destroy({files.path(LargeTempFiles::kFirst), files.path(LargeTempFiles::kSecond)},
                          TempFileWorker::Counts{}, nullptr);
  return result;
}

// Sizes and writes the first file, then (unless that failed or the
// operation was cancelled) the second.
bool FreeSpaceFill::fill(LargeTempFiles& files, std::uint8_t* buffer) {
  Method_Pseudorandom* method = Method_Pseudorandom::create();
  if (method == nullptr) return false;
  std::uint64_t size1 = 0;
  bool result = files.setSize(LargeTempFiles::kFirst, &LargeTempFiles::firstSize, size1);
  if (result) {
    const double share =
        std::min(1.0, static_cast<double>(size1) / static_cast<double>(freeBytes_));
    result = method->write(files.file(LargeTempFiles::kFirst), size1, buffer, IMethod::kBufferSize,
                           0.0f, static_cast<float>(share), &operation_.progressValue(),
                           &operation_.skipFlag(), 0);
  }
  files.close(LargeTempFiles::kFirst);
  // A cancel between the two files leaves the free space half written: that
  // is not a complete run.
  if (result && operation_.cancelled()) result = false;
  if (result) {
    std::uint64_t size2 = 0;
    result = files.setSize(LargeTempFiles::kSecond, &LargeTempFiles::secondSize, size2) &&
             method->write(files.file(LargeTempFiles::kSecond), size2, buffer, IMethod::kBufferSize,
                           operation_.progress(), 1.0f, &operation_.progressValue(),
                           &operation_.skipFlag(), 0);
  }
  method->release();
  return result;
}

}  // namespace s::file::wiper::win
