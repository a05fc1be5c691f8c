#include "os/windows/NtRegistryStore.h"

#include <sddl.h>

#include <algorithm>
#include <cstring>

#include "os/AsciiCase.h"
#include "os/windows/NtDll.h"
#include "os/windows/UniqueHandle.h"
#include "os/windows/WinText.h"

namespace s::os::win_fs {

namespace {

constexpr NTSTATUS kBufferOverflow = static_cast<NTSTATUS>(0x80000005L);
constexpr NTSTATUS kBufferTooSmall = static_cast<NTSTATUS>(0xC0000023L);
constexpr NTSTATUS kNoMoreEntries = static_cast<NTSTATUS>(0x8000001AL);
constexpr ULONG kCaseInsensitive = 0x40;  // OBJ_CASE_INSENSITIVE
constexpr ULONG kNonVolatile = 0;         // REG_OPTION_NON_VOLATILE
constexpr std::size_t kLongestKeyName = 255;
constexpr std::size_t kLongestValueName = 16383;
// Information classes and their records.
constexpr ULONG kKeyBasic = 0;
constexpr ULONG kValueBasic = 0;
constexpr ULONG kValuePartial = 2;
struct KeyBasic {
  LARGE_INTEGER lastWrite;
  ULONG titleIndex;
  ULONG nameLength;
  WCHAR name[1];
};
struct ValueBasic {
  ULONG titleIndex;
  ULONG type;
  ULONG nameLength;
  WCHAR name[1];
};
struct ValuePartial {
  ULONG titleIndex;
  ULONG type;
  ULONG dataLength;
  UCHAR data[1];
};

bool retryLarger(NTSTATUS status) {
  return status == kBufferOverflow || status == kBufferTooSmall;
}

bool validKeyName(std::u16string_view name) {
  return !name.empty() && name.size() <= kLongestKeyName && name.find(u'\\') == name.npos;
}

std::u16string lastComponent(std::u16string_view path) {
  const std::size_t cut = path.find_last_of(u'\\');
  return std::u16string(cut == path.npos ? path : path.substr(cut + 1));
}

// Opens or creates the key at `path`; null when it cannot.
HANDLE openNative(std::u16string_view path, bool create) {
  const NtDll& nt = NtDll::get();
  const std::wstring wide = toWide(path);
  UNICODE_STRING name{};
  if (!nt.keyCalls() || !countedString(wide, name)) return nullptr;
  OBJECT_ATTRIBUTES attributes{};
  attributes.Length = sizeof attributes;
  attributes.ObjectName = &name;
  attributes.Attributes = kCaseInsensitive;
  HANDLE key = nullptr;
  ULONG disposition = 0;
  const NTSTATUS status = create ? nt.ntCreateKey(&key, MAXIMUM_ALLOWED, &attributes, 0, nullptr,
                                                  kNonVolatile, &disposition)
                                 : nt.ntOpenKey(&key, MAXIMUM_ALLOWED, &attributes);
  return NT_SUCCESS(status) ? key : nullptr;
}

// Queries `call` into a buffer that grows until the answer fits.
template <typename Call>
bool queryGrowing(std::vector<std::uint8_t>& buffer, NTSTATUS& status, Call call) {
  buffer.resize(256);
  for (int tries = 0; tries < 8; ++tries) {
    ULONG needed = 0;
    status = call(buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (!retryLarger(status)) return NT_SUCCESS(status);
    buffer.resize(std::max<std::size_t>(needed, buffer.size() * 2));
  }
  return false;
}

}  // namespace

NtRegistryStore::~NtRegistryStore() {
  for (auto& [key, open] : open_) NtDll::get().ntClose(open.handle);
}

RegistryStore::Key NtRegistryStore::adopt(HANDLE handle, std::u16string_view path) {
  if (handle == nullptr) return kNoKey;
  std::lock_guard<std::mutex> hold(mutex_);
  const Key key = next_++;
  open_[key] = Open{handle, std::u16string(path)};
  return key;
}

bool NtRegistryStore::find(Key key, Open& out) {
  std::lock_guard<std::mutex> hold(mutex_);
  const auto it = open_.find(key);
  if (it == open_.end()) return false;
  out = it->second;
  return true;
}

bool NtRegistryStore::predefined(std::u16string_view path) {
  const std::u16string user = currentUserId();
  for (const std::uint32_t root :
       {RegRoot::kClassesRoot, RegRoot::kCurrentUser, RegRoot::kLocalMachine, RegRoot::kUsers,
        RegRoot::kCurrentConfig}) {
    const std::u16string prefix = RegRoot::nativePrefixOf(root, user);
    if (startsWithAsciiIgnoreCase(prefix, path) &&
        (prefix.size() == path.size() || prefix[path.size()] == u'\\')) {
      return true;
    }
  }
  return false;
}

RegistryStore::Key NtRegistryStore::openKey(std::u16string_view nativePath) {
  return adopt(openNative(nativePath, false), nativePath);
}

RegistryStore::Key NtRegistryStore::createKey(std::u16string_view nativePath) {
  if (!validKeyName(lastComponent(nativePath))) return kNoKey;
  return adopt(openNative(nativePath, true), nativePath);
}

void NtRegistryStore::closeKey(Key key) {
  std::lock_guard<std::mutex> hold(mutex_);
  const auto it = open_.find(key);
  if (it == open_.end()) return;
  NtDll::get().ntClose(it->second.handle);
  open_.erase(it);
}

bool NtRegistryStore::deleteKey(Key key) {
  Open open{};
  std::vector<std::u16string> subkeys;
  if (!find(key, open) || predefined(open.path) || !listSubkeyNames(key, subkeys) ||
      !subkeys.empty()) {
    return false;
  }
  return NT_SUCCESS(NtDll::get().ntDeleteKey(open.handle));
}

bool NtRegistryStore::renameKey(Key key, std::u16string_view newName) {
  Open open{};
  if (!validKeyName(newName) || !find(key, open) || predefined(open.path)) return false;
  const std::u16string parent = open.path.substr(0, open.path.find_last_of(u'\\'));
  const std::u16string target = parent + u'\\' + std::u16string(newName);
  // A sibling of that name (other than the key itself, renamed in case only).
  if (!equalsAsciiIgnoreCase(lastComponent(open.path), newName)) {
    UniqueHandle sibling(openNative(target, false));
    if (sibling.valid()) return false;
  }
  const std::wstring wide = toWide(newName);
  UNICODE_STRING name{};
  if (!countedString(wide, name) || !NT_SUCCESS(NtDll::get().ntRenameKey(open.handle, &name))) {
    return false;
  }
  std::lock_guard<std::mutex> hold(mutex_);
  open_[key].path = target;
  return true;
}

bool NtRegistryStore::flushKey(Key key) {
  Open open{};
  return find(key, open) && NT_SUCCESS(NtDll::get().ntFlushKey(open.handle));
}

bool NtRegistryStore::enumerate(Key key, bool values, std::vector<std::u16string>& out) {
  out.clear();
  Open open{};
  if (!find(key, open)) return false;
  const NtDll& nt = NtDll::get();
  std::vector<std::uint8_t> buffer;
  for (ULONG index = 0;; ++index) {
    NTSTATUS status = 0;
    const bool got = queryGrowing(buffer, status, [&](void* into, ULONG size, ULONG* needed) {
      return values ? nt.ntEnumerateValueKey(open.handle, index, kValueBasic, into, size, needed)
                    : nt.ntEnumerateKey(open.handle, index, kKeyBasic, into, size, needed);
    });
    if (!got) {
      if (status == kNoMoreEntries) return true;
      out.clear();
      return false;
    }
    if (values) {
      const auto* record = reinterpret_cast<const ValueBasic*>(buffer.data());
      out.push_back(fromWide(record->name, record->nameLength / sizeof(WCHAR)));
    } else {
      const auto* record = reinterpret_cast<const KeyBasic*>(buffer.data());
      out.push_back(fromWide(record->name, record->nameLength / sizeof(WCHAR)));
    }
  }
}

bool NtRegistryStore::listSubkeyNames(Key key, std::vector<std::u16string>& out) {
  if (!enumerate(key, false, out)) return false;
  std::sort(out.begin(), out.end(), [](const std::u16string& a, const std::u16string& b) {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](char16_t x, char16_t y) { return foldAscii(x) < foldAscii(y); });
  });
  return true;
}

