#include "os/windows/WinTipJournal.h"

#include "os/FileAttributes.h"
#include "os/FileSystem.h"

namespace s::os::win_fs {

namespace {

enum Field {
  kDevice,
  kFileId,
  kLength,
  kExtendedTo,
  kCreation,
  kAccess,
  kWrite,
  kAttributes,
  kSeed,
  kPath,
  kFieldCount
};

}  // namespace

WinTipJournal::WinTipJournal() : journal_(WinJournal::defaultPath(u"tip-journal")) {}

WinJournal::Row WinTipJournal::rowOf(const TipRecord& r) {
  return {WinJournal::number(r.device),
          WinJournal::number(r.fileId),
          WinJournal::number(r.length),
          WinJournal::number(r.extendedTo),
          WinJournal::number(r.times.creation),
          WinJournal::number(r.times.lastAccess),
          WinJournal::number(r.times.lastWrite),
          WinJournal::number(r.attributes),
          WinJournal::number(r.seed),
          r.path};
}

bool WinTipJournal::recordOf(const WinJournal::Row& row, TipRecord& out) {
  if (row.size() != kFieldCount) return false;
  std::uint64_t attributes = 0;
  out.path = row[kPath];
  const bool parsed = WinJournal::parseNumber(row[kDevice], out.device) &&
                      WinJournal::parseNumber(row[kFileId], out.fileId) &&
                      WinJournal::parseNumber(row[kLength], out.length) &&
                      WinJournal::parseNumber(row[kExtendedTo], out.extendedTo) &&
                      WinJournal::parseNumber(row[kCreation], out.times.creation) &&
                      WinJournal::parseNumber(row[kAccess], out.times.lastAccess) &&
                      WinJournal::parseNumber(row[kWrite], out.times.lastWrite) &&
                      WinJournal::parseNumber(row[kAttributes], attributes) &&
                      WinJournal::parseNumber(row[kSeed], out.seed);
  out.attributes = static_cast<std::uint32_t>(attributes);
  return parsed;
}

bool WinTipJournal::usable() {
  if (journal_.path().empty() || !journal_.makeFolder()) return false;
  WinJournal::Lock lock(journal_.path());
  return lock.held();
}

bool WinTipJournal::record(const TipRecord& record) {
  return journal_.append(rowOf(record));
}

bool WinTipJournal::forget(const TipRecord& record) {
  return journal_.keepOnly([&record](const WinJournal::Row& row, const WinJournal::Writer&) {
    TipRecord listed;
    return !recordOf(row, listed) || listed.path != record.path || listed.fileId != record.fileId;
  });
}

std::size_t WinTipJournal::replay(std::vector<std::u16string>& leftAlone) {
  std::size_t repaired = 0;
  journal_.keepOnly([&](const WinJournal::Row& row, const WinJournal::Writer& writer) {
    if (writer.alive()) return true;
    TipRecord record;
    const Outcome outcome = recordOf(row, record) ? repair(record) : Outcome::Untouched;
    if (outcome == Outcome::Repaired) ++repaired;
    if (outcome == Outcome::LeftAlone) leftAlone.push_back(record.path);
    return outcome == Outcome::Failed;
  });
  return repaired;
}

// Repairs only a file in a state the tip write leaves: grown by nothing but
// the recorded tip bytes with its own attributes, or of the recorded length
// and write time with the while-writing attributes. Anything else was
// changed by someone since and is left alone.
WinTipJournal::Outcome WinTipJournal::repair(const TipRecord& record) {
  FileSystem& files = platformFileSystem();
  FileInfo info;
  if (!files.stat(record.path, info)) {
    return files.exists(record.path) ? Outcome::Failed : Outcome::Untouched;
  }
  if (info.kind != EntryKind::File || info.device != record.device ||
      info.fileId != record.fileId) {
    return Outcome::Untouched;
  }
  const std::uint32_t attributes = files.getAttributes(record.path) & ~FileAttributes::kArchive;
  const bool recordedAttributes = attributes == (record.attributes & ~FileAttributes::kArchive);
  const bool ownAttributes = recordedAttributes || attributes == kWhileWriting;
  const bool sameWrite = info.times.lastWrite == record.times.lastWrite;
  if (info.size == record.length && sameWrite && recordedAttributes) return Outcome::Untouched;
  if (!ownAttributes || info.size < record.length || info.size > record.extendedTo ||
      (info.size == record.length && !sameWrite)) {
    return Outcome::LeftAlone;
  }
  // A read-only file cannot be opened for writing: the bit comes back with
  // the recorded attributes.
  files.setAttributes(record.path, FileAttributes::kNormal);
  auto file = files.openFile(record.path, OpenMode::make(OpenMode::Access::ReadWrite,
                                                         OpenMode::Disposition::OpenExisting));
  if (file != nullptr && info.size > record.length && !holdsTipPattern(*file, record, info.size)) {
    file->close();
    files.setAttributes(record.path, attributes);
    return Outcome::LeftAlone;
  }
  const bool cut = file != nullptr && file->setEndOfFile(record.length) &&
                   file->setTimes(record.times) && file->close();
  const bool restored = files.setAttributes(record.path, record.attributes);
  return cut && restored ? Outcome::Repaired : Outcome::Failed;
}

// Whether the bytes past the recorded length are the tip bytes of the
// record's seed (the tip write's and nobody else's).
bool WinTipJournal::holdsTipPattern(File& file, const TipRecord& record, std::uint64_t size) {
  if (record.seed == 0) return false;
  const auto count = static_cast<std::size_t>(size - record.length);
  std::vector<std::uint8_t> expected(count);
  std::vector<std::uint8_t> found(count);
  tipPattern(record.seed, expected.data(), count);
  std::size_t done = 0;
  std::size_t total = 0;
  if (!file.seek(record.length)) return false;
  while (total < count && file.read(found.data() + total, count - total, done)) total += done;
  return total == count && found == expected;
}

}  // namespace s::os::win_fs

namespace s::os {

TipJournal& platformTipJournal() {
  static win_fs::WinTipJournal* const instance = new win_fs::WinTipJournal();
  return *instance;
}

}  // namespace s::os
