#include "os/linux/SqliteRegistryStore.h"

#include <fcntl.h>
#include <pwd.h>
#include <sqlite3.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <utility>

#include "os/CodePage.h"

namespace s::os::linux_reg {

namespace {

constexpr int kBusyTimeoutMillis = 5000;
constexpr int kSchemaVersion = 1;
constexpr std::size_t kMaxKeyName = 255;
constexpr std::size_t kMaxValueName = 16383;
constexpr std::int64_t kTopRow = 1;  // the "\Registry" key
constexpr unsigned kEpochShift = 40;
constexpr std::uint64_t kRowMask = (std::uint64_t{1} << kEpochShift) - 1;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS reg_keys("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " parent INTEGER REFERENCES reg_keys(id),"
    " fold BLOB NOT NULL,"
    " name BLOB NOT NULL,"
    " pinned INTEGER NOT NULL DEFAULT 0,"
    " UNIQUE(parent, fold));"
    "CREATE TABLE IF NOT EXISTS reg_values("
    " key INTEGER NOT NULL REFERENCES reg_keys(id) ON DELETE CASCADE,"
    " fold BLOB NOT NULL,"
    " name BLOB NOT NULL,"
    " type INTEGER NOT NULL,"
    " data BLOB NOT NULL,"
    " UNIQUE(key, fold));";

// Statements that must compile against a database of our layout.
constexpr const char* kLayoutProbes[] = {
    "SELECT id, parent, fold, name, pinned FROM reg_keys LIMIT 0",
    "SELECT rowid, key, fold, name, type, data FROM reg_values LIMIT 0",
};

bool isDamage(int rc) {
  const int primary = rc & 0xFF;
  return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

// Names are kept as UTF-16LE bytes; folded names (ASCII letters lowered) as
// UTF-16BE, so that comparing their bytes orders them by code unit.
std::string nameBytes(std::u16string_view name) {
  std::string bytes;
  bytes.reserve(name.size() * 2);
  for (const char16_t c : name) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

std::string foldBytes(std::u16string_view name) {
  std::string bytes;
  bytes.reserve(name.size() * 2);
  for (char16_t c : name) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + (u'a' - u'A'));
    bytes.push_back(static_cast<char>(c >> 8));
    bytes.push_back(static_cast<char>(c & 0xFF));
  }
  return bytes;
}

std::u16string nameFromBytes(const void* data, int size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::u16string name;
  if (bytes == nullptr || size < 2) return name;
  name.reserve(static_cast<std::size_t>(size) / 2);
  for (int i = 0; i + 1 < size; i += 2) {
    name.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  }
  return name;
}

bool validKeyName(std::u16string_view name) {
  return !name.empty() && name.size() <= kMaxKeyName && name.find(u'\\') == name.npos;
}

bool equalsIgnoreCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && foldBytes(a) == foldBytes(b);
}

// The components of a native path below "\Registry"; false when the path
// does not start there or holds an invalid component.
bool splitNativePath(std::u16string_view path, std::vector<std::u16string_view>& parts) {
  parts.clear();
  if (path.empty() || path.front() != u'\\') return false;
  path.remove_prefix(1);
  bool first = true;
  for (;;) {
    const std::size_t cut = path.find(u'\\');
    const std::u16string_view part = path.substr(0, cut);
    if (!validKeyName(part)) return false;
    if (first) {
      if (!equalsIgnoreCase(part, u"Registry")) return false;
      first = false;
    } else {
      parts.push_back(part);
    }
    if (cut == path.npos) return true;
    path.remove_prefix(cut + 1);
  }
}

bool makeFolders(const std::string& file) {
  for (std::size_t at = file.find('/', 1); at != std::string::npos; at = file.find('/', at + 1)) {
    const std::string folder = file.substr(0, at);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return true;
}

bool renameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return true;
  }
  if (errno != EINVAL && errno != ENOSYS) return false;
  struct stat st {};
  if (::lstat(to.c_str(), &st) == 0) {
    errno = EEXIST;
    return false;
  }
  return ::rename(from.c_str(), to.c_str()) == 0;
}

std::string timeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  char text[32] = "0";
  if (::gmtime_r(&now, &parts) != nullptr) {
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &parts);
  }
  return text;
}

std::u16string utf16(std::string_view bytes) {
  std::u16string text;
  s::os::codePage().toUtf16(s::os::CodePage::kUtf8, bytes, text);
  return text;
}

