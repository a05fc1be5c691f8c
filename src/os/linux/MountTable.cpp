#include "os/linux/MountTable.h"

#include <sys/stat.h>

#include <fstream>
#include <sstream>

namespace s::os::linux_fs {

namespace {

// Undoes the \ooo escapes mountinfo uses for space, tab, newline and '\'.
std::string unescape(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3' &&
        field[i + 2] >= '0' && field[i + 2] <= '7' && field[i + 3] >= '0' && field[i + 3] <= '7') {
      out.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                      (field[i + 3] - '0')));
      i += 3;
    } else {
      out.push_back(field[i]);
    }
  }
  return out;
}

std::vector<std::string_view> splitSpaces(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

bool hasOption(std::string_view options, std::string_view name) {
  std::size_t i = 0;
  while (i <= options.size()) {
    const std::size_t comma = options.find(',', i);
    const std::size_t end = comma == std::string_view::npos ? options.size() : comma;
    if (options.substr(i, end - i) == name) return true;
    i = end + 1;
  }
  return false;
}

bool isUnder(std::string_view path, std::string_view mountPoint) {
  if (mountPoint == "/") return !path.empty() && path[0] == '/';
  if (path.substr(0, mountPoint.size()) != mountPoint) return false;
  return path.size() == mountPoint.size() || path[mountPoint.size()] == '/';
}

}  // namespace

bool MountEntry::readOnly() const {
  return hasOption(options, "ro") || hasOption(superOptions, "ro");
}

std::vector<MountEntry> MountTable::parse(std::string_view text) {
  std::vector<MountEntry> mounts;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const auto fields = splitSpaces(text.substr(pos, end - pos));
    pos = end + 1;
    std::size_t dash = 6;
    while (dash < fields.size() && fields[dash] != "-") ++dash;
    if (fields.size() < 6 || dash + 2 >= fields.size()) continue;
    MountEntry m;
    m.root = unescape(fields[3]);
    m.mountPoint = unescape(fields[4]);
    m.options = std::string(fields[5]);
    m.fsType = unescape(fields[dash + 1]);
    m.source = unescape(fields[dash + 2]);
    if (dash + 3 < fields.size()) m.superOptions = std::string(fields[dash + 3]);
    mounts.push_back(std::move(m));
  }
  return mounts;
}

std::vector<MountEntry> MountTable::read(const char* file) {
  std::ifstream in(file);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return parse(text.str());
}

const MountEntry* MountTable::containing(const std::vector<MountEntry>& mounts,
                                         std::string_view path) {
  const MountEntry* best = nullptr;
  for (const auto& m : mounts) {
    if (isUnder(path, m.mountPoint) &&
        (best == nullptr || m.mountPoint.size() >= best->mountPoint.size())) {
      best = &m;
    }
  }
  return best;
}

bool MountTable::eligible(const MountEntry& mount) {
  if (mount.root != "/" || mount.source.empty() || mount.source[0] != '/') return false;
  if (mount.fsType == "overlay" || mount.fsType.rfind("fuse.", 0) == 0) return false;
  struct stat st {};
  if (::stat(mount.source.c_str(), &st) != 0) return false;
  if (S_ISBLK(st.st_mode)) return true;
  return (mount.fsType == "fuse" || mount.fsType == "fuseblk") && S_ISREG(st.st_mode);
}

}  // namespace s::os::linux_fs