bool NtRegistryStore::listValueNames(Key key, std::vector<std::u16string>& out) {
  return enumerate(key, true, out);
}

bool NtRegistryStore::queryValue(Key key, std::u16string_view name, std::uint32_t& type,
                                 std::vector<std::uint8_t>& data) {
  Open open{};
  const std::wstring wide = toWide(name);
  UNICODE_STRING counted{};
  if (!find(key, open) || !countedString(wide, counted)) return false;
  std::vector<std::uint8_t> buffer;
  NTSTATUS status = 0;
  if (!queryGrowing(buffer, status, [&](void* into, ULONG size, ULONG* needed) {
        return NtDll::get().ntQueryValueKey(open.handle, &counted, kValuePartial, into, size,
                                            needed);
      })) {
    return false;
  }
  const auto* record = reinterpret_cast<const ValuePartial*>(buffer.data());
  type = record->type;
  data.assign(record->data, record->data + record->dataLength);
  return true;
}

bool NtRegistryStore::setValue(Key key, std::u16string_view name, std::uint32_t type,
                               const void* data, std::size_t size) {
  Open open{};
  const std::wstring wide = toWide(name);
  UNICODE_STRING counted{};
  if (name.size() > kLongestValueName || size > 0xFFFFFFFFu || !find(key, open) ||
      !countedString(wide, counted)) {
    return false;
  }
  return NT_SUCCESS(NtDll::get().ntSetValueKey(open.handle, &counted, 0, type,
                                               const_cast<void*>(data), static_cast<ULONG>(size)));
}

