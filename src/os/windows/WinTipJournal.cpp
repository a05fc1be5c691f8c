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
                      WinJournal::parseNumber(row[kAttributes], attributes);
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

std::size_t WinTipJournal::replay() {
  std::size_t repaired = 0;
  journal_.keepOnly([&repaired](const WinJournal::Row& row, const WinJournal::Writer& writer) {
    if (writer.alive()) return true;
    TipRecord record;
    const Outcome outcome = recordOf(row, record) ? repair(record) : Outcome::Untouched;
    if (outcome == Outcome::Repaired) ++repaired;
    return outcome == Outcome::Failed;
  });
  return repaired;
}

WinTipJournal::Outcome WinTipJournal::repair(const TipRecord& record) {
  FileSystem& files = platformFileSystem();
  FileInfo info;
  if (!files.stat(record.path, info)) {
    return files.exists(record.path) ? Outcome::Failed : Outcome::Untouched;
  }
  if (info.kind != EntryKind::File || info.device != record.device ||
      info.fileId != record.fileId || info.size < record.length || info.size > record.extendedTo) {
    return Outcome::Untouched;
  }
  // A read-only file cannot be opened for writing: the bit comes back with
  // the recorded attributes.
  files.setAttributes(record.path, FileAttributes::kNormal);
  auto file = files.openFile(record.path, OpenMode::make(OpenMode::Access::ReadWrite,
                                                         OpenMode::Disposition::OpenExisting));
  const bool cut = file != nullptr && file->setEndOfFile(record.length) &&
                   file->setTimes(record.times) && file->close();
  const bool restored = files.setAttributes(record.path, record.attributes);
  return cut && restored ? Outcome::Repaired : Outcome::Failed;
}

}  // namespace s::os::win_fs

namespace s::os {

TipJournal& platformTipJournal() {
  static win_fs::WinTipJournal* const instance = new win_fs::WinTipJournal();
  return *instance;
}

}  // namespace s::os
