#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "file/win/PathWin.h"
#include "os/FileSystemWrapper.h"

namespace vonq::test {

// A fresh folder under the system's temporary folder, removed with
// everything in it when the object ends.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vonq-file-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& root() const { return root_; }
  std::string at(const std::string& relative) const { return root_ + "/" + relative; }

 private:
  std::string root_;
};

inline std::u16string u16(const std::string& ascii) {
  return {ascii.begin(), ascii.end()};
}
inline std::string u8(std::u16string_view text) {
  return {text.begin(), text.end()};
}

inline void writeText(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

inline std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A path object for an ASCII path, given back to its pool at scope end.
class Path {
 public:
  explicit Path(const std::string& text) : path_(s::file::win::PathWin::fromText(u16(text))) {}
  ~Path() { path_->release(); }
  Path(const Path&) = delete;
  Path& operator=(const Path&) = delete;
  s::file::win::PathWin* operator->() const { return path_; }
  s::file::win::PathWin& operator*() const { return *path_; }

 private:
  s::file::win::PathWin* path_;
};

// Installs a file-system wrapper as the process-wide one for one scope.
class Installed {
 public:
  explicit Installed(s::os::FileSystem& replacement)
      : previous_(s::os::setFileSystem(&replacement)) {}
  ~Installed() { s::os::setFileSystem(previous_); }
  Installed(const Installed&) = delete;
  Installed& operator=(const Installed&) = delete;

 private:
  s::os::FileSystem* previous_;
};

// Points the per-user journal of pending deletions at a temporary folder
// for one scope.
class ScopedStateHome {
 public:
  explicit ScopedStateHome(const std::string& folder) {
    const char* old = std::getenv("XDG_STATE_HOME");
    hadOld_ = old != nullptr;
    if (hadOld_) old_ = old;
    ::setenv("XDG_STATE_HOME", folder.c_str(), 1);
  }
  ~ScopedStateHome() {
    if (hadOld_) {
      ::setenv("XDG_STATE_HOME", old_.c_str(), 1);
    } else {
      ::unsetenv("XDG_STATE_HOME");
    }
  }
  std::string journal() const {
    return std::string(std::getenv("XDG_STATE_HOME")) + "/vonq-scrubber/pending-deletions";
  }

 private:
  bool hadOld_ = false;
  std::string old_;
};

}  // namespace vonq::test
