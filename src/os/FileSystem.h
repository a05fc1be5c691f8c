#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "os/DirEntry.h"
#include "os/File.h"
#include "os/FileInfo.h"
#include "os/FileTimes.h"
#include "os/FsError.h"
#include "os/NtfsVolumeData.h"
#include "os/OpenMode.h"
#include "os/OpenState.h"
#include "os/StreamEntry.h"
#include "os/VolumeInfo.h"

namespace s::os {

// Volumes, files, folders, attributes, times, deferred deletion and NTFS
// volume data: every file-system call of the program goes through here. One
// process-wide instance serves the platform being built (fileSystem()); a test
// may install a wrapper with setFileSystem().
//
// Paths are UTF-16 and absolute, with the platform's separator (separator()).
// On Linux a name is a byte string: bytes that are not UTF-8 travel as the lone
// surrogates U+DC80..U+DCFF, so every name that can be listed can be opened,
// moved and deleted again. A path holding another lone surrogate or a zero
// fails with InvalidName.
//
// No operation follows a symbolic link (or reparse point) in the last place of
// a path. Every operation may be called from any thread; failures return
// false / 0 / empty / null and record lastFsError() on the calling thread.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // '/' on Linux, '\\' on Windows.
  virtual char16_t separator() const = 0;

  // ---- Volumes

  // The drives the program may offer, in the system's mount order: local
  // block devices and disk images (ntfs-3g included); never network, pseudo or
  // overlay file systems. Each is filled as by volumeOf. Empty on failure.
  virtual std::vector<VolumeInfo> listVolumes() = 0;

  // The volume holding `path` (which must exist): its root, source, file
  // system name ("NTFS", "FAT32", "FAT", else "UNKNOWN"), geometry (from the
  // boot sector when readable, else the device's sector size and the volume's
  // block size), free bytes and flags. False when no volume can be found.
  virtual bool volumeOf(std::u16string_view path, VolumeInfo& out) = 0;

  // All free bytes of the volume holding `path` (not only those open to this
  // user); 0 when the volume cannot be asked.
  virtual std::uint64_t freeBytes(std::u16string_view path) = 0;

  // Reads the NTFS boot sector and MFT record 0 (update sequence applied) of
  // the volume whose root is `root`, read-only, from its device or image.
  // False with AccessDenied when the source cannot be opened ("cannot open the
  // volume"), NotSupported when it is not NTFS, Io when it is damaged.
  virtual bool ntfsVolumeData(std::u16string_view root, NtfsVolumeData& out) = 0;

  // Asks the driver of the volume whose root is `root` to write what it
  // still holds in memory to the volume's device or image (syncfs on Linux,
  // FlushFileBuffers of the volume on Windows), so that a raw read of the
  // device sees the volume as its files do. False (AccessDenied, NotFound)
  // when it cannot be asked. Changes no file. Any thread.
  virtual bool flushVolume(std::u16string_view root) = 0;

  // Opens the device or image holding the volume whose root is `root` for
  // raw reading, read-only: never asks for write access, never follows a
  // link in `root`. A read at any position sees the volume's bytes there;
  // on Windows (\\.\X:) only whole sectors at sector positions can be read.
  // Null with AccessDenied when this user may not read it (root or
  // administrator rights are needed), NotFound when no volume has that
  // root. Any thread; the File is used by one thread at a time.
  virtual std::unique_ptr<File> openVolumeSource(std::u16string_view root) = 0;

  // ---- Files

  // Opens or creates a file as `mode` says. Null on failure: Exists (a create-
  // new on a present entry), NotFound, IsLink (the path names a symbolic
  // link, never followed), AccessDenied, NoSpace, InvalidName.
  virtual std::unique_ptr<File> openFile(std::u16string_view path, const OpenMode& mode) = 0;

  // Facts about the entry itself (a link is reported as a link). False with
  // NotFound when there is none.
  virtual bool stat(std::u16string_view path, FileInfo& out) = 0;

  // Whether an entry of that name exists (a link counts, dangling or not).
  virtual bool exists(std::u16string_view path) = 0;

  // The entry's times; false when it cannot be read. Links are not followed.
  virtual bool getTimes(std::u16string_view path, FileTimes& out) = 0;
  // Sets the non-zero fields; creation only where the volume records it.
  // False for a link (IsLink) or when the access or write time cannot be set.
  virtual bool setTimes(std::u16string_view path, const FileTimes& times) = 0;

  // The entry's FileAttributes; FileAttributes::kInvalid when it cannot be
  // read. On ntfs-3g volumes they are the volume's own. Elsewhere read-only is
  // the absence of the owner's write permission, the directory bit is the
  // entry's kind, and the other bits are what this process last set (a file
  // never set reads kArchive) - they are not stored on the volume.
  virtual std::uint32_t getAttributes(std::u16string_view path) = 0;
  // Sets the settable bits of `attributes` (the directory bit stays what the
  // entry is; kNormal counts only alone). False for a link or on failure.
  virtual bool setAttributes(std::u16string_view path, std::uint32_t attributes) = 0;

