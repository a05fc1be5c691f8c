#include "os/windows/PendingDeletionJournal.h"

#include <set>

#include "os/FileAttributes.h"
#include "os/windows/WinFileSystem.h"

namespace s::os::win_fs {

namespace {

// Fields of a row behind the writer.
enum Field { kKind, kDevice, kFileId, kPath, kFieldCount };

char16_t kindLetter(EntryKind kind) {
  return kind == EntryKind::Folder ? u'D' : u'F';
}

}  // namespace

PendingDeletionJournal::PendingDeletionJournal()
    : journal_(WinJournal::defaultPath(u"pending-deletions")) {}

bool PendingDeletionJournal::add(const std::u16string& path, const FileInfo& info) {
  return journal_.append({std::u16string(1, kindLetter(info.kind)), WinJournal::number(info.device),
                          WinJournal::number(info.fileId), path},
                         [&path](const WinJournal::Row& row) {
                           return row.size() == kFieldCount && row[kPath] == path;
                         });
}

bool PendingDeletionJournal::addNew(const std::vector<std::u16string>& paths) {
  std::vector<WinJournal::Row> rows;
  for (const std::u16string& path : paths) rows.push_back({u"N", u"0", u"0", path});
  const std::set<std::u16string> named(paths.begin(), paths.end());
  return journal_.append(rows, [&named](const WinJournal::Row& row) {
    return row.size() == kFieldCount && named.count(row[kPath]) != 0;
  });
}

bool PendingDeletionJournal::matches(const WinJournal::Row& row, const FileInfo& info) {
  std::uint64_t device = 0, fileId = 0;
  if (row.size() != kFieldCount || !WinJournal::parseNumber(row[kDevice], device) ||
      !WinJournal::parseNumber(row[kFileId], fileId) || info.kind == EntryKind::Link) {
    return false;
  }
  if (row[kKind] == u"N") return info.kind == EntryKind::File && info.size == 0;
  return info.device == device && info.fileId == fileId && kindLetter(info.kind) == row[kKind][0];
}

std::size_t PendingDeletionJournal::replay(WinFileSystem& files) {
  std::size_t deleted = 0;
  journal_.keepOnly([&](const WinJournal::Row& row, const WinJournal::Writer& writer) {
    if (writer.alive()) return true;
    const Outcome outcome = remove(files, row);
    if (outcome == Outcome::Deleted) ++deleted;
    return outcome == Outcome::Failed;
  });
  return deleted;
}

std::size_t PendingDeletionJournal::forgetFinished(WinFileSystem& files) {
  const WinJournal::Writer self = WinJournal::Writer::self();
  std::size_t dropped = 0;
  journal_.keepOnly([&](const WinJournal::Row& row, const WinJournal::Writer& writer) {
    if (writer.pid != self.pid || writer.started != self.started) return true;
    FileInfo info;
    const bool there =
        row.size() == kFieldCount && files.stat(row[kPath], info) && matches(row, info);
    if (!there) ++dropped;
    return there;
  });
  return dropped;
}

PendingDeletionJournal::Outcome PendingDeletionJournal::remove(WinFileSystem& files,
                                                               const WinJournal::Row& row) {
  if (row.size() != kFieldCount) return Outcome::Dropped;
  const std::u16string& path = row[kPath];
  FileInfo info;
  if (!files.stat(path, info)) return files.exists(path) ? Outcome::Failed : Outcome::Dropped;
  if (!matches(row, info)) return Outcome::Dropped;
  const bool removed =
      info.kind == EntryKind::Folder ? removeTree(files, path) : removeFile(files, path);
  return removed ? Outcome::Deleted : Outcome::Failed;
}

bool PendingDeletionJournal::removeFile(WinFileSystem& files, const std::u16string& path) {
  const std::uint32_t attributes = files.getAttributes(path);
  if (attributes != FileAttributes::kInvalid && (attributes & FileAttributes::kReadOnly) != 0) {
    files.setAttributes(path, attributes & ~FileAttributes::kReadOnly);
  }
  return files.deleteFile(path);
}

bool PendingDeletionJournal::removeTree(WinFileSystem& files, const std::u16string& folder) {
  std::vector<DirEntry> entries;
  if (!files.listFolder(folder, entries)) return false;
  bool ok = true;
  for (const DirEntry& entry : entries) {
    const std::u16string path = folder + u'\\' + entry.name;
    if (entry.kind == EntryKind::Folder) {
      ok = removeTree(files, path) && ok;
    } else if (entry.kind == EntryKind::Link) {
      ok = files.deleteFile(path) && ok;  // the link itself, never its target
    } else {
      ok = removeFile(files, path) && ok;
    }
  }
  return ok && files.removeFolder(folder);
}

}  // namespace s::os::win_fs
