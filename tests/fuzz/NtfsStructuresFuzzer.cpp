// libFuzzer target: the trace audit's parsers of FILE records and INDX
// blocks on arbitrary bytes, as read from a crafted volume. Each input is
// cut to whole 512-byte strides and held in a buffer of exactly that size,
// so any read past the end is a heap overflow. The parsers run on the raw
// bytes (reaching every walk without a valid update sequence) and again
// after the update sequence, where it applies.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "file/wiper/ntfs/FileRecord.h"
#include "file/wiper/ntfs/IndexBlock.h"
#include "file/wiper/ntfs/RunList.h"

namespace {

using s::file::wiper::ntfs::Attribute;
using s::file::wiper::ntfs::ByteSpan;
using s::file::wiper::ntfs::FileRecord;
using s::file::wiper::ntfs::IndexBlock;
using s::file::wiper::ntfs::RunList;

std::size_t sink = 0;

void asRecord(const std::uint8_t* bytes, std::size_t size) {
  const FileRecord record(ByteSpan(bytes, size));
  sink += record.names().size() + (record.holdsResidentData() ? 1 : 0);
  std::vector<RunList::Extent> extents;
  for (const Attribute& a : record.attributes()) {
    if (a.nonResident && RunList::decode(a.runs, 1ull << 40, extents)) sink += extents.size();
  }
  sink += record.find(Attribute::kIndexRoot, u"$I30") != nullptr ? 1 : 0;
}

void asIndexBlock(const std::uint8_t* bytes, std::size_t size) {
  const IndexBlock block(ByteSpan(bytes, size));
  sink += block.liveNames().size() + block.slackNames().size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t whole = size / 512 * 512;
  if (size == 0) return 0;
  // The raw bytes, whatever their length.
  auto raw = std::make_unique<std::uint8_t[]>(size);
  std::memcpy(raw.get(), data, size);
  asRecord(raw.get(), size);
  asIndexBlock(raw.get(), size);
  if (whole == 0) return 0;
  auto record = std::make_unique<std::uint8_t[]>(whole);
  std::memcpy(record.get(), data, whole);
  if (FileRecord::fixUp(record.get(), whole)) asRecord(record.get(), whole);
  auto block = std::make_unique<std::uint8_t[]>(whole);
  std::memcpy(block.get(), data, whole);
  if (IndexBlock::fixUp(block.get(), whole)) asIndexBlock(block.get(), whole);
  return 0;
}
