#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "file/IPath.h"
#include "os/VolumeInfo.h"
#include "thread/Pooled.h"

namespace s::file::win {

// The framework's path object (see IPath for the contracts). Pooled (cap
// 1000): take one with PathWin::create(), name an entry with set(), give it
// back with release().
//
// Every file-system call goes through s::os::fileSystem(). The separator is
// the file system's: on Windows "/" is turned into "\" and a leading "X:" is
// the drive part; elsewhere the drive part is empty and "\" is an ordinary
// character of a name. Named streams exist only on Windows (listed through
// the file system's stream listing, on NTFS volumes); elsewhere no path is a
// stream and the stream listing adds nothing. Desktop-shell notifications
// go through s::os::shell(), which does nothing where there is no such
// shell.
class PathWin : public s::file::IPath, public virtual s::thread::IPoolable {
  VONQ_POOLED(PathWin, s::thread::kPoolCap)
 public:
  PathWin() { reset(); }

  // A new path object from the pool naming `text` (null: invalid).
  static PathWin* fromText(const char16_t* text);
  static PathWin* fromText(std::u16string_view text);

  void clear() override;
  bool isValid() const override { return valid_; }
  bool exists() override;
  bool isNTFS() override;
  bool isFATFamily() override;
  std::uint32_t getAttributes() override;
  bool addAttributes(std::uint32_t bits) override;
  bool setAttributes(std::uint32_t bits) override;
  bool isFolder() override;
  bool isFile() override;
  bool isLinkOrSpecial() override;
  bool isStream() const override { return stream_; }
  const char16_t* getPath() const override { return text_.c_str(); }
  const char16_t* getLongPath() const override;
  std::uint32_t getLength() const override { return static_cast<std::uint32_t>(text_.size()); }
  const char16_t* getRoot() override;
  bool isDriveRoot() override;
  std::uint64_t getSize(bool recursive) override;
  std::uint64_t getAllocatedSize() override;
  void setStreamSize(std::uint64_t size) override { streamSize_ = static_cast<std::int64_t>(size); }
  bool clearReadOnly() override;
  bool moveTo(const s::file::IPath& newPath) override;
  bool renameRandomly(std::int32_t count, s::str::strbuffer::StrBuffer* newPath,
                      bool restoreAttributes) override;

  // Called before each attempt to rename the entry from its current name to
  // a new one; returning false skips that attempt (it counts as failed).
  using BeforeRename = std::function<bool(std::u16string_view current, std::u16string_view next)>;
  // renameRandomly with `beforeRename` asked before every rename attempt.
  bool renameRandomly(std::int32_t count, s::str::strbuffer::StrBuffer* newPath,
                      bool restoreAttributes, const BeforeRename& beforeRename);
  bool createFolder(bool notify) override;
  bool createParent() override;
  bool remove(bool notify, bool scheduleOnFailure) override;
  const char16_t* getName() override;
  s::col::_array::ArrayP* listEntries(bool includeAll, bool recursive,
                                      s::col::_array::ArrayP* list) override;
  s::col::_array::ArrayP* listFolders(bool includeAll, bool recursive,
                                      s::col::_array::ArrayP* list) override;
  s::col::_array::ArrayP* listFiles(bool includeAll, bool recursive,
                                    s::col::_array::ArrayP* list) override;
  s::col::_array::ArrayP* listStreams(s::col::_array::ArrayP* list) override;
  s::file::IFileInputStream* openInputStream() override;
  s::file::IFileOutputStream* openOutputStream(bool append) override;
  bool readAll(s::col::_array::ArrayU08& bytes) override;
  bool writeAll(const void* bytes, std::uint32_t count, bool append) override;
  void set(const char16_t* text) override;
  void set(std::u16string_view text);

  // The parts of the text: drive ("C:", empty elsewhere), folder (with its
  // trailing separator), name, extension (with its dot).
  const std::u16string& getDrive() const { return drive_; }
  const std::u16string& getFolder() const { return folder_; }
  const std::u16string& getBaseName() const { return name_; }
  const std::u16string& getExtension() const { return extension_; }

  // The volume's allocation unit in bytes (the larger of the sector size,
  // at least 512, and the cluster size); 512 when the volume cannot be read.
  std::uint32_t getAllocationUnit();

  // Takes over the volume facts of `other`, which must name an entry on the
  // same volume (a renamed or listed entry), so they are not read again.
  void shareVolumeOf(PathWin& other);

  // IPoolable: back to the state of a new, invalid path.
  void reset() override;
  const char16_t* getClassName() const override { return u"s_file_win_PathWin"; }

  // Volume kinds, as the volume's file-system name gives them.
  enum VolumeKind : std::int32_t {
    kUnasked = -1,
    kUnknown = 0,
    kFat = 1,
    kFat32 = 2,
    kVfat = 3,
    kNtfs = 4,
    kHpfs = 5
  };

 private:
  enum class Filter { All, FoldersOnly, NoFolders };

  std::int32_t volumeKind();
  // The volume holding the entry (or its nearest existing folder), read once
  // per object; null when none can be found.
  const s::os::VolumeInfo* volume();
  bool readStatus();
  void forgetAttributes() { attributesRead_ = false; }
  bool deleteFileEntry();
  bool removeFolderEntry(bool scheduleOnFailure);
  bool hiddenFromShell(std::uint32_t attributes) const;
  s::col::_array::ArrayP* list(bool includeAll, bool recursive, Filter filter,
                               s::col::_array::ArrayP* list);
  void listInto(bool includeAll, bool recursive, Filter filter, s::col::_array::ArrayP& out);
  bool renameRound(std::u16string& current, const BeforeRename& beforeRename);

  std::u16string text_;
  std::u16string drive_;
  std::u16string folder_;
  std::u16string name_;
  std::u16string extension_;
  std::u16string longForm_;
  s::os::VolumeInfo volume_;
  std::u16string nameCache_;
  bool volumeRead_ = false;
  bool volumeOk_ = false;
  bool nameKnown_ = false;
  bool valid_ = false;
  bool stream_ = false;
  std::uint32_t attributes_ = kInvalidAttributes;
  bool attributesRead_ = false;
  bool statusRead_ = false;
  bool statusOk_ = false;
  std::uint64_t size_ = 0;
  std::int32_t volumeKind_ = kUnasked;
  std::int64_t allocatedSize_ = -1;
  std::int64_t streamSize_ = -1;
};

}  // namespace s::file::win
