#include "file/wiper/ntfs/TraceAudit.h"

#include <algorithm>
#include <cstring>

#include "file/wiper/ntfs/IndexBlock.h"
#include "file/wiper/ntfs/SlackFill.h"
#include "os/FileSystem.h"

namespace s::file::wiper::ntfs {

namespace {

constexpr std::uint64_t kVolumeBitmapRecord = 6;
constexpr std::size_t kRecordsPerRead = 64;
constexpr std::size_t kChunkBytes = 1 << 20;
// Index-block bitmaps and the volume bitmap of a 256 TiB volume of 4 KiB
// clusters stay below these.
constexpr std::size_t kFolderBitmapLimit = 1 << 20;
constexpr std::size_t kVolumeBitmapLimit = std::size_t{1} << 33;
constexpr std::size_t kSignatureStep = 4096;
// The names the wipe engine gives its temporary files and folders begin so.
constexpr std::u16string_view kOwnPrefix = u"Vonq_Nulmark";
constexpr std::uint16_t kHasSubNodes = 1;
constexpr std::uint64_t kRecordBits =
    FileName::kRecordBits;  // index header flag: entries point to parts below

bool isPowerOfTwo(std::uint64_t v) {
  return v != 0 && (v & (v - 1)) == 0;
}

// The record's name to show: its long name when it has one.
const FileName* shownName(const std::vector<FileName>& names) {
  for (const FileName& n : names) {
    if (n.nameSpace != FileName::kDosNamespace) return &n;
  }
  return names.empty() ? nullptr : &names.front();
}

TraceReport::Status failureStatus() {
  const s::os::FsError error = s::os::lastFsError();
  if (error == s::os::FsError::NotSupported) return TraceReport::Status::NotNtfs;
  if (error == s::os::FsError::Io) return TraceReport::Status::Damaged;
  return TraceReport::Status::Unreadable;
}

}  // namespace

TraceReport TraceAudit::run(std::u16string_view root) {
  TraceReport report;
  if (folders_ != nullptr) folders_->clear();
  s::os::FileSystem& fs = s::os::fileSystem();
  report.flushed = fs.flushVolume(root);
  s::os::NtfsVolumeData volume;
  std::unique_ptr<s::os::File> source;
  if (!fs.ntfsVolumeData(root, volume) || (source = fs.openVolumeSource(root)) == nullptr) {
    report.status = failureStatus();
    return report;
  }
  if (volume.bytesPerCluster == 0 || !isPowerOfTwo(volume.bytesPerMftRecord) ||
      volume.bytesPerMftRecord < 512) {
    report.status = TraceReport::Status::Damaged;
    return report;
  }
  VolumeReader reader(*source, volume.bytesPerCluster,
                      volume.totalSectors * volume.bytesPerSector / volume.bytesPerCluster);
  reader_ = &reader;
  readVolume(volume, report);
  reader_ = nullptr;
  return report;
}

void TraceAudit::readVolume(const s::os::NtfsVolumeData& volume, TraceReport& report) {
  recordSize_ = volume.bytesPerMftRecord;
  // Record 0 is found where the boot sector puts the MFT; it tells where
  // the rest of the MFT lies.
  mft_ = {RunList::Extent{volume.mftStartLcn,
                          (recordSize_ + volume.bytesPerCluster - 1) / volume.bytesPerCluster,
                          false}};
  std::vector<std::uint8_t> first(recordSize_);
  if (!readRecord(0, first) || !FileRecord::fixUp(first.data(), first.size()) ||
      !dataOf(FileRecord(ByteSpan(first.data(), first.size())), mft_, mftBytes_)) {
    report.status = TraceReport::Status::Damaged;
    return;
  }
  report.status = TraceReport::Status::Done;
  walkMft(report);
  if (readFreeClusters_) scanFreeClusters(report);
  if (stopped()) report.status = TraceReport::Status::Cancelled;
}

bool TraceAudit::dataOf(const FileRecord& record, std::vector<RunList::Extent>& extents,
                        std::uint64_t& size) const {
  const Attribute* data = record.find(Attribute::kData, u"");
  if (data == nullptr || !data->nonResident || data->startVcn != 0 ||
      !RunList::decode(data->runs, reader_->clusterCount(), extents)) {
    return false;
  }
  size = std::min(data->initialisedSize, data->dataSize);
  return true;
}

bool TraceAudit::valueOf(const Attribute& attribute, std::size_t limit,
                         std::vector<std::uint8_t>& out) {
  if (!attribute.nonResident) {
    if (attribute.value.size() > limit) return false;
    out.assign(attribute.value.data(), attribute.value.data() + attribute.value.size());
    return true;
  }
  std::vector<RunList::Extent> extents;
  const std::uint64_t size = std::min(attribute.initialisedSize, attribute.dataSize);
  if (attribute.startVcn != 0 || size > limit ||
      !RunList::decode(attribute.runs, reader_->clusterCount(), extents)) {
    return false;
  }
  out.assign(static_cast<std::size_t>(size), 0);
  return reader_->read(extents, 0, out.data(), out.size());
}

bool TraceAudit::readRecord(std::uint64_t number, std::vector<std::uint8_t>& bytes) {
  return reader_->read(mft_, number * recordSize_, bytes.data(), bytes.size());
}

void TraceAudit::walkMft(TraceReport& report) {
  const std::uint64_t records = mftBytes_ / recordSize_;
  std::vector<std::uint8_t> chunk(kRecordsPerRead * recordSize_);
  for (std::uint64_t first = 0; first < records && !stopped(); first += kRecordsPerRead) {
    const std::uint64_t count = std::min<std::uint64_t>(kRecordsPerRead, records - first);
    if (!reader_->read(mft_, first * recordSize_, chunk.data(), count * recordSize_)) {
      report.status = TraceReport::Status::Damaged;
      return;
    }
    for (std::uint64_t i = 0; i < count; ++i) {
      lookAtRecord(first + i, chunk.data() + i * recordSize_, report);
    }
  }
  countFreeRecords(report);
}

void TraceAudit::lookAtRecord(std::uint64_t number, std::uint8_t* bytes, TraceReport& report) {
  if (!FileRecord::fixUp(bytes, recordSize_)) return;
  ++report.recordsRead;
  const FileRecord record(ByteSpan(bytes, recordSize_));
  const std::vector<FileName> names = record.names();
  const FileName* shown = shownName(names);
  // An entry the run removed is known by number (a folder's record loses
  // its name when it is freed, and the engine renames what it removes);
  // renamed, an entry of the engine's may also still hold its first name in
  // the bytes after its used part.
  const bool removedByRun = !record.inUse() && engineEntries_.count(number) != 0;
  if (removedByRun || std::any_of(names.begin(), names.end(),
                                  [](const FileName& n) { return isOwnName(n.name); })) {
    ownRecords_[number] = record.sequence();
  }
  if (!record.inUse()) {
    if (!removedByRun) lookAtFreeRecord(shown, record.holdsResidentData(), report);
  } else if (record.isDirectory() && !record.isExtension()) {
    lookAtFolder(number, record, report);
  }
}

bool TraceAudit::isOwnName(const std::u16string& name) {
  // The index pass's own files leave their names in the records they took.
  return name.rfind(kOwnPrefix, 0) == 0 || name.find(SlackFill::kMarker) != std::u16string::npos;
}

void TraceAudit::lookAtFreeRecord(const FileName* shown, bool data, TraceReport& report) {
  if (shown == nullptr) {
    if (data) ++report.freeRecordsWithData;
  } else if (!isOwnName(shown->name)) {
    // Whether it was in one of the engine's folders is known once every
    // record was seen.
    freeNamed_.push_back(FreeRecord{shown->parent, shown->name, data});
  }
}

void TraceAudit::ignoreEntries(const std::vector<std::uint64_t>& fileIds) {
  for (const std::uint64_t id : fileIds) engineEntries_.insert(id & kRecordBits);
}

void TraceAudit::countFreeRecords(TraceReport& report) {
  for (const FreeRecord& free : freeNamed_) {
    // The folder's record still carries the sequence number the entry
    // names, or the next one (a record's number moves on once when it is
    // freed): it is the same folder, not a later one in its place.
    const auto folder = ownRecords_.find(free.parent & kRecordBits);
    const auto sequence = static_cast<std::uint16_t>(free.parent >> 48);
    const auto freed = static_cast<std::uint16_t>(sequence + 1 == 0x10000 ? 1 : sequence + 1);
    if (folder != ownRecords_.end() && (folder->second == sequence || folder->second == freed)) {
      continue;
    }
    ++report.freeRecordsWithName;
    keep(report.freeRecordNameList, free.name);
    if (free.data) ++report.freeRecordsWithData;
  }
  freeNamed_.clear();
  ownRecords_.clear();
}

void TraceAudit::lookAtFolder(std::uint64_t number, const FileRecord& record, TraceReport& report) {
  const Attribute* root = record.find(Attribute::kIndexRoot, u"$I30");
  const Attribute* blocks = record.find(Attribute::kIndexAllocation, u"$I30");
  // A large folder whose attributes spill into other records is not
  // followed past its root.
  const bool spilt = blocks == nullptr && record.find(Attribute::kAttributeList, u"") != nullptr;
  if (root == nullptr) {
    ++report.foldersNotRead;
    return;
  }
  FolderNames names;
  // The root's entries, and what shrinking it left in the record.
  SlackPart part;
  part.inRecord = true;
  part.leaf = (root->value.u16(0x10 + 12) & kHasSubNodes) == 0;
  part.room = static_cast<std::uint32_t>(record.roomLeft());
  names.addPart(std::move(part), IndexBlock::entryNames(entriesOfRoot(*root)),
                IndexBlock::leftOver(record.leftOverBytes()));
  // The record's own names may stand there too: they are the folder's.
  for (const FileName& n : record.names()) names.live.insert(n.name);
  const bool whole =
      !spilt && (blocks == nullptr || readBlocks(record, *root, *blocks, names, report));
  ++(whole ? report.foldersRead : report.foldersNotRead);
  countOldNames(names, report);
  if (folders_ != nullptr) listFolder(number, names);
}

void TraceAudit::FolderNames::addPart(SlackPart part, const std::vector<FileName>& liveNames,
                                      std::vector<IndexBlock::LeftOver> slackNames) {
  for (const FileName& n : liveNames) {
    live.insert(n.name);
    part.live.push_back(n.name);
  }
  for (const IndexBlock::LeftOver& found : slackNames) slack.insert(found.name.name);
  parts.emplace_back(std::move(part), std::move(slackNames));
}

ByteSpan TraceAudit::entriesOfRoot(const Attribute& root) {
  // The index header follows the root's 16-byte head; its offsets count
  // from the header.
  constexpr std::size_t kHeader = 0x10;
  const std::size_t first = root.value.u32(kHeader);
  const std::size_t used = root.value.u32(kHeader + 4);
  if (first > used || !root.value.holds(kHeader + first, used - first)) return ByteSpan();
  return root.value.part(kHeader + first, used - first);
}

bool TraceAudit::readBlocks(const FileRecord& record, const Attribute& root,
                            const Attribute& blocks, FolderNames& names, TraceReport& report) {
  const Attribute* bitmap = record.find(Attribute::kBitmap, u"$I30");
  const std::uint32_t blockSize = root.value.u32(8);
  std::vector<RunList::Extent> extents;
  std::vector<std::uint8_t> bits;
  if (!isPowerOfTwo(blockSize) || blockSize < 512 || blockSize > 65536 || bitmap == nullptr ||
      !blocks.nonResident || blocks.startVcn != 0 ||
      !RunList::decode(blocks.runs, reader_->clusterCount(), extents) ||
      !valueOf(*bitmap, kFolderBitmapLimit, bits)) {
    return false;
  }
  indexBlockSize_ = blockSize;
  std::vector<std::uint8_t> block(blockSize);
  const std::uint64_t count =
      std::min<std::uint64_t>(blocks.dataSize / blockSize, bits.size() * 8ull);
  for (std::uint64_t k = 0; k < count; ++k) {
    if (((bits[k / 8] >> (k % 8)) & 1) == 0 ||
        !reader_->read(extents, k * blockSize, block.data(), blockSize) ||
        !IndexBlock::fixUp(block.data(), blockSize)) {
      continue;
    }
    ++report.indexBlocksRead;
    const IndexBlock index(ByteSpan(block.data(), blockSize));
    SlackPart part;
    part.leaf = !index.hasSubNodes();
    part.room = index.room();
    names.addPart(std::move(part), index.liveNames(), index.slack());
  }
  return true;
}

void TraceAudit::countOldNames(const FolderNames& names, TraceReport& report) const {
  for (const std::u16string& name : names.slack) {
    if (isOldName(name, names)) {
      ++report.slackNames;
      keep(report.slackNameList, name);
    } else if (names.live.count(name) == 0) {
      ++report.ownSlackNames;
    }
  }
}

bool TraceAudit::isOldName(const std::u16string& name, const FolderNames& names) {
  // Copies of live entries (moved within the folder) are no traces.
  return names.live.count(name) == 0 && name.rfind(kOwnPrefix, 0) != 0 &&
         !SlackFill::isFillName(name, names.live);
}

void TraceAudit::listFolder(std::uint64_t record, FolderNames& names) const {
  std::vector<std::u16string> order(names.live.begin(), names.live.end());
  std::sort(order.begin(), order.end(), SlackFill::before);
  FolderSlack folder;
  folder.record = record;
  for (auto& [part, slack] : names.parts) {
    std::size_t reach = 0;
    for (const IndexBlock::LeftOver& found : slack) {
      if (isOldName(found.name.name, names)) reach = std::max(reach, found.end);
    }
    if (reach == 0) continue;
    part.reach = static_cast<std::uint32_t>(reach);
    if (!part.live.empty()) {
      const auto after =
          std::upper_bound(order.begin(), order.end(), part.live.back(), SlackFill::before);
      if (after != order.end()) part.next = *after;
    }
    folder.parts.push_back(std::move(part));
  }
  if (!folder.parts.empty()) folders_->push_back(std::move(folder));
}

bool TraceAudit::readVolumeBitmap(std::vector<std::uint8_t>& bits) {
  std::vector<std::uint8_t> record(recordSize_);
  std::vector<RunList::Extent> extents;
  std::uint64_t size = 0;
  if (!readRecord(kVolumeBitmapRecord, record) ||
      !FileRecord::fixUp(record.data(), record.size()) ||
      !dataOf(FileRecord(ByteSpan(record.data(), record.size())), extents, size) ||
      size > kVolumeBitmapLimit || size * 8 < reader_->clusterCount()) {
    return false;
  }
  bits.assign(static_cast<std::size_t>(size), 0);
  return reader_->read(extents, 0, bits.data(), bits.size());
}

void TraceAudit::scanFreeClusters(TraceReport& report) {
  std::vector<std::uint8_t> bits;
  if (stopped() || !readVolumeBitmap(bits)) {
    report.status = TraceReport::Status::Damaged;
    return;
  }
  const std::uint64_t clusters = reader_->clusterCount();
  const std::uint32_t clusterSize = reader_->clusterSize();
  const std::uint64_t perChunk = std::max<std::uint64_t>(1, kChunkBytes / clusterSize);
  std::vector<std::uint8_t> chunk(static_cast<std::size_t>(perChunk * clusterSize));
  const auto isFree = [&bits](std::uint64_t c) { return ((bits[c / 8] >> (c % 8)) & 1) == 0; };
  for (std::uint64_t c = 0; c < clusters && !stopped();) {
    // The next run of free clusters, at most a chunk of them.
    std::uint64_t n = 0;
    while (n < perChunk && c + n < clusters && isFree(c + n)) ++n;
    const std::size_t bytes = static_cast<std::size_t>(n * clusterSize);
    if (n > 0 && reader_->read(c * clusterSize, chunk.data(), bytes)) {
      report.freeClustersRead += n;
      lookAtFreeChunk(chunk.data(), bytes, report);
    }
    c += std::max<std::uint64_t>(n, 1);
  }
}

void TraceAudit::lookAtFreeChunk(const std::uint8_t* chunk, std::size_t size, TraceReport& report) {
  const std::size_t step = std::min<std::size_t>(reader_->clusterSize(), kSignatureStep);
  std::vector<std::uint8_t> block(indexBlockSize_);
  for (std::size_t at = 0; at + 4 <= size; at += step) {
    if (std::memcmp(chunk + at, "INDX", 4) != 0) continue;
    ++report.freeIndexBlocks;
    if (at + block.size() > size) continue;
    std::memcpy(block.data(), chunk + at, block.size());
    if (!IndexBlock::fixUp(block.data(), block.size())) continue;
    const IndexBlock index(ByteSpan(block.data(), block.size()));
    for (const auto& names : {index.liveNames(), index.slackNames()}) {
      for (const FileName& n : names) {
        ++report.freeIndexBlockNames;
        keep(report.freeIndexBlockNameList, n.name);
      }
    }
  }
}

void TraceAudit::keep(std::vector<std::u16string>& list, const std::u16string& name) const {
  if (list.size() < namesKept_) list.push_back(name);
}

}  // namespace s::file::wiper::ntfs
