// The SQLite-backed registry: where it lives, values surviving a restart and
// a kill, damaged files, and several threads at once.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "os/RegistryStore.h"
#include "reg/MappedData.h"
#include "reg/RegTestSupport.h"
#include "reg/win/RegDir.h"
#include "str/strbuffer/StrBuffer.h"

namespace vonq::test::reg {
namespace {

using s::os::RegRoot;
using s::os::linux_reg::SqliteRegistryStore;
using s::reg::MappedData;
using s::reg::win::RegDir;
using s::str::strbuffer::StrBuffer;

constexpr const char16_t* kBase = u"Software\\Vonq\\Vonq Nulmark\\SaveData";
constexpr int kBurstValues = 40;

struct Releaser {
  void operator()(s::thread::IPoolable* object) const {
    if (object != nullptr) object->release();
  }
};
template <class T>
using Pooled = std::unique_ptr<T, Releaser>;

Pooled<MappedData> openSettings() {
  Pooled<MappedData> data(MappedData::create());
  data->open(RegRoot::kCurrentUser, kBase);
  return data;
}

std::u16string readText(MappedData& data, const char16_t* group, const char16_t* name) {
  Pooled<StrBuffer> out(StrBuffer::create());
  data.getValue(group, name, *out, u"<missing>", nullptr, false);
  return out->getText();
}

// The text a burst writer stores in value `index` at generation `generation`:
// long enough to span several pages, and different in every byte position
// from one generation to the next.
std::u16string burstText(int generation, int index) {
  std::u16string text = u16("gen:" + std::to_string(generation) + ":");
  const std::u16string unit = u16(std::to_string(generation * 1000 + index) + ";");
  while (text.size() < 3000) text += unit;
  return text;
}

int generationOf(const std::u16string& text) {
  const std::string ascii(text.begin(), text.end());
  return ascii.rfind("gen:", 0) == 0 ? std::atoi(ascii.c_str() + 4) : -1;
}

std::string sqliteCheck(const std::string& path) {
  sqlite3* db = nullptr;
  std::string result = "cannot open";
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
      result = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    }
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return result;
}

void writeBytes(const std::string& path, std::size_t offset, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset)),
            static_cast<ssize_t>(bytes.size()));
  ::close(fd);
}

// ---- Child programs (run only when started by the tests below)

#define VONQ_CHILD_ONLY() \
  if (std::getenv(kChildFlag) == nullptr) GTEST_SKIP() << "runs only as a child process"

TEST(RegChild, DISABLED_WriteSettings) {
  VONQ_CHILD_ONLY();
  Pooled<MappedData> data = openSettings();
  ASSERT_TRUE(data->setValue(u"MainWindow\\View", u"Width", std::int32_t{1234}));
  ASSERT_TRUE(data->setValue(u"MainWindow\\View", u"Maximized", true));
  ASSERT_TRUE(data->setValue(u"Language", u"", u"Deutsch \u00e4"));
  ASSERT_TRUE(data->setValue(u"Check", u"Last", std::uint64_t{1700000000123}));
}

TEST(RegChild, DISABLED_ReadSettings) {
  VONQ_CHILD_ONLY();
  Pooled<MappedData> data = openSettings();
  EXPECT_EQ(data->getValue(u"MainWindow\\View", u"Width", std::int32_t{0}), 1234);
  EXPECT_TRUE(data->getValue(u"MainWindow\\View", u"Maximized", false));
  EXPECT_EQ(readText(*data, u"Language", u""), u"Deutsch \u00e4");
  EXPECT_EQ(data->getValue(u"Check", u"Last", std::uint64_t{0}), 1700000000123u);
}

// Rewrites kBurstValues values generation after generation until killed (or
// two minutes passed); creates the file named by VONQ_REG_READY once a
// generation is complete.
TEST(RegChild, DISABLED_WriteBurst) {
  VONQ_CHILD_ONLY();
  Pooled<MappedData> data = openSettings();
  const int start = generationOf(readText(*data, u"Burst", u"v0"));
  const char* ready = std::getenv("VONQ_REG_READY");
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(2);
  for (int generation = start < 0 ? 1 : start + 1; std::chrono::steady_clock::now() < giveUp;
       ++generation) {
    for (int i = 0; i < kBurstValues; ++i) {
      const std::u16string name = u"v" + u16(std::to_string(i));
      ASSERT_TRUE(data->setValue(u"Burst", name.c_str(), burstText(generation, i).c_str()));
    }
    if (ready != nullptr) ::close(::open(ready, O_WRONLY | O_CREAT, 0600));
  }
}

// ---- Tests

using SqliteStore = StoreTest;

