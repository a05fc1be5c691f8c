#include <windows.h>
// After windows.h.
#include <shellapi.h>
#include <shlobj.h>

#include "os/Shell.h"
#include "os/windows/WinText.h"

namespace s::os {

namespace {

using win_fs::toWide;

// The number of items in the drive's recycle bin; false when the shell
// cannot tell.
bool itemsInBin(const std::wstring& root, std::int64_t& items) {
  SHQUERYRBINFO info{};
  info.cbSize = sizeof info;
  if (::SHQueryRecycleBinW(root.c_str(), &info) != S_OK) return false;
  items = info.i64NumItems;
  return true;
}

// The shell event of a change and how it is delivered: entry changes are
// flushed (the views are current when the call returns), folder and
// free-space updates are posted without waiting for a busy shell.
struct Notice {
  LONG event;
  UINT flush;
};

Notice noticeOf(Shell::Change change) {
  switch (change) {
    case Shell::Change::FolderCreated:
      return {SHCNE_MKDIR, SHCNF_FLUSH};
    case Shell::Change::FileDeleted:
      return {SHCNE_DELETE, SHCNF_FLUSH};
    case Shell::Change::FolderRemoved:
      return {SHCNE_RMDIR, SHCNF_FLUSH};
    case Shell::Change::FreeSpace:
      return {SHCNE_FREESPACE, SHCNF_FLUSHNOWAIT};
    case Shell::Change::FolderUpdated:
      break;
  }
  return {SHCNE_UPDATEDIR, SHCNF_FLUSHNOWAIT};
}

// The recycle bin through the shell. SHEmptyRecycleBinW answers an error for
// a bin that is empty already on some Windows versions (and always under
// Wine), so its answer alone cannot tell success: the bin is counted before
// and after where the shell can count it.
class WinShell final : public Shell {
 public:
  bool emptyRecycleBin(std::u16string_view root) override {
    const std::wstring wideRoot = toWide(root);
    std::int64_t items = 0;
    const bool counted = itemsInBin(wideRoot, items);
    if (counted && items == 0) return true;
    const HRESULT emptied = ::SHEmptyRecycleBinW(
        nullptr, wideRoot.c_str(), SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
    if (itemsInBin(wideRoot, items)) return items == 0;
    return emptied == S_OK;
  }

  void openUrl(std::u16string_view target) override {
    const std::wstring wide = toWide(target);
    if (wide.empty()) return;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.lpVerb = L"open";
    info.lpFile = wide.c_str();
    info.lpParameters = L"";
    info.nShow = SW_SHOW;
    ::ShellExecuteExW(&info);  // nothing is reported when it cannot be opened
  }

  void notifyChange(Change change, std::u16string_view path) override {
    const std::wstring wide = toWide(path);
    if (wide.empty()) return;
    const Notice notice = noticeOf(change);
    ::SHChangeNotify(notice.event, SHCNF_PATHW | notice.flush, wide.c_str(), nullptr);
  }
};

}  // namespace

Shell& platformShell() {
  // Never destroyed: workers may still use it while the process ends.
  static WinShell* const instance = new WinShell();
  return *instance;
}

}  // namespace s::os
