#include "file/win/PathWin.h"

#include <utility>
#include <vector>

#include "col/_array/ArrayP.h"
#include "col/_array/ArrayU08.h"
#include "file/win/FileInputStream.h"
#include "file/win/FileOutputStream.h"
#include "file/wiper/Random.h"
#include "os/FileAttributes.h"
#include "os/FileSystem.h"
#include "os/Shell.h"
#include "os/System.h"
#include "str/strbuffer/StrBuffer.h"

namespace s::file::win {

using s::col::_array::ArrayP;
using s::os::EntryKind;
using s::os::FileAttributes;
using s::os::fileSystem;

namespace {

constexpr std::size_t kLongFormFrom = 250;
constexpr int kRenameAttempts = 20;
constexpr std::uint32_t kRenameRetryMillis = 50;

char16_t separator() {
  return fileSystem().separator();
}
bool windowsStyle() {
  return separator() == u'\\';
}

std::size_t length(const char16_t* text) {
  std::size_t n = 0;
  if (text != nullptr) {
    while (text[n] != 0) ++n;
  }
  return n;
}

bool isRandomNameChar(std::int8_t c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '1' && c <= '9');
}

// A letter or a digit 1-9 from the shared generator.
char16_t randomNameChar() {
  for (;;) {
    const auto c = static_cast<std::int8_t>(s::file::wiper::Random::random15() & 0xFF);
    if (isRandomNameChar(c)) return static_cast<char16_t>(c);
  }
}

// The text without its last component ("" when it has no separator).
std::u16string parentOf(const std::u16string& text) {
  const std::size_t cut = text.find_last_of(separator());
  if (cut == std::u16string::npos) return {};
  return text.substr(0, cut == 0 ? 1 : cut);
}

std::u16string childOf(const std::u16string& folder, const std::u16string& name) {
  std::u16string child = folder;
  if (child.empty() || child.back() != separator()) child.push_back(separator());
  return child + name;
}

ArrayP* newPathList() {
  ArrayP* list = ArrayP::create();
  list->setDisposer(&PathWin::pool());
  return list;
}

}  // namespace

PathWin* PathWin::fromText(const char16_t* text) {
  return fromText(std::u16string_view(text != nullptr ? text : u"", length(text)));
}

PathWin* PathWin::fromText(std::u16string_view text) {
  PathWin* path = create();
  path->set(text);
  return path;
}

void PathWin::reset() {
  clear();
}

void PathWin::clear() {
  text_.clear();
  drive_.clear();
  folder_.clear();
  name_.clear();
  extension_.clear();
  longForm_.clear();
  volume_ = s::os::VolumeInfo();
  nameCache_.clear();
  volumeRead_ = volumeOk_ = nameKnown_ = valid_ = stream_ = false;
  attributes_ = kInvalidAttributes;
  attributesRead_ = statusRead_ = statusOk_ = false;
  size_ = 0;
  volumeKind_ = kUnasked;
  allocatedSize_ = -1;
  streamSize_ = -1;
}

void PathWin::set(const char16_t* text) {
  set(std::u16string_view(text != nullptr ? text : u"", length(text)));
}

void PathWin::set(std::u16string_view text) {
  clear();
  if (text.empty()) return;
  const char16_t sep = separator();
  text_.assign(text);
  if (sep == u'\\') {
    for (char16_t& c : text_) {
      if (c == u'/') c = u'\\';
    }
  }
  while (text_.size() > 1 && text_.back() == sep) text_.pop_back();
  if (sep == u'\\' && text_.size() == 1 && text_[0] == sep) text_.clear();
  if (text_.empty()) return;
  valid_ = true;

  // Split: drive (Windows only), folder up to the last separator, name and
  // extension from the last dot of the rest.
  std::size_t rest = 0;
  if (sep == u'\\' && text_.size() >= 2 && text_[1] == u':') {
    drive_ = text_.substr(0, 2);
    rest = 2;
  }
  const std::size_t lastSep = text_.find_last_of(sep);
  std::size_t nameStart = rest;
  if (lastSep != std::u16string::npos && lastSep >= rest) {
    folder_ = text_.substr(rest, lastSep + 1 - rest);
    nameStart = lastSep + 1;
  }
  const std::u16string last = text_.substr(nameStart);
  const std::size_t dot = last.find_last_of(u'.');
  name_ = dot == std::u16string::npos ? last : last.substr(0, dot);
  extension_ = dot == std::u16string::npos ? std::u16string() : last.substr(dot);

  // Named streams ("file.txt:extra") exist only where the separator is "\";
  // elsewhere ':' is an ordinary character of a name.
  if (sep == u'\\') {
    stream_ =
        extension_.find(u':') != std::u16string::npos || name_.find(u':') != std::u16string::npos;
    if (text_.size() >= kLongFormFrom) {
      longForm_ = text_.compare(0, 2, u"\\\\") == 0 ? u"\\\\?\\UNC\\" + text_.substr(2)
                                                    : u"\\\\?\\" + text_;
    }
  }
}

