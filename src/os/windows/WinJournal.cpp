#include "os/windows/WinJournal.h"

#include <windows.h>
// After windows.h.
#include <shlobj.h>

#include "os/windows/WinText.h"

namespace s::os::win_fs {

namespace {

constexpr char16_t kField = u'|';
constexpr char16_t kLine = u'\n';

std::u16string folderOf(const std::u16string& path) {
  const std::size_t cut = path.find_last_of(u'\\');
  return cut == std::u16string::npos ? std::u16string() : path.substr(0, cut);
}

std::vector<std::u16string> split(const std::u16string& text, char16_t separator) {
  std::vector<std::u16string> parts;
  std::size_t from = 0;
  for (std::size_t at = text.find(separator); at != std::u16string::npos;
       at = text.find(separator, from)) {
    parts.push_back(text.substr(from, at - from));
    from = at + 1;
  }
  parts.push_back(text.substr(from));
  return parts;
}

bool readWhole(const std::u16string& path, std::u16string& out) {
  UniqueHandle file(::CreateFileW(toWide(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  LARGE_INTEGER size{};
  if (!file.valid() || !::GetFileSizeEx(file.get(), &size) || size.QuadPart > (64 << 20)) {
    return false;
  }
  out.assign(static_cast<std::size_t>(size.QuadPart) / 2, u'\0');
  DWORD got = 0;
  return out.empty() ||
         (::ReadFile(file.get(), out.data(), static_cast<DWORD>(out.size() * 2), &got, nullptr) &&
          got == out.size() * 2);
}

bool writeWhole(const std::u16string& path, const std::u16string& text) {
  UniqueHandle file(::CreateFileW(toWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
  DWORD wrote = 0;
  const auto bytes = static_cast<DWORD>(text.size() * 2);
  return file.valid() && ::WriteFile(file.get(), text.data(), bytes, &wrote, nullptr) &&
         wrote == bytes && ::FlushFileBuffers(file.get());
}

std::uint64_t startOf(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return static_cast<std::uint64_t>(created.dwHighDateTime) << 32 | created.dwLowDateTime;
}

}  // namespace

WinJournal::Lock::Lock(const std::u16string& journal)
    : file_(::CreateFileW(toWide(journal + u".lock").c_str(), GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {
  OVERLAPPED whole{};
  held_ = file_.valid() && ::LockFileEx(file_.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &whole);
}

WinJournal::Lock::~Lock() {
  OVERLAPPED whole{};
  if (held_) ::UnlockFileEx(file_.get(), 0, 1, 0, &whole);
}

WinJournal::Writer WinJournal::Writer::self() {
  return {::GetCurrentProcessId(), startOf(::GetCurrentProcess())};
}

bool WinJournal::Writer::alive() const {
  UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, pid));
  if (!process.valid()) return ::GetLastError() == ERROR_ACCESS_DENIED;
  if (::WaitForSingleObject(process.get(), 0) != WAIT_TIMEOUT) return false;
  return startOf(process.get()) == started;
}

std::u16string WinJournal::defaultPath(const std::u16string& fileName) {
  wchar_t folder[MAX_PATH] = {};
  if (::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) !=
      S_OK) {
    return {};
  }
  return fromWide(folder) + u"\\Vonq Scrubber\\" + fileName;
}

bool WinJournal::makeFolder() const {
  const std::u16string folder = folderOf(path_);
  if (folder.empty()) return false;
  return ::CreateDirectoryW(toWide(folder).c_str(), nullptr) ||
         ::GetLastError() == ERROR_ALREADY_EXISTS;
}

std::vector<WinJournal::Row> WinJournal::rows(std::vector<Writer>* writers) const {
  std::vector<Row> out;
  std::u16string text;
  if (path_.empty() || !readWhole(path_, text)) return out;
  for (const std::u16string& line : split(text, kLine)) {
    Row fields = split(line, kField);
    Writer writer;
    std::uint64_t pid = 0;
    if (fields.size() < 3 || !parseNumber(fields[0], pid) ||
        !parseNumber(fields[1], writer.started)) {
      continue;
    }
    writer.pid = static_cast<std::uint32_t>(pid);
    fields.erase(fields.begin(), fields.begin() + 2);
    out.push_back(std::move(fields));
    if (writers != nullptr) writers->push_back(writer);
  }
  return out;
}

bool WinJournal::save(const std::vector<Row>& rows, const std::vector<Writer>& writers) const {
  if (rows.empty()) {
    return ::DeleteFileW(toWide(path_).c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
  }
  std::u16string text;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    text += number(writers[i].pid) + kField + number(writers[i].started);
    for (const std::u16string& field : rows[i]) text += kField + field;
    text += kLine;
  }
  const std::u16string fresh = path_ + u".new";
  return writeWhole(fresh, text) &&
         ::MoveFileExW(toWide(fresh).c_str(), toWide(path_).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool WinJournal::append(const std::vector<Row>& added,
                        const std::function<bool(const Row&)>& drop) const {
  if (path_.empty() || !makeFolder()) return false;
  Lock lock(path_);
  if (!lock.held()) return false;
  std::vector<Writer> writers;
  std::vector<Row> all = rows(&writers);
  std::vector<Row> kept;
  std::vector<Writer> keptWriters;
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (drop && drop(all[i])) continue;
    kept.push_back(std::move(all[i]));
    keptWriters.push_back(writers[i]);
  }
  kept.insert(kept.end(), added.begin(), added.end());
  keptWriters.resize(kept.size(), Writer::self());
  return save(kept, keptWriters);
}

bool WinJournal::keepOnly(const std::function<bool(const Row&, const Writer&)>& keep) const {
  if (path_.empty()) return false;
  Lock lock(path_);
  if (!lock.held()) return false;
  std::vector<Writer> writers;
  const std::vector<Row> all = rows(&writers);
  std::vector<Row> kept;
  std::vector<Writer> keptWriters;
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (!keep(all[i], writers[i])) continue;
    kept.push_back(all[i]);
    keptWriters.push_back(writers[i]);
  }
  return kept.size() == all.size() || save(kept, keptWriters);
}

std::u16string WinJournal::number(std::uint64_t value) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value != 0);
  return digits;
}

bool WinJournal::parseNumber(const std::u16string& text, std::uint64_t& out) {
  if (text.empty() || text.size() > 20) return false;
  std::uint64_t value = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return false;
    const auto digit = static_cast<std::uint64_t>(c - u'0');
    if (value > (UINT64_MAX - digit) / 10) return false;
    value = value * 10 + digit;
  }
  out = value;
  return true;
}

}  // namespace s::os::win_fs