std::string utf8(std::u16string_view text) {
  std::string bytes;
  s::os::codePage().fromUtf16(s::os::CodePage::kUtf8, text, bytes);
  return bytes;
}

// The value of the environment variable whose name is `name`; false when it
// is not set (or the name cannot be one).
bool environmentValue(std::u16string_view name, std::u16string& out) {
  if (name.empty() || name.find(u'=') != name.npos || name.find(u'\0') != name.npos) {
    return false;
  }
  const char* value = std::getenv(utf8(name).c_str());
  if (value == nullptr) return false;
  out = utf16(value);
  return true;
}

}  // namespace

// One prepared statement, finalized when it goes out of scope.
class SqliteRegistryStore::Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    rc_ = db != nullptr ? sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) : SQLITE_MISUSE;
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // The last result code (of preparing, binding or stepping).
  int rc() const { return rc_; }
  bool ok() const { return stmt_ != nullptr && rc_ == SQLITE_OK; }

  void bind(int index, std::int64_t value) {
    if (ok()) rc_ = sqlite3_bind_int64(stmt_, index, value);
  }
  // Binds a copy of the bytes; an empty run binds a zero-length blob, never
  // NULL.
  void bind(int index, const void* data, std::size_t size) {
    if (!ok()) return;
    if (size == 0) {
      rc_ = sqlite3_bind_zeroblob(stmt_, index, 0);
    } else {
      rc_ = sqlite3_bind_blob64(stmt_, index, data, size, SQLITE_TRANSIENT);
    }
  }
  void bind(int index, const std::string& bytes) { bind(index, bytes.data(), bytes.size()); }

  // SQLITE_ROW, SQLITE_DONE or an error code.
  int step() {
    if (stmt_ == nullptr || (rc_ != SQLITE_OK && rc_ != SQLITE_ROW)) return rc_;
    rc_ = sqlite3_step(stmt_);
    return rc_;
  }

  std::int64_t integer(int column) { return sqlite3_column_int64(stmt_, column); }
  std::u16string name(int column) {
    const void* data = sqlite3_column_blob(stmt_, column);
    return nameFromBytes(data, sqlite3_column_bytes(stmt_, column));
  }
  void bytes(int column, std::vector<std::uint8_t>& out) {
    const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt_, column));
    const int size = sqlite3_column_bytes(stmt_, column);
    out.assign(data, data == nullptr ? data : data + size);
  }
  std::string text(int column) {
    const auto* data = sqlite3_column_text(stmt_, column);
    return data != nullptr ? reinterpret_cast<const char*>(data) : "";
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  int rc_ = SQLITE_OK;
};

SqliteRegistryStore::SqliteRegistryStore(std::string path, std::u16string userId)
    : path_(std::move(path)), userId_(userId.empty() ? u"Error" : std::move(userId)) {}

SqliteRegistryStore::~SqliteRegistryStore() {
  close();
}

std::string SqliteRegistryStore::defaultPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (config != nullptr && config[0] == '/') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    std::string homeText = home != nullptr ? home : "";
    if (homeText.empty() || homeText[0] != '/') {
      passwd entry{};
      passwd* found = nullptr;
      char buffer[4096];
      if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) != 0 ||
          found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] != '/') {
        return {};
      }
      homeText = found->pw_dir;
    }
    base = homeText + "/.config";
  }
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  return base + "/vonq/registry.sqlite3";
}

std::u16string SqliteRegistryStore::unixUserId() {
  return u"S-1-22-1-" + utf16(std::to_string(::getuid()));
}

std::string SqliteRegistryStore::movedAsidePath() {
  std::lock_guard<std::mutex> lock(mutex_);
  return movedAside_;
}

void SqliteRegistryStore::close() {
  std::lock_guard<std::mutex> lock(mutex_);
  disconnect();
  closed_ = true;
}

// ---- Connection

bool SqliteRegistryStore::ensureOpen() {
  if (closed_) return false;
  if (db_ != nullptr && !damaged_) return true;
  if (damaged_) {
    disconnect();
    moveAside();
    damaged_ = false;
  }
  OpenResult result = openOnce();
  if (result == OpenResult::Damaged) {
    disconnect();
    moveAside();
    result = openOnce();
  }
  if (result != OpenResult::Ok) {
    disconnect();
    return false;
  }
  ++epoch_;
  return true;
}