const char16_t* PathWin::getLongPath() const {
  return longForm_.empty() ? text_.c_str() : longForm_.c_str();
}

const char16_t* PathWin::getName() {
  if (!nameKnown_) {
    nameCache_ = name_ + extension_;
    nameKnown_ = true;
  }
  return nameCache_.c_str();
}

bool PathWin::exists() {
  return valid_ && fileSystem().exists(text_);
}

bool PathWin::isLinkOrSpecial() {
  s::os::FileInfo info;
  return valid_ && fileSystem().stat(getLongPath(), info) &&
         (info.kind == EntryKind::Link || info.kind == EntryKind::Special);
}

const s::os::VolumeInfo* PathWin::volume() {
  if (!volumeRead_ && valid_) {
    volumeRead_ = true;
    for (std::u16string probe = text_; !probe.empty(); probe = parentOf(probe)) {
      if (fileSystem().exists(probe)) {
        volumeOk_ = fileSystem().volumeOf(probe, volume_);
        break;
      }
      if (probe.size() == 1) break;
    }
  }
  return volumeOk_ ? &volume_ : nullptr;
}

// The root of the volume that holds the entry, or of the nearest existing
// folder above it when the entry does not exist (yet).
const char16_t* PathWin::getRoot() {
  // A drive-letter path asks its volume like any other (its geometry is
  // needed); only when the volume cannot be asked is the root the letter's.
  if (volume() == nullptr && !drive_.empty()) {
    volume_ = s::os::VolumeInfo();
    volume_.root = drive_ + separator();
    volumeOk_ = volumeRead_ = true;
  }
  const s::os::VolumeInfo* v = volume();
  return v != nullptr ? v->root.c_str() : u"";
}

void PathWin::shareVolumeOf(PathWin& other) {
  other.volume();
  volume_ = other.volume_;
  volumeRead_ = other.volumeRead_;
  volumeOk_ = other.volumeOk_;
}

bool PathWin::isDriveRoot() {
  if (!valid_) return false;
  if (windowsStyle()) return text_.size() <= 3;
  const std::u16string root = getRoot();
  return !root.empty() && (root == text_ || root == text_ + separator());
}

std::int32_t PathWin::volumeKind() {
  if (volumeKind_ != kUnasked) return volumeKind_;
  volumeKind_ = kUnknown;
  getRoot();
  const s::os::VolumeInfo* v = volume();
  if (v == nullptr) return volumeKind_;
  static const std::pair<const char16_t*, VolumeKind> kNames[] = {
      {u"FAT", kFat}, {u"FAT32", kFat32}, {u"VFAT", kVfat}, {u"NTFS", kNtfs}, {u"HPFS", kHpfs}};
  for (const auto& [name, kind] : kNames) {
    if (v->fileSystem == name) volumeKind_ = kind;
  }
  return volumeKind_;
}

bool PathWin::isNTFS() {
  return volumeKind() == kNtfs;
}

bool PathWin::isFATFamily() {
  const std::int32_t kind = volumeKind();
  return kind == kFat || kind == kFat32 || kind == kVfat;
}

std::uint32_t PathWin::getAttributes() {
  if (!attributesRead_) {
    attributes_ = valid_ ? fileSystem().getAttributes(getLongPath()) : kInvalidAttributes;
    attributesRead_ = true;
  }
  return attributes_;
}

bool PathWin::addAttributes(std::uint32_t bits) {
  const std::uint32_t current = getAttributes();
  if (current != kInvalidAttributes && (current & bits) == bits) return true;
  const std::uint32_t wanted = (current == kInvalidAttributes ? 0 : current) | bits;
  if (!valid_ || !fileSystem().setAttributes(getLongPath(), wanted)) return false;
  attributes_ = wanted;
  attributesRead_ = true;
  return true;
}

