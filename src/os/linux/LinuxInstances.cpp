#include "os/linux/LinuxInstances.h"

#include <dirent.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "os/linux/NameCodec.h"

namespace s::os {

namespace {

constexpr int kAnswerMillis = 3000;

using linux_fs::NameCodec;

std::string encoded(std::u16string_view text) {
  std::string bytes;
  return NameCodec::encode(text, bytes) ? bytes : std::string();
}

std::string readLink(const std::string& path) {
  char target[4096];
  const ssize_t length = ::readlink(path.c_str(), target, sizeof target - 1);
  if (length <= 0) return {};
  return std::string(target, static_cast<std::size_t>(length));
}

// The socket's address: a file in the user's runtime folder, else an
// abstract name. Both are named after the user and the executable path.
sockaddr_un addressFor(const std::string& program, std::string& file, socklen_t& length) {
  const std::size_t hash = std::hash<std::string>{}(program);
  char name[96];
  std::snprintf(name, sizeof name, "vonq-drive-scrubber-%u-%016zx.sock",
                static_cast<unsigned>(::getuid()), hash);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  struct stat folder {};
  if (runtime != nullptr && *runtime == '/' && ::stat(runtime, &folder) == 0 &&
      S_ISDIR(folder.st_mode) && folder.st_uid == ::getuid() &&
      std::strlen(runtime) + std::strlen(name) + 2 < sizeof address.sun_path) {
    file = std::string(runtime) + "/" + name;
    std::memcpy(address.sun_path, file.c_str(), file.size() + 1);
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + file.size() + 1);
  } else {
    file.clear();
    std::memcpy(address.sun_path + 1, name, std::strlen(name));
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + std::strlen(name));
  }
  return address;
}

bool samePeerUser(int connection) {
  ucred peer{};
  socklen_t size = sizeof peer;
  return ::getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
         peer.uid == ::getuid();
}

bool waitReadable(int fd, int millis) {
  pollfd ready{fd, POLLIN, 0};
  return ::poll(&ready, 1, millis) == 1;
}

}  // namespace

LinuxInstances::~LinuxInstances() {
  stopListening();
}

std::u16string LinuxInstances::programPath() {
  return NameCodec::decode(readLink("/proc/self/exe"));
}

bool LinuxInstances::otherRunning(std::u16string_view programPath) {
  const std::string wanted = encoded(programPath);
  if (wanted.empty()) return false;
  DIR* processes = ::opendir("/proc");
  if (processes == nullptr) return false;
  const std::string self = std::to_string(::getpid());
  bool found = false;
  while (dirent* entry = ::readdir(processes)) {
    const char* pid = entry->d_name;
    if (*pid < '1' || *pid > '9' || self == pid) continue;
    if (readLink(std::string("/proc/") + pid + "/exe") == wanted) {
      found = true;
      break;
    }
  }
  ::closedir(processes);
  return found;
}

bool LinuxInstances::send(std::u16string_view programPath, Message message) {
  std::string file;
  socklen_t length = 0;
  const sockaddr_un address = addressFor(encoded(programPath), file, length);
  const int connection = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (connection < 0) return false;
  bool answered = false;
  if (::connect(connection, reinterpret_cast<const sockaddr*>(&address), length) == 0 &&
      samePeerUser(connection)) {
    const auto byte = static_cast<unsigned char>(message);
    unsigned char reply = 0;
    answered = ::send(connection, &byte, 1, MSG_NOSIGNAL) == 1 &&
               waitReadable(connection, kAnswerMillis) && ::recv(connection, &reply, 1, 0) == 1;
  }
  ::close(connection);
  return answered;
}

bool LinuxInstances::listen(std::u16string_view programPath, std::function<void(Message)> handler) {
  std::lock_guard<std::mutex> hold(lock_);
  if (socket_ >= 0) return true;
  socklen_t length = 0;
  const sockaddr_un address = addressFor(encoded(programPath), socketFile_, length);
  const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (server < 0) return false;
  // A socket file left by a copy that died answers nobody: take it over.
  if (!socketFile_.empty()) ::unlink(socketFile_.c_str());
  if (::bind(server, reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
      ::listen(server, 4) != 0) {
    ::close(server);
    socketFile_.clear();
    return false;
  }
  socket_ = server;
  listener_ = std::thread(&LinuxInstances::serve, this, server, std::move(handler));
  return true;
}

void LinuxInstances::serve(int server, std::function<void(Message)> handler) {
  while (true) {
    const int connection = ::accept4(server, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return;  // the socket was shut down
    }
    unsigned char byte = 0;
    if (samePeerUser(connection) && waitReadable(connection, kAnswerMillis) &&
        ::recv(connection, &byte, 1, 0) == 1 && (byte == kActivate || byte == kSecondMessage)) {
      handler(static_cast<Message>(byte));
      ::send(connection, &byte, 1, MSG_NOSIGNAL);
    }
    ::close(connection);
  }
}

void LinuxInstances::stopListening() {
  std::lock_guard<std::mutex> hold(lock_);
  if (socket_ < 0) return;
  ::shutdown(socket_, SHUT_RDWR);
  listener_.join();
  ::close(socket_);
  socket_ = -1;
  if (!socketFile_.empty()) ::unlink(socketFile_.c_str());
  socketFile_.clear();
}

Instances& instances() {
  static LinuxInstances instance;
  return instance;
}

}  // namespace s::os