SqliteRegistryStore::OpenResult SqliteRegistryStore::openOnce() {
  if (path_.empty() || !makeFolders(path_)) return OpenResult::Failed;
  struct stat st {};
  const bool existed = ::stat(path_.c_str(), &st) == 0;
  if (existed && !S_ISREG(st.st_mode)) return OpenResult::Damaged;
  if (!existed) {
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) ::close(fd);
  }
  const int rc =
      sqlite3_open_v2(path_.c_str(), &db_,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    return existed && (rc & 0xFF) == SQLITE_CANTOPEN ? OpenResult::Damaged : OpenResult::Failed;
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, kBusyTimeoutMillis);
  damaged_ = false;
  if (configure() && createSchema() && pinRoots()) return OpenResult::Ok;
  return damaged_ ? OpenResult::Damaged : OpenResult::Failed;
}

bool SqliteRegistryStore::configure() {
  {
    Statement wal(db_, "PRAGMA journal_mode=WAL");
    if (wal.step() != SQLITE_ROW) return noteResult(wal.rc());
  }
  if (!exec("PRAGMA synchronous=FULL") || !exec("PRAGMA foreign_keys=ON")) return false;
  Statement check(db_, "PRAGMA quick_check(1)");
  if (check.step() != SQLITE_ROW) return noteResult(check.rc());
  if (check.text(0) != "ok") {
    damaged_ = true;
    return false;
  }
  return true;
}

bool SqliteRegistryStore::createSchema() {
  std::int64_t version = 0;
  {
    Statement read(db_, "PRAGMA user_version");
    if (read.step() != SQLITE_ROW) return noteResult(read.rc());
    version = read.integer(0);
  }
  if (version == 0) {
    if (!exec("BEGIN IMMEDIATE")) return false;
    const bool made = exec(kSchema) && exec("PRAGMA user_version=1") && exec("COMMIT");
    if (!made) {
      exec("ROLLBACK");
      return false;
    }
  } else if (version != kSchemaVersion) {
    damaged_ = true;  // a layout this program does not know
    return false;
  }
  for (const char* probe : kLayoutProbes) {
    Statement statement(db_, probe);
    if (!statement.ok()) {
      damaged_ = true;
      return false;
    }
  }
  return true;
}

bool SqliteRegistryStore::pinRoots() {
  if (!exec("BEGIN IMMEDIATE")) return false;
  bool ok = exec(
      "INSERT OR IGNORE INTO reg_keys(id, parent, fold, name, pinned) "
      "VALUES(1, NULL, x'00720065006700690073007400720079', "
      "x'52006500670069007300740072007900', 1)");
  std::vector<std::u16string_view> parts;
  for (const std::uint32_t root :
       {RegRoot::kClassesRoot, RegRoot::kCurrentUser, RegRoot::kLocalMachine, RegRoot::kUsers,
        RegRoot::kCurrentConfig}) {
    const std::u16string prefix = RegRoot::nativePrefixOf(root, userId_);
    ok = ok && splitNativePath(prefix, parts);
    std::int64_t row = kTopRow;
    for (std::size_t i = 0; ok && i < parts.size(); ++i) {
      row = insertChild(row, parts[i], true);
      ok = row != 0;
    }
  }
  if (ok && exec("COMMIT")) return true;
  exec("ROLLBACK");
  return false;
}

void SqliteRegistryStore::disconnect() {
  if (db_ != nullptr) sqlite3_close_v2(db_);
  db_ = nullptr;
}

void SqliteRegistryStore::moveAside() {
  const std::string base = path_ + ".damaged-" + timeStamp();
  for (int n = 1; n < 100; ++n) {
    const std::string target = n == 1 ? base : base + "-" + std::to_string(n);
    if (renameNoReplace(path_, target)) {
      // The journal files belong to the damaged file: a fresh database must
      // never replay them.
      renameNoReplace(path_ + "-wal", target + "-wal");
      renameNoReplace(path_ + "-journal", target + "-journal");
      ::unlink((path_ + "-shm").c_str());
      movedAside_ = target;
      return;
    }
    if (errno != EEXIST) return;
  }
}

bool SqliteRegistryStore::noteResult(int rc) {
  if (isDamage(rc)) damaged_ = true;
  return false;
}

bool SqliteRegistryStore::exec(const char* sql) {
  const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
  return rc == SQLITE_OK || noteResult(rc);
}

