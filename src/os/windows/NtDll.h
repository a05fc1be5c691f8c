#pragma once

#include <windows.h>
// After windows.h.
#include <winternl.h>

#include <string>

namespace s::os::win_fs {

// The native calls the platform layer uses, looked up by name in ntdll.dll
// once per process (the first get()). A call the system lacks is null.
struct NtDll {
  using FsControlFile = NTSTATUS(WINAPI*)(HANDLE, HANDLE, void*, void*, IO_STATUS_BLOCK*, ULONG,
                                          void*, ULONG, void*, ULONG);
  using QueryInformationFile = NTSTATUS(WINAPI*)(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, ULONG);
  using StatusToDosError = ULONG(WINAPI*)(NTSTATUS);
  using OpenKey = NTSTATUS(WINAPI*)(HANDLE*, ACCESS_MASK, OBJECT_ATTRIBUTES*);
  using CreateKey = NTSTATUS(WINAPI*)(HANDLE*, ACCESS_MASK, OBJECT_ATTRIBUTES*, ULONG,
                                      UNICODE_STRING*, ULONG, ULONG*);
  using OnKey = NTSTATUS(WINAPI*)(HANDLE);
  using RenameKey = NTSTATUS(WINAPI*)(HANDLE, UNICODE_STRING*);
  using EnumerateKey = NTSTATUS(WINAPI*)(HANDLE, ULONG, ULONG, void*, ULONG, ULONG*);
  using QueryValueKey = NTSTATUS(WINAPI*)(HANDLE, UNICODE_STRING*, ULONG, void*, ULONG, ULONG*);
  using SetValueKey = NTSTATUS(WINAPI*)(HANDLE, UNICODE_STRING*, ULONG, ULONG, void*, ULONG);
  using DeleteValueKey = NTSTATUS(WINAPI*)(HANDLE, UNICODE_STRING*);

  FsControlFile ntFsControlFile = nullptr;
  QueryInformationFile ntQueryInformationFile = nullptr;
  StatusToDosError rtlNtStatusToDosError = nullptr;

  OpenKey ntOpenKey = nullptr;
  CreateKey ntCreateKey = nullptr;
  OnKey ntClose = nullptr;
  OnKey ntDeleteKey = nullptr;
  OnKey ntFlushKey = nullptr;
  RenameKey ntRenameKey = nullptr;
  EnumerateKey ntEnumerateKey = nullptr;
  EnumerateKey ntEnumerateValueKey = nullptr;
  QueryValueKey ntQueryValueKey = nullptr;
  SetValueKey ntSetValueKey = nullptr;
  DeleteValueKey ntDeleteValueKey = nullptr;

  // Whether the three file calls were all found.
  bool fileCalls() const {
    return ntFsControlFile != nullptr && ntQueryInformationFile != nullptr &&
           rtlNtStatusToDosError != nullptr;
  }
  // Whether every key call was found.
  bool keyCalls() const;

  // The calls of this process. Any thread.
  static const NtDll& get();
};

// A counted UNICODE_STRING over `text` (which must outlive it); false when
// the text is too long for one (32767 units).
bool countedString(const std::wstring& text, UNICODE_STRING& out);

}  // namespace s::os::win_fs