bool NtRegistryStore::deleteValue(Key key, std::u16string_view name) {
  Open open{};
  const std::wstring wide = toWide(name);
  UNICODE_STRING counted{};
  return find(key, open) && countedString(wide, counted) &&
         NT_SUCCESS(NtDll::get().ntDeleteValueKey(open.handle, &counted));
}

std::u16string NtRegistryStore::currentUserId() {
  HANDLE raw = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) return u"Error";
  UniqueHandle token(raw);
  DWORD size = 0;
  ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  std::vector<std::uint8_t> buffer(size);
  wchar_t* text = nullptr;
  if (size == 0 || !::GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size) ||
      !::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
    return u"Error";
  }
  std::u16string id = fromWide(text);
  ::LocalFree(text);
  return id;
}

std::u16string NtRegistryStore::expandEnvironment(std::u16string_view text) {
  // %NAME% by %NAME%, so that no length limit of ExpandEnvironmentStringsW
  // applies and unknown names stay as they are.
  std::u16string out;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t open = text.find(u'%', at);
    const std::size_t close = open == text.npos ? text.npos : text.find(u'%', open + 1);
    if (close == text.npos) break;
    out += text.substr(at, open - at);
    const std::wstring name = toWide(text.substr(open + 1, close - open - 1));
    const DWORD needed = name.empty() ? 0 : ::GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (needed == 0) {
      out += text.substr(open, close - open);  // the closing '%' may open the next name
      at = close;
      continue;
    }
    std::wstring value(needed, L'\0');
    const DWORD got = ::GetEnvironmentVariableW(name.c_str(), value.data(), needed);
    out += fromWide(value.c_str(), got);
    at = close + 1;
  }
  out += text.substr(at);
  return out;
}

}  // namespace s::os::win_fs

namespace s::os {

RegistryStore& platformRegistryStore() {
  static win_fs::NtRegistryStore* const instance = new win_fs::NtRegistryStore();
  return *instance;
}

}  // namespace s::os