bool PathWin::setAttributes(std::uint32_t bits) {
  if (attributesRead_ && attributes_ == bits) return true;
  if (!valid_ || !fileSystem().setAttributes(getLongPath(), bits)) return false;
  attributes_ = bits;
  attributesRead_ = true;
  return true;
}

bool PathWin::isFolder() {
  const std::uint32_t a = getAttributes();
  return a != kInvalidAttributes && (a & FileAttributes::kDirectory) != 0;
}

bool PathWin::isFile() {
  const std::uint32_t a = getAttributes();
  return a != kInvalidAttributes && (a & FileAttributes::kDirectory) == 0;
}

bool PathWin::readStatus() {
  if (!statusRead_) {
    statusRead_ = true;
    s::os::FileInfo info;
    statusOk_ = valid_ && fileSystem().stat(text_, info);
    size_ = statusOk_ && info.kind == EntryKind::File ? info.size : 0;
  }
  return statusOk_;
}

std::uint64_t PathWin::getSize(bool recursive) {
  if (stream_) return streamSize_ >= 0 ? static_cast<std::uint64_t>(streamSize_) : 0;
  if (!recursive || !isFolder()) return readStatus() ? size_ : 0;
  ArrayP* files = listFiles(true, true, nullptr);
  std::uint64_t total = 0;
  for (std::uint32_t i = 0; i < files->length(); ++i) {
    total += static_cast<PathWin*>(files->get(i))->getSize(false);
  }
  files->release();
  return total;
}

std::uint32_t PathWin::getAllocationUnit() {
  getRoot();
  const s::os::VolumeInfo* v = volume();
  const std::uint32_t bytesPerSector = v != nullptr ? v->bytesPerSector : 0;
  const std::uint32_t cluster = v != nullptr ? v->clusterSize() : 0;
  const std::uint32_t sector = bytesPerSector < 512 ? 512 : bytesPerSector;
  return cluster > sector ? cluster : sector;
}

std::uint64_t PathWin::getAllocatedSize() {
  if (allocatedSize_ >= 0) return static_cast<std::uint64_t>(allocatedSize_);
  const std::uint64_t size = getSize(false);
  std::uint64_t allocated = 0;
  if (size > 0) {
    const std::uint64_t unit = getAllocationUnit();
    allocated = (size + unit - 1) / unit * unit;
  }
  allocatedSize_ = static_cast<std::int64_t>(allocated);
  return allocated;
}

bool PathWin::clearReadOnly() {
  if (!valid_) return false;
  const std::uint32_t a = fileSystem().getAttributes(text_);
  if (a == kInvalidAttributes) return false;
  forgetAttributes();
  if ((a & FileAttributes::kReadOnly) == 0) return true;
  const std::uint32_t rest = a & ~FileAttributes::kReadOnly & FileAttributes::kSettable;
  return fileSystem().setAttributes(text_, rest != 0 ? rest : FileAttributes::kNormal);
}

bool PathWin::moveTo(const s::file::IPath& newPath) {
  auto* target = const_cast<s::file::IPath*>(&newPath);
  // A drive root always exists, so an absent target is never one.
  if (!valid_ || !target->isValid() || target->exists() || isDriveRoot()) return false;
  return fileSystem().move(getLongPath(), target->getLongPath(), false);
}

// One round: up to 20 random names of the current name's shape; `current`
// becomes the name that worked.
bool PathWin::renameRound(std::u16string& current, const BeforeRename& beforeRename) {
  const std::size_t lastSep = current.find_last_of(separator());
  if (lastSep == std::u16string::npos || lastSep + 1 >= current.size()) return false;
  std::u16string candidate = current;
  std::size_t changed = current.size() - (lastSep + 1);
  if (changed < 3) {
    candidate += u"__";
    ++changed;  // the last '_' stays
  }
  PathWin* from = fromText(current);
  from->shareVolumeOf(*this);
  PathWin* to = create();
  bool moved = false;
  for (int attempt = 0; attempt < kRenameAttempts && !moved; ++attempt) {
    for (std::size_t i = lastSep + 1; i < lastSep + 1 + changed; ++i) {
      if (candidate[i] != u'.') candidate[i] = randomNameChar();
    }
    to->set(candidate);
    if (beforeRename && !beforeRename(current, candidate)) continue;
    moved = from->moveTo(*to);
    if (!moved) {
      s::os::system().sleepMillis(kRenameRetryMillis);
      moved = from->moveTo(*to);
    }
  }
  if (moved) current = to->text_;
  from->release();
  to->release();
  return moved;
}