TEST(SqliteStorePaths, DefaultPathFollowsXdgConfigHomeThenHome) {
  struct Case {
    const char* config;  // null: unset
    const char* home;
    std::string expected;
  };
  const Case cases[] = {
      {"/cfg", "/home/u", "/cfg/vonq/registry.sqlite3"},
      {"/cfg/", "/home/u", "/cfg/vonq/registry.sqlite3"},
      {"relative/cfg", "/home/u", "/home/u/.config/vonq/registry.sqlite3"},
      {"", "/home/u", "/home/u/.config/vonq/registry.sqlite3"},
      {nullptr, "/home/u", "/home/u/.config/vonq/registry.sqlite3"},
  };
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const std::string savedConfig = config != nullptr ? config : "";
  const char* savedHome = std::getenv("HOME");
  const std::string homeCopy = savedHome != nullptr ? savedHome : "";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    if (c.config != nullptr) {
      ::setenv("XDG_CONFIG_HOME", c.config, 1);
    } else {
      ::unsetenv("XDG_CONFIG_HOME");
    }
    ::setenv("HOME", c.home, 1);
    EXPECT_EQ(SqliteRegistryStore::defaultPath(), c.expected);
  }
  if (config != nullptr) {
    ::setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }
  if (savedHome != nullptr) ::setenv("HOME", homeCopy.c_str(), 1);
}

TEST_F(SqliteStore, ValuesSurviveARestartOfTheProgram) {
  const std::string config = folder_.at("config");
  const std::vector<std::string> env = {"XDG_CONFIG_HOME=" + config};
  const std::string log = folder_.at("child.log");
  ASSERT_EQ(runChild("RegChild.DISABLED_WriteSettings", env, log), 0) << fileContent(log);
  const std::string file = config + "/vonq/registry.sqlite3";
  ASSERT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(std::filesystem::status(file).permissions() & std::filesystem::perms::others_read,
            std::filesystem::perms::none);
  EXPECT_EQ(runChild("RegChild.DISABLED_ReadSettings", env, log), 0) << fileContent(log);

  // A reader on another folder sees none of it.
  EXPECT_NE(runChild("RegChild.DISABLED_ReadSettings", {"XDG_CONFIG_HOME=" + folder_.at("other")},
                     folder_.at("other.log")),
            0);
}

TEST_F(SqliteStore, AKillDuringABurstOfWritesLeavesEveryValueOldOrNew) {
  const std::string config = folder_.at("config");
  const std::string file = config + "/vonq/registry.sqlite3";
  int lastGeneration = 0;
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    const std::string ready = folder_.at("ready" + std::to_string(round));
    const std::string log = folder_.at("burst.log");
    const int pid = startChild("RegChild.DISABLED_WriteBurst",
                               {"XDG_CONFIG_HOME=" + config, "VONQ_REG_READY=" + ready}, log);
    ASSERT_GT(pid, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!std::filesystem::exists(ready) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20 + 37 * round));
    ::kill(pid, SIGKILL);
    EXPECT_EQ(waitChild(pid), -1);  // killed, not ended
    ASSERT_TRUE(std::filesystem::exists(ready)) << "the writer never finished a generation\n"
                                                << fileContent(log);

    SqliteRegistryStore after(file);
    s::os::setRegistryStore(&after);
    {
      Pooled<MappedData> data = openSettings();
      std::vector<int> generations;
      for (int i = 0; i < kBurstValues; ++i) {
        const std::u16string name = u"v" + u16(std::to_string(i));
        const std::u16string text = readText(*data, u"Burst", name.c_str());
        const int generation = generationOf(text);
        ASSERT_GT(generation, 0) << "value " << i << " is missing or torn";
        ASSERT_EQ(text, burstText(generation, i)) << "value " << i << " is torn";
        generations.push_back(generation);
      }
      // Written in order: a prefix holds the newest generation, the rest the
      // one before; nothing went back behind an earlier round.
      for (int i = 1; i < kBurstValues; ++i) EXPECT_LE(generations[i], generations[i - 1]);
      EXPECT_LE(generations.front() - generations.back(), 1);
      EXPECT_GE(generations.back(), lastGeneration);
      lastGeneration = generations.front();
    }
    s::os::setRegistryStore(&store());
    after.close();
    EXPECT_EQ(sqliteCheck(file), "ok");
  }
}

// Damage done to the database file before a store opens it.
struct Damage {
  const char* what;
  std::function<void(const std::string& file)> apply;
};

