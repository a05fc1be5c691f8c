#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "os/RegistryStore.h"
#include "os/linux/SqliteRegistryStore.h"

namespace vonq::test::reg {

// Set in the environment of the child processes this test program starts
// (see runChild); the child tests do nothing without it.
inline constexpr const char* kChildFlag = "VONQ_REG_CHILD";

// A fresh folder under the temporary folder, removed with its content.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string at(const std::string& relative) const { return path_ + "/" + relative; }

 private:
  std::string path_;
};

// Forwards every call to another store, counting key opens and able to
// refuse key creation.
class CountingStore : public s::os::RegistryStore {
 public:
  explicit CountingStore(s::os::RegistryStore& inner) : inner_(inner) {}

  std::atomic<int> opens{0};
  std::atomic<int> creates{0};
  std::atomic<bool> refuseCreate{false};

  Key openKey(std::u16string_view path) override {
    ++opens;
    return inner_.openKey(path);
  }
  Key createKey(std::u16string_view path) override {
    ++creates;
    return refuseCreate ? kNoKey : inner_.createKey(path);
  }
  void closeKey(Key key) override { inner_.closeKey(key); }
  bool deleteKey(Key key) override { return inner_.deleteKey(key); }
  bool renameKey(Key key, std::u16string_view name) override { return inner_.renameKey(key, name); }
  bool flushKey(Key key) override { return inner_.flushKey(key); }
  bool listSubkeyNames(Key key, std::vector<std::u16string>& out) override {
    return inner_.listSubkeyNames(key, out);
  }
  bool listValueNames(Key key, std::vector<std::u16string>& out) override {
    return inner_.listValueNames(key, out);
  }
  bool queryValue(Key key, std::u16string_view name, std::uint32_t& type,
                  std::vector<std::uint8_t>& data) override {
    return inner_.queryValue(key, name, type, data);
  }
  bool setValue(Key key, std::u16string_view name, std::uint32_t type, const void* data,
                std::size_t size) override {
    return inner_.setValue(key, name, type, data, size);
  }
  bool deleteValue(Key key, std::u16string_view name) override {
    return inner_.deleteValue(key, name);
  }
  std::u16string currentUserId() override { return inner_.currentUserId(); }
  std::u16string expandEnvironment(std::u16string_view text) override {
    return inner_.expandEnvironment(text);
  }

 private:
  s::os::RegistryStore& inner_;
};

// Every test gets its own database file in a scratch folder, installed as the
// process-wide store for the length of the test.
class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Ends the current store and installs a new one on the same file, as a
  // restarted program would see it.
  void reopen();

  std::string dbPath() const { return folder_.at("registry.sqlite3"); }
  s::os::linux_reg::SqliteRegistryStore& store() { return *store_; }

  ScratchFolder folder_;
  std::unique_ptr<s::os::linux_reg::SqliteRegistryStore> store_;
};

// Runs this test program again with only the test `filter` (disabled tests
// included), `kChildFlag` set and the given extra environment entries
// ("NAME=value"), its output appended to the file `log`. Returns its pid, or
// -1.
int startChild(const std::string& filter, const std::vector<std::string>& environment,
               const std::string& log);
// Waits for the child; its exit status, or -1 when it did not exit normally.
int waitChild(int pid);
inline int runChild(const std::string& filter, const std::vector<std::string>& environment,
                    const std::string& log) {
  const int pid = startChild(filter, environment, log);
  return pid > 0 ? waitChild(pid) : -1;
}

// The whole content of a file ("" when it cannot be read).
std::string fileContent(const std::string& path);

// "HKEY_CURRENT_USER" native prefix of this user.
std::u16string userPrefix();

std::u16string u16(const std::string& ascii);

}  // namespace vonq::test::reg
