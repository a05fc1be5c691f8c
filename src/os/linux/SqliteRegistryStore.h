#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "os/RegistryStore.h"

struct sqlite3;
struct sqlite3_stmt;

namespace s::os::linux_reg {

// The registry kept in one SQLite database file (see RegistryStore for the
// contract). Keys are rows of reg_keys (parent, name, case-folded name);
// values are rows of reg_values (key, name, folded name, type, data). Every
// change is one statement in its own transaction, written ahead to the WAL
// with synchronous=FULL, so a process killed at any instant leaves each value
// either old or new. Other processes may use the same file; a busy database
// is waited for up to 5 s before an operation fails.
//
// The file is opened on first need (and again after a failed open). A file
// that is not an SQLite database, fails the quick integrity check, holds an
// unknown layout or cannot be opened although it exists is renamed aside
// ("<file>.damaged-<time>", never deleted, its WAL moved with it) and a fresh
// database is started; the same happens when a damaged page is met later. Keys
// opened before that stop working (their operations fail), and until the fresh
// file is in place every operation fails: readers get their defaults.
//
// One connection serves every thread, one operation at a time.
class SqliteRegistryStore final : public RegistryStore {
 public:
  // A store on the database file `path` (created with mode 0600, its folder
  // with 0700, when missing). `userId` is the current user's identifier whose
  // key is kept as a predefined root. Nothing is opened yet.
  explicit SqliteRegistryStore(std::string path, std::u16string userId = unixUserId());
  ~SqliteRegistryStore() override;

  SqliteRegistryStore(const SqliteRegistryStore&) = delete;
  SqliteRegistryStore& operator=(const SqliteRegistryStore&) = delete;

  // $XDG_CONFIG_HOME/vonq/registry.sqlite3 ($XDG_CONFIG_HOME only when it is
  // absolute; else ~/.config from $HOME or the password database). Empty
  // when no home folder can be found.
  static std::string defaultPath();

  // "S-1-22-1-<uid>" for the process's real user id.
  static std::u16string unixUserId();

  // The database file this store uses.
  const std::string& path() const { return path_; }

  // Where the last damaged file was moved ("" when none was). Any thread.
  std::string movedAsidePath();

  // Ends the connection for good: later operations fail. Any thread.
  void close();

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
  class Statement;
  enum class OpenResult { Ok, Damaged, Failed };

  // Connection management; all called with mutex_ held.
  bool ensureOpen();
  OpenResult openOnce();
  bool configure();
  bool createSchema();
  bool pinRoots();
  void disconnect();
  void moveAside();
  bool noteResult(int rc);
  bool listNames(Key key, const char* query, std::vector<std::u16string>& out);

  // Key handles: the open's epoch above the row id. 0 when the key is not of
  // the current connection.
  Key handleOf(std::int64_t row) const;
  std::int64_t rowOf(Key key) const;

  std::int64_t findChild(std::int64_t parent, std::u16string_view name);
  std::int64_t resolve(std::u16string_view nativePath, bool createLast);
  std::int64_t insertChild(std::int64_t parent, std::u16string_view name, bool pinned);
  bool keyExists(std::int64_t row);
  bool exec(const char* sql);
  bool run(Statement& statement);

  const std::string path_;
  const std::u16string userId_;
  std::mutex mutex_;
  sqlite3* db_ = nullptr;
  bool closed_ = false;
  bool damaged_ = false;
  std::uint64_t epoch_ = 0;
  std::string movedAside_;
};

}  // namespace s::os::linux_reg