void fillWithSettings(const std::string& file) {
  SqliteRegistryStore writer(file);
  s::os::RegistryStore* previous = s::os::setRegistryStore(&writer);
  {
    Pooled<MappedData> data = openSettings();
    for (int i = 0; i < 200; ++i) {
      const std::u16string name = u"v" + u16(std::to_string(i));
      data->setValue(u"Fill", name.c_str(), burstText(1, i).c_str());
    }
  }
  s::os::setRegistryStore(previous);
}

TEST_F(SqliteStore, ADamagedDatabaseIsMovedAsideAndAFreshOneStarted) {
  const Damage cases[] = {
      {"not a database",
       [](const std::string& file) { writeBytes(file, 0, std::string(8192, 'x')); }},
      {"damaged pages behind a good header",
       [](const std::string& file) {
         fillWithSettings(file);
         const auto size = std::filesystem::file_size(file);
         ASSERT_GT(size, 4096u * 4);
         writeBytes(file, 4096, std::string(size - 4096, '\xA5'));
       }},
      {"a folder in place of the file",
       [](const std::string& file) { std::filesystem::create_directories(file + "/inner"); }},
      {"another program's tables",
       [](const std::string& file) {
         sqlite3* db = nullptr;
         sqlite3_open(file.c_str(), &db);
         sqlite3_exec(db, "CREATE TABLE reg_keys(x); PRAGMA user_version=1;", nullptr, nullptr,
                      nullptr);
         sqlite3_close(db);
       }},
      {"a newer layout",
       [](const std::string& file) {
         sqlite3* db = nullptr;
         sqlite3_open(file.c_str(), &db);
         sqlite3_exec(db, "PRAGMA user_version=7;", nullptr, nullptr, nullptr);
         sqlite3_close(db);
       }},
  };
  for (const Damage& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string file = folder_.at(std::string("damaged/") + c.what + "/registry.sqlite3");
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    c.apply(file);
    if (HasFatalFailure()) return;

    SqliteRegistryStore damaged(file);
    s::os::setRegistryStore(&damaged);
    {
      Pooled<MappedData> data = openSettings();
      EXPECT_EQ(data->getValue(u"Fill", u"v1", std::int32_t{77}), 77);
      EXPECT_EQ(readText(*data, u"Fill", u"v2"), u"<missing>");
      EXPECT_TRUE(data->setValue(u"After", u"v", std::int32_t{5}));
    }
    const std::string aside = damaged.movedAsidePath();
    EXPECT_FALSE(aside.empty());
    EXPECT_TRUE(std::filesystem::exists(aside)) << "the damaged file is kept";
    s::os::setRegistryStore(&store());
    damaged.close();

    SqliteRegistryStore reopened(file);
    s::os::setRegistryStore(&reopened);
    {
      Pooled<MappedData> data = openSettings();
      EXPECT_EQ(data->getValue(u"After", u"v", std::int32_t{0}), 5);
    }
    EXPECT_EQ(reopened.movedAsidePath(), "");
    s::os::setRegistryStore(&store());
  }
}

TEST_F(SqliteStore, AFolderThatCannotBeMadeGivesDefaultsAndFailedWrites) {
  writeBytes(folder_.at("blocker"), 0, "a file where a folder should be");
  SqliteRegistryStore unusable(folder_.at("blocker/vonq/registry.sqlite3"));
  s::os::setRegistryStore(&unusable);
  {
    Pooled<MappedData> data = openSettings();
    EXPECT_EQ(data->getValue(u"View", u"Width", std::int32_t{400}), 400);
    EXPECT_FALSE(data->setValue(u"View", u"Width", std::int32_t{1}));
    EXPECT_FALSE(data->openGroupForWrite(u"View"));
  }
  s::os::setRegistryStore(&store());
}

TEST_F(SqliteStore, ThreadsUsingTheirOwnKeysDoNotDisturbEachOther) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 60;
  std::vector<std::thread> threads;
  std::vector<int> failures(kThreads, 0);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &failures] {
      const std::u16string path = u"Software\\Threads\\T" + u16(std::to_string(t));
      Pooled<RegDir> dir(RegDir::create());
      dir->openRootPath(RegRoot::kCurrentUser, path.c_str());
      for (int round = 0; round < kRounds; ++round) {
        const std::int32_t value = t * 100000 + round;
        if (!dir->setValue(u"v", value) || dir->getValue(u"v", std::int32_t{-1}) != value) {
          ++failures[t];
        }
        if (round % 10 == 0) {
          Pooled<RegDir> sub(RegDir::create());
          sub->openRootPath(RegRoot::kCurrentUser, (path + u"\\Sub").c_str());
          if (!sub->createKey() || !sub->remove(true)) ++failures[t];
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(failures[t], 0) << "thread " << t;
}

}  // namespace
}  // namespace vonq::test::reg
