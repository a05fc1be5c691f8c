#include "support/ScratchNtfs.h"

#include "os/linux/NameCodec.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

extern char** environ;

namespace vonq::test {

namespace {

constexpr const char* kPrefix = "vonq-scratch-ntfs-";

using Clock = std::chrono::steady_clock;

std::string tempBase() {
  const char* t = std::getenv("TMPDIR");
  return t != nullptr && t[0] == '/' ? t : "/tmp";
}

std::string findTool(const std::string& name) {
  const char* envPath = std::getenv("PATH");
  std::string dirs =
      std::string(envPath != nullptr ? envPath : "") + ":/usr/sbin:/sbin:/usr/bin:/bin";
  std::stringstream list(dirs);
  std::string dir;
  while (std::getline(list, dir, ':')) {
    if (dir.empty()) continue;
    const std::string candidate = dir + "/" + name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

// Starts `args` with stdout and stderr going to `log` (appended); the pid, or
// -1.
pid_t spawn(const std::vector<std::string>& args, const std::string& log) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

// Waits up to `timeout` for `pid`; true when it ended (exit status in `status`).
bool waitFor(pid_t pid, std::chrono::milliseconds timeout, int& status) {
  const auto end = Clock::now() + timeout;
  while (true) {
    const pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == pid || (r < 0 && errno == ECHILD)) return true;
    if (Clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

// Runs `args` to the end; true on exit status 0.
bool run(const std::vector<std::string>& args, const std::string& log) {
  const pid_t pid = spawn(args, log);
  int status = 0;
  if (pid < 0) return false;
  if (!waitFor(pid, std::chrono::seconds(120), status)) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<std::string> mountPoints() {
  std::ifstream in("/proc/self/mountinfo");
  std::vector<std::string> points;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string skip;
    std::string point;
    fields >> skip >> skip >> skip >> skip >> point;
    points.push_back(point);
  }
  return points;
}

bool isMounted(const std::string& point) {
  for (const auto& p : mountPoints()) {
    if (p == point) return true;
  }
  return false;
}

// Unmounts `point`, retrying for a while when busy, lazily as a last resort.
bool unmountPoint(const std::string& point, const std::string& log) {
  const std::string fusermount =
      findTool("fusermount").empty() ? findTool("fusermount3") : findTool("fusermount");
  const auto end = Clock::now() + std::chrono::seconds(10);
  while (isMounted(point)) {
    const bool done = !fusermount.empty() ? run({fusermount, "-u", point}, log)
                                          : run({findTool("umount"), point}, log);
    if (done) break;
    if (Clock::now() >= end) {
      run({fusermount.empty() ? findTool("umount") : fusermount, fusermount.empty() ? "-l" : "-uz",
           point},
          log);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return !isMounted(point);
}

// The pid in a scratch folder's name ("vonq-scratch-ntfs-<pid>-XXXXXX"), or 0.
pid_t ownerOf(const std::string& folderName) {
  if (folderName.rfind(kPrefix, 0) != 0) return 0;
  return static_cast<pid_t>(std::atol(folderName.c_str() + std::strlen(kPrefix)));
}

bool ownerGone(pid_t pid) {
  return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
}

}  // namespace

std::u16string ScratchNtfs::nativePath(const std::string& bytes) {
  return s::os::linux_fs::NameCodec::decode(bytes);
}

bool ScratchNtfs::capable(std::string& reason) {
  if (::geteuid() != 0) {
    reason = "scratch NTFS volumes need root (ntfs-3g mounts an image)";
  } else if (::access("/dev/fuse", R_OK | W_OK) != 0) {
    reason = "/dev/fuse is missing or not usable";
  } else if (findTool("mkntfs").empty() || findTool("ntfs-3g").empty()) {
    reason = "mkntfs or ntfs-3g is not installed (package ntfs-3g)";
  } else if (findTool("fusermount").empty() && findTool("fusermount3").empty() &&
             findTool("umount").empty()) {
    reason = "neither fusermount nor umount is installed";
  } else {
    reason.clear();
    return true;
  }
  return false;
}

ScratchNtfs::ScratchNtfs() : ScratchNtfs(Options{}) {}

ScratchNtfs::ScratchNtfs(const Options& options) : options_(options) {
  cleanStale();
  std::string templ = tempBase() + "/" + kPrefix + std::to_string(::getpid()) + "-XXXXXX";
  if (::mkdtemp(templ.data()) == nullptr) {
    fail("cannot make a temporary folder");
    return;
  }
  folder_ = templ;
  image_ = folder_ + "/volume.img";
  mountPoint_ = folder_ + "/mnt";
  if (::mkdir(mountPoint_.c_str(), 0755) != 0) {
    fail("cannot make the mount point");
  } else if (format(options)) {
    mount();
  }
}

ScratchNtfs::~ScratchNtfs() {
  if (folder_.empty()) return;
  unmount();
  std::error_code ignored;
  if (!isMounted(mountPoint_)) std::filesystem::remove_all(folder_, ignored);
}

void ScratchNtfs::fail(const std::string& what) {
  if (error_.empty()) error_ = what + " (see " + folder_ + "/log)";
}

bool ScratchNtfs::format(const Options& o) {
  const int fd = ::open(image_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  const bool sized = fd >= 0 && ::ftruncate(fd, static_cast<off_t>(o.sizeBytes)) == 0;
  if (fd >= 0) ::close(fd);
  if (!sized) {
    fail("cannot make the image file");
    return false;
  }
  if (!run({findTool("mkntfs"), "-F", "-Q", "-q", "-c", std::to_string(o.clusterSize), "-s",
            std::to_string(o.sectorSize), "-L", "scratch", image_},
           folder_ + "/log")) {
    fail("mkntfs failed");
    return false;
  }
  return true;
}

std::u16string ScratchNtfs::root() const {
  const std::string r = mountPoint_ + "/";
  return std::u16string(r.begin(), r.end());
}

std::string ScratchNtfs::path(std::string_view relative) const {
  return mountPoint_ + "/" + std::string(relative);
}

bool ScratchNtfs::mount() {
  if (mounted()) return true;
  // no_detach keeps ntfs-3g our child, so that unmount() can wait until it
  // has written everything to the image and ended.
  std::string mountOptions = "no_detach";
  if (!options_.mountOptions.empty()) mountOptions += "," + options_.mountOptions;
  const std::vector<std::string> args = {findTool("ntfs-3g"), "-o", mountOptions, image_,
                                         mountPoint_};
  const pid_t pid = spawn(args, folder_ + "/log");
  if (pid < 0) {
    fail("cannot start ntfs-3g");
    return false;
  }
  const auto end = Clock::now() + std::chrono::seconds(15);
  int status = 0;
  while (!isMounted(mountPoint_)) {
    if (::waitpid(pid, &status, WNOHANG) == pid) {
      fail("ntfs-3g ended without mounting");
      return false;
    }
    if (Clock::now() >= end) {
      ::kill(pid, SIGTERM);
      ::waitpid(pid, &status, 0);
      fail("ntfs-3g did not mount in time");
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ntfs3gPid_ = pid;
  return true;
}

bool ScratchNtfs::unmount() {
  if (!mounted()) return true;
  const bool gone = unmountPoint(mountPoint_, folder_ + "/log");
  int status = 0;
  if (!waitFor(ntfs3gPid_, std::chrono::seconds(30), status)) {
    ::kill(ntfs3gPid_, SIGTERM);
    waitFor(ntfs3gPid_, std::chrono::seconds(5), status);
  }
  ntfs3gPid_ = -1;
  return gone;
}

bool ScratchNtfs::readImage(std::string& out) {
  if (!unmount()) return false;
  std::ifstream in(image_, std::ios::binary);
  std::ostringstream data;
  data << in.rdbuf();
  out = data.str();
  return static_cast<bool>(in);
}

bool ScratchNtfs::imageContains(std::string_view marker) {
  std::string image;
  return readImage(image) && image.find(marker) != std::string::npos;
}

void ScratchNtfs::cleanStale() {
  const std::string base = tempBase();
  for (const auto& point : mountPoints()) {
    if (point.rfind(base + "/" + kPrefix, 0) != 0) continue;
    const std::string folderName =
        point.substr(base.size() + 1, point.find('/', base.size() + 1) - base.size() - 1);
    if (ownerGone(ownerOf(folderName))) unmountPoint(point, "/dev/null");
  }
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(base, ec)) {
    const std::string name = entry.path().filename().string();
    const std::string mnt = entry.path().string() + "/mnt";
    if (ownerGone(ownerOf(name)) && !isMounted(mnt)) {
      std::error_code ignored;
      std::filesystem::remove_all(entry.path(), ignored);
    }
  }
}

}  // namespace vonq::test