bool SqliteRegistryStore::run(Statement& statement) {
  const int rc = statement.step();
  return rc == SQLITE_DONE || noteResult(rc);
}

// ---- Keys

SqliteRegistryStore::Key SqliteRegistryStore::handleOf(std::int64_t row) const {
  return row > 0 ? (epoch_ << kEpochShift) | static_cast<std::uint64_t>(row) : kNoKey;
}

std::int64_t SqliteRegistryStore::rowOf(Key key) const {
  if (db_ == nullptr || (key >> kEpochShift) != epoch_) return 0;
  return static_cast<std::int64_t>(key & kRowMask);
}

std::int64_t SqliteRegistryStore::findChild(std::int64_t parent, std::u16string_view name) {
  Statement find(db_, "SELECT id FROM reg_keys WHERE parent=?1 AND fold=?2");
  find.bind(1, parent);
  find.bind(2, foldBytes(name));
  const int rc = find.step();
  if (rc == SQLITE_ROW) return find.integer(0);
  noteResult(rc);
  return 0;
}

std::int64_t SqliteRegistryStore::insertChild(std::int64_t parent, std::u16string_view name,
                                              bool pinned) {
  Statement insert(db_,
                   "INSERT INTO reg_keys(parent, fold, name, pinned) VALUES(?1, ?2, ?3, ?4) "
                   "ON CONFLICT(parent, fold) DO UPDATE SET pinned=max(pinned, excluded.pinned)");
  insert.bind(1, parent);
  insert.bind(2, foldBytes(name));
  insert.bind(3, nameBytes(name));
  insert.bind(4, pinned ? 1 : 0);
  return run(insert) ? findChild(parent, name) : 0;
}

std::int64_t SqliteRegistryStore::resolve(std::u16string_view nativePath, bool createLast) {
  std::vector<std::u16string_view> parts;
  if (!splitNativePath(nativePath, parts)) return 0;
  std::int64_t row = kTopRow;
  for (std::size_t i = 0; row != 0 && i < parts.size(); ++i) {
    const bool last = i + 1 == parts.size();
    row = last && createLast ? insertChild(row, parts[i], false) : findChild(row, parts[i]);
  }
  return row;
}

bool SqliteRegistryStore::keyExists(std::int64_t row) {
  Statement find(db_, "SELECT 1 FROM reg_keys WHERE id=?1");
  find.bind(1, row);
  const int rc = find.step();
  return rc == SQLITE_ROW || noteResult(rc);
}

SqliteRegistryStore::Key SqliteRegistryStore::openKey(std::u16string_view nativePath) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!ensureOpen()) return kNoKey;
  return handleOf(resolve(nativePath, false));
}

SqliteRegistryStore::Key SqliteRegistryStore::createKey(std::u16string_view nativePath) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!ensureOpen()) return kNoKey;
  return handleOf(resolve(nativePath, true));
}

void SqliteRegistryStore::closeKey(Key) {}

bool SqliteRegistryStore::deleteKey(Key key) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::int64_t row = ensureOpen() ? rowOf(key) : 0;
  if (row == 0) return false;
  Statement remove(db_,
                   "DELETE FROM reg_keys WHERE id=?1 AND pinned=0 "
                   "AND NOT EXISTS(SELECT 1 FROM reg_keys WHERE parent=?1)");
  remove.bind(1, row);
  return run(remove) && sqlite3_changes(db_) == 1;
}

bool SqliteRegistryStore::renameKey(Key key, std::u16string_view newName) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::int64_t row = ensureOpen() ? rowOf(key) : 0;
  if (row == 0 || !validKeyName(newName)) return false;
  Statement rename(db_, "UPDATE reg_keys SET fold=?2, name=?3 WHERE id=?1 AND pinned=0");
  rename.bind(1, row);
  rename.bind(2, foldBytes(newName));
  rename.bind(3, nameBytes(newName));
  return run(rename) && sqlite3_changes(db_) == 1;
}

bool SqliteRegistryStore::flushKey(Key key) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::int64_t row = ensureOpen() ? rowOf(key) : 0;
  return row != 0 && keyExists(row);
}

bool SqliteRegistryStore::listSubkeyNames(Key key, std::vector<std::u16string>& out) {
  return listNames(key, "SELECT name FROM reg_keys WHERE parent=?1 ORDER BY fold", out);
}

