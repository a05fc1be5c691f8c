#pragma once

#include <cstdint>

#include "base/IObject.h"

namespace s::col::_array {
class ArrayP;
class ArrayU08;
}  // namespace s::col::_array
namespace s::str::strbuffer {
class StrBuffer;
}

namespace s::file {

class IFileInputStream;
class IFileOutputStream;

// A file-system path held as text, split into its parts, with the facts
// about the entry it names read lazily and cached (existence is not cached;
// attributes, size, allocated size and the volume kind are), and the file
// operations the program performs on paths.
//
// Common rules:
// - The separator is the platform's ("\" on Windows, "/" elsewhere); "/" is
//   accepted on Windows too. Trailing separators are dropped, except that a
//   bare root keeps its only one.
// - A "drive root" is the root of a mounted volume: "C:\" (text "C:") on
//   Windows, the volume's mount point elsewhere. exists() answers for it as
//   for any entry; remove, moveTo, createFolder and renameRandomly refuse it.
// - Nothing here follows a symbolic link (or any reparse point): the entry a
//   path names is the link itself; listings skip links; a link is neither a
//   file nor a folder to these operations.
// - No exception leaves any operation; failures are false, 0, an empty text
//   or INVALID (0xFFFFFFFF) attributes, as each operation says.
// - A path object is used by one thread at a time.
class IPath : public virtual s::base::IObject {
 public:
  static constexpr std::uint32_t kInvalidAttributes = 0xFFFFFFFFu;

  ~IPath() override = default;

  // Empties the text, its parts and every cached fact. Not valid afterwards.
  virtual void clear() = 0;

  // True when set() was given a non-empty text that could be split.
  virtual bool isValid() const = 0;

  // True when valid and an entry of that name exists (a symbolic link
  // counts as an entry, whether or not it points anywhere). Never cached.
  virtual bool exists() = 0;

  // Whether the entry's volume is NTFS / of the FAT family (FAT, FAT32,
  // VFAT). Asked once per object; false when the volume cannot be read.
  virtual bool isNTFS() = 0;
  virtual bool isFATFamily() = 0;

  // The entry's attribute bits (s::os::FileAttributes), read once and
  // cached; kInvalidAttributes when the entry cannot be read.
  virtual std::uint32_t getAttributes() = 0;

  // Sets cached | bits. True at once when the cached attributes already hold
  // every bit; caches the new value on success.
  virtual bool addAttributes(std::uint32_t bits) = 0;

  // Sets the attributes to `bits`. True at once when they were read and
  // equal `bits`; caches the new value on success.
  virtual bool setAttributes(std::uint32_t bits) = 0;

  // Cached attributes say folder (0x10) / not folder. A path that cannot be
  // read is neither.
  virtual bool isFolder() = 0;
  virtual bool isFile() = 0;

  // True when the entry is a symbolic link, a device, a fifo or a socket:
  // an entry that the wipe operations leave alone. Never cached.
  virtual bool isLinkOrSpecial() = 0;

  // True when the path names a named data stream of a file. Only where the
  // platform offers streams; never on Linux.
  virtual bool isStream() const = 0;

  // The text, zero-terminated. Valid until the next set() or clear().
  virtual const char16_t* getPath() const = 0;

  // The text as the system receives it (the long form for very long
  // Windows paths, otherwise the text). Same lifetime as getPath().
  virtual const char16_t* getLongPath() const = 0;

  // Characters of the text.
  virtual std::uint32_t getLength() const = 0;

  // The root of the entry's volume with a trailing separator ("C:\",
  // "/media/usb/"), computed once; an empty text when it cannot be found.
  virtual const char16_t* getRoot() = 0;

  // True when the path is the root of its volume (see the common rules).
  virtual bool isDriveRoot() = 0;

  // Size in bytes of the entry's data (a stream: its recorded size). 0 for
  // a missing entry. With `recursive`, a folder's size is the sum of its
  // files, walked without following links or leaving the volume.
  virtual std::uint64_t getSize(bool recursive) = 0;

  // The size rounded up to the volume's allocation unit (the larger of the
  // sector size, at least 512, and the cluster size); 0 for an empty entry.
  // Computed once.
  virtual std::uint64_t getAllocatedSize() = 0;

