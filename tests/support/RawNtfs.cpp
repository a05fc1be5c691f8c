#include "support/RawNtfs.h"

#include <cstdint>

#include "os/NtfsReader.h"
#include "os/NtfsVolumeData.h"

namespace vonq::test {

using s::os::NtfsReader;

std::string utf16le(const std::string& ascii) {
  std::string out;
  for (char c : ascii) out += std::string{c, '\0'};
  return out;
}

std::string mftOf(const std::string& image) {
  s::os::NtfsVolumeData data;
  if (image.size() < 512 ||
      !NtfsReader::parseBootSector(reinterpret_cast<const std::uint8_t*>(image.data()), data)) {
    return {};
  }
  const std::uint64_t start = data.mftStartLcn * data.bytesPerCluster;
  if (start + data.bytesPerMftRecord > image.size()) return {};
  std::string record = image.substr(start, data.bytesPerMftRecord);
  auto* bytes = reinterpret_cast<std::uint8_t*>(record.data());
  if (!NtfsReader::applyFixups(bytes, record.size()) ||
      !NtfsReader::readDataSizes(bytes, record.size(), data)) {
    return {};
  }
  return image.substr(start, data.mftAllocatedLength);
}

}  // namespace vonq::test
