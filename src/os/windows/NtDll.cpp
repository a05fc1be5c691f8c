#include "os/windows/NtDll.h"

#include <cstring>
#include <string>

namespace s::os::win_fs {

namespace {

template <typename Call>
void lookUp(HMODULE module, const char* name, Call& out) {
  const FARPROC found = module != nullptr ? ::GetProcAddress(module, name) : nullptr;
  static_assert(sizeof out == sizeof found);
  std::memcpy(&out, &found, sizeof out);
}

NtDll load() {
  NtDll calls;
  const HMODULE module = ::GetModuleHandleW(L"ntdll.dll");
  lookUp(module, "NtFsControlFile", calls.ntFsControlFile);
  lookUp(module, "NtQueryInformationFile", calls.ntQueryInformationFile);
  lookUp(module, "RtlNtStatusToDosError", calls.rtlNtStatusToDosError);
  lookUp(module, "NtOpenKey", calls.ntOpenKey);
  lookUp(module, "NtCreateKey", calls.ntCreateKey);
  lookUp(module, "NtClose", calls.ntClose);
  lookUp(module, "NtDeleteKey", calls.ntDeleteKey);
  lookUp(module, "NtFlushKey", calls.ntFlushKey);
  lookUp(module, "NtRenameKey", calls.ntRenameKey);
  lookUp(module, "NtEnumerateKey", calls.ntEnumerateKey);
  lookUp(module, "NtEnumerateValueKey", calls.ntEnumerateValueKey);
  lookUp(module, "NtQueryValueKey", calls.ntQueryValueKey);
  lookUp(module, "NtSetValueKey", calls.ntSetValueKey);
  lookUp(module, "NtDeleteValueKey", calls.ntDeleteValueKey);
  return calls;
}

}  // namespace

bool NtDll::keyCalls() const {
  return ntOpenKey != nullptr && ntCreateKey != nullptr && ntClose != nullptr &&
         ntDeleteKey != nullptr && ntFlushKey != nullptr && ntRenameKey != nullptr &&
         ntEnumerateKey != nullptr && ntEnumerateValueKey != nullptr &&
         ntQueryValueKey != nullptr && ntSetValueKey != nullptr && ntDeleteValueKey != nullptr;
}

const NtDll& NtDll::get() {
  static const NtDll calls = load();
  return calls;
}

bool countedString(const std::wstring& text, UNICODE_STRING& out) {
  constexpr std::size_t kMostUnits = 32767;
  if (text.size() > kMostUnits) return false;
  out.Length = static_cast<USHORT>(text.size() * sizeof(wchar_t));
  out.MaximumLength = out.Length;
  out.Buffer = const_cast<wchar_t*>(text.c_str());
  return true;
}

}  // namespace s::os::win_fs