bool SqliteRegistryStore::listValueNames(Key key, std::vector<std::u16string>& out) {
  return listNames(key, "SELECT name FROM reg_values WHERE key=?1 ORDER BY rowid", out);
}

// The names `query` gives for the key's row (?1), in its order.
bool SqliteRegistryStore::listNames(Key key, const char* query, std::vector<std::u16string>& out) {
  out.clear();
  std::lock_guard<std::mutex> lock(mutex_);
  const std::int64_t row = ensureOpen() ? rowOf(key) : 0;
  if (row == 0 || !keyExists(row)) return false;
  Statement list(db_, query);
  list.bind(1, row);
  int rc;
  while ((rc = list.step()) == SQLITE_ROW) out.push_back(list.name(0));
  if (rc == SQLITE_DONE) return true;
  out.clear();
  return noteResult(rc);
}

// ---- Values

bool SqliteRegistryStore::queryValue(Key key, std::u16string_view name, std::uint32_t& type,
                                     std::vector<std::uint8_t>& data) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::int64_t row = ensureOpen() ? rowOf(key) : 0;
  if (row == 0 || name.size() > kMaxValueName) return false;
  Statement query(db_, "SELECT type, data FROM reg_values WHERE key=?1 AND fold=?2");
  query.bind(1, row);
  query.bind(2, foldBytes(name));
  const int rc = query.step();
  if (rc != SQLITE_ROW) return noteResult(rc);
  type = static_cast<std::uint32_t>(query.integer(0));
  query.bytes(1, data);
  return true;
}

bool SqliteRegistryStore::setValue(Key key, std::u16string_view name, std::uint32_t type,
                                   const void* data, std::size_t size) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::int64_t row = ensureOpen() ? rowOf(key) : 0;
  if (row == 0 || name.size() > kMaxValueName || size > INT_MAX) return false;
  if (data == nullptr && size != 0) return false;
  Statement set(db_,
                "INSERT INTO reg_values(key, fold, name, type, data) VALUES(?1, ?2, ?3, ?4, ?5) "
                "ON CONFLICT(key, fold) DO UPDATE SET type=excluded.type, data=excluded.data");
  set.bind(1, row);
  set.bind(2, foldBytes(name));
  set.bind(3, nameBytes(name));
  set.bind(4, static_cast<std::int64_t>(type));
  set.bind(5, data, size);
  return run(set);
}

bool SqliteRegistryStore::deleteValue(Key key, std::u16string_view name) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::int64_t row = ensureOpen() ? rowOf(key) : 0;
  if (row == 0 || name.size() > kMaxValueName) return false;
  Statement remove(db_, "DELETE FROM reg_values WHERE key=?1 AND fold=?2");
  remove.bind(1, row);
  remove.bind(2, foldBytes(name));
  return run(remove) && sqlite3_changes(db_) == 1;
}

// ---- Identity and environment

std::u16string SqliteRegistryStore::currentUserId() {
  return userId_;
}

std::u16string SqliteRegistryStore::expandEnvironment(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t open = text.find(u'%', at);
    if (open == text.npos) break;
    out.append(text.substr(at, open - at));
    const std::size_t close = text.find(u'%', open + 1);
    std::u16string value;
    if (close != text.npos && environmentValue(text.substr(open + 1, close - open - 1), value)) {
      out += value;
      at = close + 1;
    } else {
      out.push_back(u'%');  // the next '%' may open a reference of its own
      at = open + 1;
    }
  }
  out.append(text.substr(std::min(at, text.size())));
  return out;
}

}  // namespace s::os::linux_reg

namespace s::os {

namespace {

// Ends the platform store's connection when the process ends; the object
// itself stays, so late users get failures instead of a dangling store.
class StoreCloser {
 public:
  explicit StoreCloser(linux_reg::SqliteRegistryStore* store) : store_(store) {}
  ~StoreCloser() { store_->close(); }
  StoreCloser(const StoreCloser&) = delete;
  StoreCloser& operator=(const StoreCloser&) = delete;

 private:
  linux_reg::SqliteRegistryStore* store_;
};

}  // namespace

RegistryStore& platformRegistryStore() {
  static linux_reg::SqliteRegistryStore* const instance =
      new linux_reg::SqliteRegistryStore(linux_reg::SqliteRegistryStore::defaultPath());
  static const StoreCloser closer(instance);
  return *instance;
}

}  // namespace s::os
