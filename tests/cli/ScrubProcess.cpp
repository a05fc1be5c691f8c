#include "ScrubProcess.h"

#include <grp.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace vonq::cli_test {

namespace fs = std::filesystem;

namespace {

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string tempFolder() {
  std::string pattern = (fs::temp_directory_path() / "vonq-cli-XXXXXX").string();
  return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

// Starts the program with stdin, stdout and stderr on files of `folder`.
int spawn(const std::vector<std::string>& args, const std::string& folder,
          const std::string& stateHome, int uid = -1) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  ::setenv("XDG_STATE_HOME", stateHome.c_str(), 1);
  const int in = ::open((folder + "/in").c_str(), O_RDONLY | O_CREAT, 0600);
  const int out = ::open((folder + "/out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const int err = ::open((folder + "/err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ::dup2(in, 0);
  ::dup2(out, 1);
  ::dup2(err, 2);
  if (uid >= 0 && (::setgroups(0, nullptr) != 0 || ::setgid(static_cast<gid_t>(uid)) != 0 ||
                   ::setuid(static_cast<uid_t>(uid)) != 0)) {
    ::_exit(126);
  }
  const std::string program = scrubProgram();
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  ::execv(program.c_str(), argv.data());
  ::_exit(127);
}

int waitFor(int pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

std::string scrubProgram() {
  if (const char* given = std::getenv("VONQ_SCRUB")) return given;
#ifdef VONQ_SCRUB_PATH
  return VONQ_SCRUB_PATH;
#endif
  std::error_code ignored;
  return (fs::read_symlink("/proc/self/exe", ignored).parent_path().parent_path() / "vonq-scrub")
      .string();
}

Finished runScrub(const std::vector<std::string>& args, const std::string& input,
                  const std::string& stateHome, int uid) {
  const std::string folder = tempFolder();
  std::ofstream(folder + "/in") << input;
  Finished f;
  f.exitCode = waitFor(spawn(args, folder, stateHome.empty() ? folder + "/state" : stateHome, uid));
  f.out = readAll(folder + "/out");
  f.err = readAll(folder + "/err");
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return f;
}

Running::Running(const std::vector<std::string>& args, const std::string& stateHome)
    : folder_(tempFolder()) {
  pid_ = spawn(args, folder_, stateHome);
}

Running::~Running() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    waitFor(pid_);
  }
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

bool Running::waitForOutput(const std::string& text, int seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < end) {
    if (out().find(text) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

void Running::signal(int sig) {
  if (pid_ > 0) ::kill(pid_, sig);
}

int Running::wait() {
  const int code = waitFor(pid_);
  pid_ = -1;
  return code;
}

std::string Running::out() const {
  return readAll(folder_ + "/out");
}

}  // namespace vonq::cli_test