bool PathWin::renameRandomly(std::int32_t count, s::str::strbuffer::StrBuffer* newPath,
                             bool restoreAttributes) {
  return renameRandomly(count, newPath, restoreAttributes, nullptr);
}

bool PathWin::renameRandomly(std::int32_t count, s::str::strbuffer::StrBuffer* newPath,
                             bool restoreAttributes, const BeforeRename& beforeRename) {
  if (!valid_ || stream_ || isDriveRoot() || (windowsStyle() && text_.size() <= 3)) return false;
  const std::uint32_t original = getAttributes();
  setAttributes(FileAttributes::kNormal);
  addAttributes(FileAttributes::kNotContentIndexed);
  if (original != kInvalidAttributes) addAttributes(original & FileAttributes::kDirectory);

  std::u16string current = text_;
  bool renamed = false;
  for (std::int32_t round = 0; round < count; ++round) {
    if (renameRound(current, beforeRename)) renamed = true;
  }
  if (restoreAttributes && original != kInvalidAttributes) {
    fileSystem().setAttributes(current, original);
  }
  if (newPath != nullptr) {
    newPath->clear();
    newPath->append(current.data(), static_cast<std::int32_t>(current.size()));
  }
  return renamed;
}

bool PathWin::createFolder(bool notify) {
  if (!valid_ || isDriveRoot() || (windowsStyle() && text_.size() <= 3)) return false;
  forgetAttributes();
  const bool made =
      fileSystem().createFolder(text_) || (createParent() && fileSystem().createFolder(text_));
  if (made && notify) s::os::shell().notifyChange(s::os::Shell::Change::FolderCreated, text_);
  return made;
}

bool PathWin::createParent() {
  if (!valid_) return false;
  const std::u16string parent = parentOf(text_);
  if (parent.empty() || fileSystem().exists(parent)) return !parent.empty();
  PathWin* folder = fromText(parent);
  const bool made = folder->createFolder(false);
  folder->release();
  return made || fileSystem().exists(parent);
}

bool PathWin::deleteFileEntry() {
  if (fileSystem().deleteFile(getLongPath())) return true;
  switch (s::os::lastFsError()) {
    case s::os::FsError::NotFound:
      return true;
    case s::os::FsError::AccessDenied:
      return clearReadOnly() && fileSystem().deleteFile(getLongPath());
    default:
      return false;
  }
}

bool PathWin::removeFolderEntry(bool scheduleOnFailure) {
  if (fileSystem().removeFolder(getLongPath())) return true;
  ArrayP* entries = listEntries(true, false, nullptr);
  bool all = true;
  for (std::uint32_t i = 0; i < entries->length(); ++i) {
    all = static_cast<PathWin*>(entries->get(i))->remove(false, scheduleOnFailure) && all;
  }
  entries->release();
  return all && fileSystem().removeFolder(getLongPath());
}

bool PathWin::remove(bool notify, bool scheduleOnFailure) {
  if (!valid_ || isDriveRoot() || (windowsStyle() && text_.size() <= 3)) return false;
  s::os::FileInfo info;
  if (!fileSystem().stat(getLongPath(), info))
    return s::os::lastFsError() == s::os::FsError::NotFound;
  forgetAttributes();
  const bool folder = info.kind == EntryKind::Folder;
  const bool removed = folder ? removeFolderEntry(scheduleOnFailure) : deleteFileEntry();
  if (removed && notify) {
    s::os::shell().notifyChange(
        folder ? s::os::Shell::Change::FolderRemoved : s::os::Shell::Change::FileDeleted, text_);
  }
  if (removed) return true;
  if (scheduleOnFailure && fileSystem().exists(getLongPath())) {
    fileSystem().scheduleDeletion(getLongPath());
  }
  return false;
}

// With includeAll false the listing hides what a desktop shell hides by
// default: hidden and system entries.
bool PathWin::hiddenFromShell(std::uint32_t attributes) const {
  return attributes != kInvalidAttributes &&
         (attributes & (FileAttributes::kHidden | FileAttributes::kSystem)) != 0;
}