  // Whether any other handle has the file open, found by trying a write
  // lease and releasing it at once. Never blocks; never opens a link.
  virtual OpenState openState(std::u16string_view path) = 0;

  // The named data streams of the file or folder at `path`, appended to
  // `out` in the volume's order; never the main (unnamed) stream. Windows:
  // the entry is opened without following a reparse point and asked for its
  // stream information (NtQueryInformationFile, FileStreamInformation).
  // Linux keeps no streams: true with nothing added. False when the entry
  // cannot be opened (NotFound, AccessDenied) or asked (NotSupported, where
  // the native query is missing); a volume without streams (FAT) answers
  // true with nothing added. Never lists into a folder. Any thread.
  virtual bool listStreams(std::u16string_view path, std::vector<StreamEntry>& out) = 0;

  // ---- Folders

  // Creates one folder (its parent must exist). False with Exists when the
  // name is taken.
  virtual bool createFolder(std::u16string_view path) = 0;

  // Removes an empty folder. False with NotEmpty when it holds entries,
  // IsLink when the name is a link.
  virtual bool removeFolder(std::u16string_view path) = 0;

  // Lists the entries of one folder ("." and ".." left out), each described
  // without following it. The folder itself must not be a link (IsLink).
  virtual bool listFolder(std::u16string_view path, std::vector<DirEntry>& out) = 0;

  // Renames or moves an entry (a link is moved as the link itself). An
  // existing target is replaced only when `replaceExisting` is true (a folder
  // never replaces anything); otherwise false with Exists.
  virtual bool move(std::u16string_view from, std::u16string_view to, bool replaceExisting) = 0;

  // Deletes a file (or a link, never what it points at). False for a folder.
  virtual bool deleteFile(std::u16string_view path) = 0;

  // ---- Deletion at the next start

  // Records that the entry (file or folder, with everything in it) must be
  // deleted at the next start, in a per-user journal that survives crashes.
  // The entry must exist now. False when the journal cannot be written.
  virtual bool scheduleDeletion(std::u16string_view path) = 0;

  // Records, as scheduleDeletion does, that the entry now at `current`
  // must be deleted at the next start - under the name `future`, in the
  // same folder, that it is about to be renamed to. Called before the
  // rename, so that a crash right after it leaves no entry the journal does
  // not name (the record of the old name is dropped by a later replay once
  // that name is gone). False when the journal cannot be written: the
  // caller must then not rename the entry.
  virtual bool scheduleDeletionAfterMove(std::u16string_view current,
                                         std::u16string_view future) = 0;

  // Records, before they exist, that the empty files about to be created at
  // `paths` must be deleted at the next start: one journal write for all, so
  // that a crash at any later point leaves no file the journal does not name.
  // A replay deletes such an entry only while it is an empty plain file (never
  // a link, a folder or a file that holds data). False when the journal
  // cannot be written: the caller must then not create the files.
  virtual bool scheduleNewFiles(const std::vector<std::u16string>& paths) = 0;

  // Each record belongs to the process that wrote it.

  // Deletes what the journal lists and rewrites the journal. A record whose
  // writer is still running (another window, another command-line run) is
  // kept untouched; only records of ended writers (records of older versions,
  // which name none, count as such) and of the calling process itself are
  // replayed. Of those, entries that are gone or were deleted are dropped; an
  // entry that is now a link, another mount, another entry (a different file
  // id) or reached through a link is dropped untouched; an entry that could
  // not be deleted stays. Returns the number of entries deleted. Called by the
  // program and the command-line tool at start, before any work.
  virtual std::size_t replayScheduledDeletions() = 0;

  // Drops the calling process's records whose entry no longer exists (it was
  // deleted, or its name now holds another entry), so that a run that removed
  // everything it scheduled leaves an empty journal. Deletes nothing, never
  // touches another process's records. Returns the number of records
  // dropped; 0 also when the journal cannot be read or rewritten. Any
  // thread; the engine calls it when a run ends.
  virtual std::size_t forgetFinishedDeletions() = 0;

  // ---- Memory for unbuffered I/O

  // Page-aligned, zero-filled memory of `bytes` bytes; null on failure.
  virtual void* allocatePages(std::size_t bytes) = 0;
  // Gives back memory from allocatePages (the same `bytes`).
  virtual void freePages(void* pages, std::size_t bytes) = 0;
};

// The process-wide FileSystem. Never null. Any thread.
FileSystem& fileSystem();

// Installs `replacement` as the process-wide FileSystem (null restores the
// platform's own) and returns the previous one. Meant for tests; call it
// before other threads use fileSystem().
FileSystem* setFileSystem(FileSystem* replacement);

// The platform's own FileSystem, whatever is installed. Any thread.
FileSystem& platformFileSystem();

}  // namespace s::os
