#include "reg/RegTestSupport.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace vonq::test::reg {

namespace {

std::string makeScratchFolder(const char* prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / prefix).string() + "XXXXXX";
  return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

// Keeps the whole test program away from the user's own settings: before
// any test runs, $XDG_CONFIG_HOME points into a scratch folder (children
// inherit the folder their parent chose).
class IsolatedConfigHome {
 public:
  IsolatedConfigHome() {
    if (std::getenv(kChildFlag) != nullptr) return;
    folder_ = makeScratchFolder("vonq-reg-home-");
    const std::string config = folder_ + "/config";
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  }
  ~IsolatedConfigHome() {
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }

 private:
  std::string folder_;
};

const IsolatedConfigHome isolatedConfigHome;

}  // namespace

ScratchFolder::ScratchFolder() : path_(makeScratchFolder("vonq-reg-")) {}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

void StoreTest::SetUp() {
  ASSERT_FALSE(folder_.path().empty());
  store_ = std::make_unique<s::os::linux_reg::SqliteRegistryStore>(dbPath());
  s::os::setRegistryStore(store_.get());
}

void StoreTest::TearDown() {
  s::os::setRegistryStore(nullptr);
  store_.reset();
}

void StoreTest::reopen() {
  s::os::setRegistryStore(nullptr);
  store_ = std::make_unique<s::os::linux_reg::SqliteRegistryStore>(dbPath());
  s::os::setRegistryStore(store_.get());
}

int startChild(const std::string& filter, const std::vector<std::string>& environment,
               const std::string& log) {
  std::vector<std::string> entries = environment;
  entries.push_back(std::string(kChildFlag) + "=1");
  const auto overridden = [&environment](const std::string& entry) {
    for (const std::string& own : environment) {
      if (entry.compare(0, own.find('=') + 1, own, 0, own.find('=') + 1) == 0) return true;
    }
    return false;
  };
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (!overridden(*entry)) entries.emplace_back(*entry);
  }
  std::vector<char*> envp;
  for (std::string& entry : entries) envp.push_back(entry.data());
  envp.push_back(nullptr);

  std::string filterArg = "--gtest_filter=" + filter;
  std::string disabledArg = "--gtest_also_run_disabled_tests";
  std::string exe = "/proc/self/exe";
  std::vector<char*> argv = {exe.data(), filterArg.data(), disabledArg.data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = -1;
  const int failed = ::posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  return failed == 0 ? pid : -1;
}

int waitChild(int pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string fileContent(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::u16string userPrefix() {
  return s::os::RegRoot::nativePrefixOf(s::os::RegRoot::kCurrentUser,
                                        s::os::linux_reg::SqliteRegistryStore::unixUserId());
}

std::u16string u16(const std::string& ascii) {
  return {ascii.begin(), ascii.end()};
}

}  // namespace vonq::test::reg