void PathWin::listInto(bool includeAll, bool recursive, Filter filter, ArrayP& out) {
  std::vector<s::os::DirEntry> entries;
  s::os::FileInfo self;
  if (!valid_ || !fileSystem().stat(getLongPath(), self) || self.kind != EntryKind::Folder ||
      !fileSystem().listFolder(getLongPath(), entries)) {
    return;
  }
  volume();
  for (const s::os::DirEntry& entry : entries) {
    // Links and reparse points are never entered or listed; devices, fifos
    // and sockets are left alone too.
    if (entry.kind != EntryKind::File && entry.kind != EntryKind::Folder) continue;
    PathWin* child = fromText(childOf(text_, entry.name));
    // An entry on this folder's volume shares its volume facts.
    if (entry.device == self.device) child->shareVolumeOf(*this);
    if (!includeAll && hiddenFromShell(child->getAttributes())) {
      child->release();
      continue;
    }
    const bool folder = entry.kind == EntryKind::Folder;
    // A folder on another volume (a mount point inside this one) is listed
    // but never descended into.
    const bool descend = recursive && folder && entry.device == self.device;
    const bool keep = filter == Filter::All || (filter == Filter::FoldersOnly) == folder;
    if (keep) out.add(child);
    if (descend) child->listInto(includeAll, recursive, filter, out);
    if (!keep) child->release();
  }
}

ArrayP* PathWin::list(bool includeAll, bool recursive, Filter filter, ArrayP* list) {
  ArrayP* out = list != nullptr ? list : newPathList();
  listInto(includeAll, recursive, filter, *out);
  return out;
}

ArrayP* PathWin::listEntries(bool includeAll, bool recursive, ArrayP* list) {
  return this->list(includeAll, recursive, Filter::All, list);
}

ArrayP* PathWin::listFolders(bool includeAll, bool recursive, ArrayP* list) {
  return this->list(includeAll, recursive, Filter::FoldersOnly, list);
}

ArrayP* PathWin::listFiles(bool includeAll, bool recursive, ArrayP* list) {
  return this->list(includeAll, recursive, Filter::NoFolders, list);
}

ArrayP* PathWin::listStreams(ArrayP* list) {
  ArrayP* out = list != nullptr ? list : newPathList();
  std::vector<s::os::StreamEntry> streams;
  if (!valid_ || stream_ || !isNTFS() || !fileSystem().listStreams(getLongPath(), streams)) {
    return out;
  }
  for (const s::os::StreamEntry& stream : streams) {
    PathWin* child = fromText(text_ + stream.name);
    child->shareVolumeOf(*this);
    child->setStreamSize(stream.size);
    out->add(child);
  }
  return out;
}

s::file::IFileInputStream* PathWin::openInputStream() {
  FileInputStream* stream = FileInputStream::create();
  stream->resetState();
  if (valid_) stream->open(getLongPath());
  return stream;
}

s::file::IFileOutputStream* PathWin::openOutputStream(bool append) {
  if (valid_) createParent();
  FileOutputStream* stream = FileOutputStream::create();
  stream->resetState();
  if (valid_) stream->open(getLongPath(), append);
  return stream;
}

bool PathWin::readAll(s::col::_array::ArrayU08& bytes) {
  bytes.clear();
  const std::uint64_t size = getSize(false);
  if (size > 0 && size < 0xFFFFFFFFull) bytes.reserve(static_cast<std::uint32_t>(size));
  s::file::IFileInputStream* stream = openInputStream();
  const bool opened = stream->isOpen();
  std::uint8_t piece[1024];
  std::uint32_t got = 0;
  while (stream->read(piece, sizeof piece, got)) bytes.append(piece, got, 0);
  stream->closeAndRelease();
  return opened;
}

bool PathWin::writeAll(const void* bytes, std::uint32_t count, bool append) {
  s::file::IFileOutputStream* stream = openOutputStream(append);
  const auto* data = static_cast<const std::uint8_t*>(bytes);
  bool ok = stream->isOpen();
  std::uint32_t taken = 0;
  for (std::uint32_t done = 0; ok && done < count; done += taken) {
    ok = stream->write(data + done, count - done, taken) && taken > 0;
  }
  ok = stream->flush() && ok;
  stream->closeAndRelease();
  return ok;
}

}  // namespace s::file::win
