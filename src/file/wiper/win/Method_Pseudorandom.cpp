#include "file/wiper/win/Method_Pseudorandom.h"

#include <algorithm>

#include "file/wiper/Random.h"
#include "os/File.h"

namespace s::file::wiper::win {

namespace {

bool stopped(const std::atomic<std::uint8_t>* stopFlag) {
  return stopFlag != nullptr && stopFlag->load(std::memory_order_relaxed) != 0;
}

// Writes all `count` bytes of `data` and pushes them to the device.
bool writeChunk(s::os::File& file, const std::uint8_t* data, std::uint64_t count) {
  std::size_t done = 0;
  return file.write(data, static_cast<std::size_t>(count), done) && done == count && file.flush();
}

}  // namespace

bool Method_Pseudorandom::write(s::os::File& file, std::uint64_t end, std::uint8_t* buffer,
                                std::int32_t bufferSize, float progressFrom, float progressTo,
                                std::atomic<float>* progress,
                                const std::atomic<std::uint8_t>* stopFlag, std::uint64_t start) {
  const std::uint64_t span = end > start ? end - start : 0;
  if (span == 0) return true;
  if (buffer == nullptr || bufferSize <= 0 || !file.seek(start)) return false;

  std::uint64_t remaining = span;
  std::uint64_t done = 0;
  std::uint64_t chunk = std::min<std::uint64_t>(static_cast<std::uint64_t>(bufferSize), remaining);
  while (remaining > 0 && !stopped(stopFlag)) {
    Random::fillRandom(static_cast<std::uint32_t>(chunk), buffer);
    if (stopped(stopFlag) || !writeChunk(file, buffer, chunk)) break;
    remaining -= chunk;
    done += chunk;
    if (progress != nullptr) {
      const double reached = progressFrom + static_cast<double>(done) / static_cast<double>(span) *
                                                (static_cast<double>(progressTo) - progressFrom);
      progress->store(static_cast<float>(std::min(reached, static_cast<double>(progressTo))),
                      std::memory_order_relaxed);
    }
    chunk = std::min(chunk, remaining);
  }
  return remaining == 0;
}

}  // namespace s::file::wiper::win
