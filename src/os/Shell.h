#pragma once

#include <string_view>

namespace s::os {

// The desktop shell's services that the engine needs: the recycle bin of a
// drive. One process-wide instance serves the platform being built
// (shell()); a test may install a wrapper with setShell().
class Shell {
 public:
  virtual ~Shell() = default;

  // Empties the recycle bin of the volume whose root is `root` (a mount point
  // or drive root with its trailing separator), without asking, showing or
  // sounding anything. On Linux these are the freedesktop.org Trash folders
  // that live on that volume ($XDG_DATA_HOME/Trash when it is there,
  // $root/.Trash/$uid, $root/.Trash-$uid): everything in their files/ and
  // info/ folders is deleted. Run as root through sudo or pkexec (SUDO_UID,
  // PKEXEC_UID), the bins of the user who asked are emptied as well: theirs
  // at the top of the volume and their home bin (from the password database)
  // when it lies on the volume. Never follows a symbolic link (a link found
  // there is deleted itself), never descends into another mount, never
  // touches anything outside those folders. Returns whether every bin found
  // was emptied (true also when there was none): false when something stayed
  // in one of them, so the caller must not report the bin as emptied then.
  // Any thread.
  virtual bool emptyRecycleBin(std::u16string_view root) = 0;

  // Opens `target` (a web address or a file) with the desktop's handler for
  // it, without waiting for that program and without reporting whether it
  // started: Windows ShellExecuteExW "open", Linux xdg-open. On Linux, when
  // the environment names a log file in VONQ_OPEN_URL_LOG, the target is
  // appended to it as a line instead (so tests see what would have opened).
  // Any thread.
  virtual void openUrl(std::u16string_view target) = 0;

  // What changed on a volume, for change notification.
  enum class Change {
    FolderCreated,  // `path` is a new folder
    FileDeleted,    // the file `path` is gone
    FolderRemoved,  // the folder `path` is gone
    FolderUpdated,  // the entries of the folder `path` changed
    FreeSpace,      // the free space of the volume whose root is `path` changed
  };

  // Tells the desktop shell that `path` changed as `change` says, so that
  // open views of it refresh. Windows: SHChangeNotify with the path's text
  // (SHCNF_PATHW), flushed for the entry changes and posted without waiting
  // for the folder and free-space ones. Linux: nothing (file managers watch
  // the volume themselves). Never fails, never reports. Any thread.
  virtual void notifyChange(Change change, std::u16string_view path) = 0;
};

// The process-wide Shell. Never null. Any thread.
Shell& shell();

// Installs `replacement` as the process-wide Shell (null restores the
// platform's own) and returns the previous one. Meant for tests; call it
// before other threads use shell().
Shell* setShell(Shell* replacement);

// The platform's own Shell, whatever is installed. Any thread.
Shell& platformShell();

}  // namespace s::os
