#pragma once

#include <windows.h>

#include <map>
#include <mutex>
#include <string>

#include "os/RegistryStore.h"

namespace s::os::win_fs {

// The RegistryStore on Windows: the system registry through the native key
// calls of ntdll (NtOpenKey, NtCreateKey, ...), which take the native paths
// of the interface as they are. Every change the registry accepts is atomic
// and made durable by the system's hive log. Handles map to open key handles
// under a lock; the numbers count up and are never reused.
class NtRegistryStore final : public RegistryStore {
 public:
  NtRegistryStore() = default;
  ~NtRegistryStore() override;

  Key openKey(std::u16string_view nativePath) override;
  Key createKey(std::u16string_view nativePath) override;
  void closeKey(Key key) override;
  bool deleteKey(Key key) override;
  bool renameKey(Key key, std::u16string_view newName) override;
  bool flushKey(Key key) override;
  bool listSubkeyNames(Key key, std::vector<std::u16string>& out) override;
  bool listValueNames(Key key, std::vector<std::u16string>& out) override;
  bool queryValue(Key key, std::u16string_view name, std::uint32_t& type,
                  std::vector<std::uint8_t>& data) override;
  bool setValue(Key key, std::u16string_view name, std::uint32_t type, const void* data,
                std::size_t size) override;
  bool deleteValue(Key key, std::u16string_view name) override;
  std::u16string currentUserId() override;
  std::u16string expandEnvironment(std::u16string_view text) override;

 private:
  struct Open {
    HANDLE handle;
    std::u16string path;
  };

  Key adopt(HANDLE handle, std::u16string_view path);
  // The open key behind `key`; false when there is none.
  bool find(Key key, Open& out);
  // Whether `path` names a predefined root's key or one of its ancestors.
  bool predefined(std::u16string_view path);
  // The names listed by NtEnumerateKey / NtEnumerateValueKey.
  bool enumerate(Key key, bool values, std::vector<std::u16string>& out);

  std::mutex mutex_;
  std::map<Key, Open> open_;
  Key next_ = 1;
};

}  // namespace s::os::win_fs
