#include "file/wiper/win/IndexSlackWipe.h"

#include <deque>
#include <set>

#include "file/wiper/ntfs/SlackFill.h"
#include "file/wiper/ntfs/TraceAudit.h"
#include "file/wiper/win/EngineOperation.h"
#include "os/FileSystem.h"

namespace s::file::wiper::win {

using s::file::wiper::ntfs::FolderSlack;
using s::file::wiper::ntfs::SlackFill;
using s::file::wiper::ntfs::SlackPart;
using s::os::fileSystem;

namespace {

constexpr std::uint64_t kRecordMask = s::file::wiper::ntfs::FileName::kRecordBits;

}  // namespace

Shortfall IndexSlackWipe::run() {
  std::vector<FolderSlack> wanted;
  s::file::wiper::ntfs::TraceAudit audit(0, nullptr, false);
  audit.collectFolders(&wanted);
  if (!audit.run(operation_.root()).done()) return Shortfall::VolumeUnreadable;
  const std::map<std::uint64_t, std::u16string> paths = findFolders(wanted);
  std::size_t done = 0;
  for (const FolderSlack& folder : wanted) {
    if (operation_.cancelled()) return Shortfall::Cancelled;
    const auto path = paths.find(folder.record);
    if (path == paths.end()) {
      ++operation_.report().foldersSkipped;  // behind a link, another mount or no access
    } else if (const Shortfall result = fill(path->second, folder.parts);
               result != Shortfall::None) {
      return result;
    }
    operation_.setProgress(from_ + (to_ - from_) * static_cast<float>(++done) /
                                       static_cast<float>(wanted.size()));
  }
  return Shortfall::None;
}

std::map<std::uint64_t, std::u16string> IndexSlackWipe::findFolders(
    const std::vector<FolderSlack>& wanted) const {
  std::map<std::uint64_t, std::u16string> found;
  std::set<std::uint64_t> open;
  for (const FolderSlack& folder : wanted) open.insert(folder.record);
  s::os::FileInfo rootInfo;
  if (!fileSystem().stat(operation_.root(), rootInfo)) return found;
  std::deque<std::pair<std::u16string, std::uint64_t>> queue{{operation_.root(), rootInfo.fileId}};
  while (!queue.empty() && found.size() < open.size() && !operation_.cancelled()) {
    const auto [folder, id] = queue.front();
    queue.pop_front();
    if (open.count(id & kRecordMask) != 0) found.emplace(id & kRecordMask, folder);
    std::vector<s::os::DirEntry> entries;
    if (!fileSystem().listFolder(folder, entries)) continue;
    for (const s::os::DirEntry& entry : entries) {
      if (entry.kind != s::os::EntryKind::Folder) continue;
      const std::u16string child = EngineOperation::join(folder, entry.name);
      s::os::FileInfo info;
      // Another mount is a folder of another device: not entered.
      if (fileSystem().stat(child, info) && info.kind == s::os::EntryKind::Folder &&
          info.device == rootInfo.device) {
        queue.emplace_back(child, info.fileId);
      }
    }
  }
  return found;
}

Shortfall IndexSlackWipe::fill(const std::u16string& folder, const std::vector<SlackPart>& parts) {
  std::vector<std::u16string> paths;
  for (const SlackPart& part : parts) {
    for (const std::u16string& name : SlackFill::namesFor(part)) {
      paths.push_back(EngineOperation::join(folder, name));
    }
  }
  s::os::FileTimes times;
  if (paths.empty() || !fileSystem().getTimes(folder, times)) {
    ++operation_.report().foldersSkipped;
    return Shortfall::None;
  }
  if (!fileSystem().scheduleNewFiles(paths)) return Shortfall::CannotCreate;
  std::vector<std::u16string> made;
  const Shortfall making = make(paths, made);
  const Shortfall removing = removeAll(made);
  fileSystem().setTimes(folder, times);
  // A name that was taken, a folder this user may not write or a volume
  // with no record left leave the folder's slack partly as it was.
  ++(making == Shortfall::None && made.size() == paths.size() ? operation_.report().foldersFilled
                                                              : operation_.report().foldersSkipped);
  return making != Shortfall::None ? making : removing;
}

Shortfall IndexSlackWipe::make(const std::vector<std::u16string>& paths,
                               std::vector<std::u16string>& made) {
  const s::os::OpenMode mode = s::os::OpenMode::make(s::os::OpenMode::Access::Write,
                                                     s::os::OpenMode::Disposition::CreateNew);
  for (const std::u16string& path : paths) {
    if (operation_.cancelled()) return Shortfall::Cancelled;
    std::unique_ptr<s::os::File> file = fileSystem().openFile(path, mode);
    if (file) {
      file->close();
      made.push_back(path);
      ++operation_.report().filesMade;
      continue;
    }
    const s::os::FsError error = s::os::lastFsError();
    if (error == s::os::FsError::Exists) continue;
    if (error == s::os::FsError::AccessDenied || error == s::os::FsError::NoSpace) {
      return Shortfall::None;
    }
    return Shortfall::CannotCreate;
  }
  return Shortfall::None;
}

Shortfall IndexSlackWipe::removeAll(const std::vector<std::u16string>& made) {
  std::uint64_t left = 0;
  for (const std::u16string& path : made) {
    if (!fileSystem().deleteFile(path)) ++left;
  }
  operation_.report().entriesLeft += left;
  return left == 0 ? Shortfall::None : Shortfall::LeftBehind;
}

}  // namespace s::file::wiper::win
