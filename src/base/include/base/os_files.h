// The few file operations that the standard streams cannot do soundly, in
// one place: telling a regular file from a FIFO, a device or a folder (which
// would block a reader for ever or take a write meant for a file), locking
// out a second copy of the game while it saves, and replacing a file's
// contents so that it is never seen empty or half written.
//
// Contract: only regular files are read or written; a symbolic link is
// followed to its target and the target is what gets replaced; a file whose
// mode allows no writing is never replaced; a new temporary file is created
// exclusively under a unique name, so nothing left in the folder by anyone
// is ever opened; every write is checked.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

bool isRegularFile(const char* path);

// Reads at most maxBytes of a regular file; false when there is no regular
// file to read (absent, a FIFO, a folder, unreadable).
bool readRegularFile(const char* path, std::size_t maxBytes, std::string& bytes);

// The absolute path that a save of path must write: the file itself, or the
// file a symbolic link leads to. Empty when it cannot be found (a link that
// leads nowhere, a folder that is gone).
std::string saveTargetOf(const char* path);

// A lock on the folder that holds a file, held while the object lives. The
// folder stays in place while files in it are replaced, and a read-only
// folder can still be locked. Waits a few seconds for another holder; after
// that, or where the folder cannot be opened, it goes on without the lock
// rather than lose the save.
class FolderLock {
public:
  enum Mode { Shared, Exclusive };
  FolderLock(const std::string& filePath, Mode mode);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

private:
  int folder_ = -1;
};

// The mode a new file gets: 0666 less the process's umask.
mode_t modeForNewFile();

// How a replacement by rename went: the step that failed, with its errno.
struct RenameOutcome {
  enum Step { Done, NoNewFile, Writing, Renaming };
  Step step = Done;
  int error = 0;
};

// Writes bytes to a new, uniquely named file beside target, with the given
// mode, and renames it over target. On failure the new file is gone again
// and target is as it was.
RenameOutcome replaceByRename(const std::string& target, const std::string& bytes, mode_t mode);

// Makes the regular file at target (an absolute path from saveTargetOf) hold
// exactly bytes, keeping its mode. A new file is written beside it and
// renamed over it; where the folder takes no new file, the file is written
// in place, over its old contents, and cut to length. False, with the file
// untouched, when target is not a regular file, is read-only, or cannot be
// written.
bool replaceFileContents(const std::string& target, const std::string& bytes);

// The folder that holds the running program's own file, through any symbolic
// link; empty where the system cannot say. Installed and built programs find
// their companions relative to it, so no absolute path is compiled in.
std::string ownProgramFolder();