  // Records the size of a named stream (set by the stream listing).
  virtual void setStreamSize(std::uint64_t size) = 0;

  // Gives the entry write permission. True on success.
  virtual bool clearReadOnly() = 0;

  // Moves the entry to `newPath`, never replacing an existing entry. False
  // when the new path is invalid, a drive root, or exists, or the move fails.
  // The object keeps naming the old path.
  virtual bool moveTo(const IPath& newPath) = 0;

  // Renames the entry `count` times to random names of the same shape (every
  // character but '.' replaced by one of A-Z, a-z, 1-9; a name shorter than
  // three characters first gets "__" appended, and its last '_' stays). Up
  // to 20 names are tried per round. `newPath` (may be null) receives the
  // final path. When `restoreAttributes`, the entry's attributes are put
  // back afterwards (they are normal + not-content-indexed while renaming).
  // True when at least one round succeeded. False at once for a drive root
  // or a stream. The object keeps naming the old path.
  virtual bool renameRandomly(std::int32_t count, s::str::strbuffer::StrBuffer* newPath,
                              bool restoreAttributes) = 0;

  // Creates the folder (and, when that fails, its parent folders, then tries
  // once more). `notify` tells the desktop shell where it listens. False for
  // a drive root or when the folder could not be made.
  virtual bool createFolder(bool notify) = 0;

  // True when the parent folder exists or could be created.
  virtual bool createParent() = 0;

  // Deletes the entry. True when it is gone (or was not there). A read-only
  // file is given write permission and tried again. A folder that cannot be
  // removed is emptied first (each entry removed the same way), then removed.
  // When something could not be removed and `scheduleOnFailure` is set, the
  // entry is journalled for deletion at the next start and the result is
  // false. False for a drive root. A link is removed itself, never followed.
  virtual bool remove(bool notify, bool scheduleOnFailure) = 0;

  // The name with its extension (last part of the text). Same lifetime as
  // getPath().
  virtual const char16_t* getName() = 0;

  // New path objects for the entries of this folder (not "." and ".."; never
  // symbolic links or other reparse points), appended to `list`; a null
  // `list` makes a new ArrayP that gives its elements back to the path pool
  // when it drops them (the caller releases it). With `includeAll` false,
  // hidden and system entries are left out as the desktop shell would.
  // `recursive` follows folders (never across links or into other volumes).
  // listFolders keeps only folders, listFiles only other entries (with
  // `recursive`, folders are descended into but not listed). Returns `list`
  // (or the new one); an unreadable folder adds nothing.
  virtual s::col::_array::ArrayP* listEntries(bool includeAll, bool recursive,
                                              s::col::_array::ArrayP* list) = 0;
  virtual s::col::_array::ArrayP* listFolders(bool includeAll, bool recursive,
                                              s::col::_array::ArrayP* list) = 0;
  virtual s::col::_array::ArrayP* listFiles(bool includeAll, bool recursive,
                                            s::col::_array::ArrayP* list) = 0;

  // The named data streams of the entry as new path objects with their
  // sizes recorded (never the main stream), appended to `list` (or a new
  // list as above). Adds nothing where the platform has no streams.
  virtual s::col::_array::ArrayP* listStreams(s::col::_array::ArrayP* list) = 0;

  // A new input stream on the file (from its pool; give it back with
  // release() or closeAndRelease()). Never null; when the file cannot be
  // opened the stream has no handle and every read fails.
  virtual IFileInputStream* openInputStream() = 0;

  // A new output stream on the file, created (or emptied, or with `append`
  // positioned at its end), its parent folder made first when missing.
  // Never null; when the file cannot be opened every write fails.
  virtual IFileOutputStream* openOutputStream(bool append) = 0;

  // Replaces the whole file's bytes into `bytes` (emptied first). False when
  // the file could not be read completely; `bytes` then holds what was read
  // (nothing for a missing file).
  virtual bool readAll(s::col::_array::ArrayU08& bytes) = 0;

  // Writes `count` bytes to the file (replacing it, or appended). True when
  // every byte reached the file.
  virtual bool writeAll(const void* bytes, std::uint32_t count, bool append) = 0;

  // Makes this object name `text` (a zero-terminated text; null or empty
  // leaves it invalid). Clears every cached fact first.
  virtual void set(const char16_t* text) = 0;
};

}  // namespace s::file
