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

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>

bool isRegularFile(const char* path);

// The folder part of a path: "." for a bare name.
std::string folderOf(const std::string& path);

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

  // Whether the lock was had, rather than given up on.
  bool held() const { return held_; }

private:
  int folder_ = -1;
  bool held_ = false;
};

// Whether a save may replace the file at path, whose status is given: it
// has a write bit and this process may write it. Root may write any file,
// but one with no write bit is still meant to stay as it is. Sets errno when
// it may not.
bool mayReplaceFile(const char* path, const struct stat& status);

// The mode a new file gets: 0666 less the process's umask.
mode_t modeForNewFile();

// A new file beside target, made exclusively under a unique name that ends
// in TemporarySuffix plus six characters, and locked (flock) for as long as
// it is open, so that a clean-up can tell a file still being written from
// one that a killed process left. Removed when the object goes, unless kept.
constexpr const char* TemporarySuffix = ".saving-";
class TemporaryFile {
public:
  explicit TemporaryFile(const std::string& target);
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool made() const { return fd_ >= 0; }
  int error() const { return error_; }   // why it could not be made
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }
  // Writes bytes with the given mode and flushes them to the disk; false
  // with errno set when any step fails.
  bool fill(const std::string& bytes, mode_t mode);
  // The file has been renamed into place: only closed, not removed.
  void keep() { kept_ = true; }

private:
  std::string path_;
  int fd_ = -1;
  int error_ = 0;
  bool kept_ = false;
};

// Overwrites the regular file at target from its start and cuts it to
// length, with checked writes: where no new file can take its place, or
// where replacing it would cut its other hard links off.
bool replaceInPlace(const std::string& target, const std::string& bytes);

// How a replacement by rename went: the step that failed, with its errno.
struct RenameOutcome {
  enum Step { Done, NoNewFile, Writing, Renaming };
  Step step = Done;
  int error = 0;
};

// Writes bytes to a TemporaryFile beside target, with the given mode, and
// renames it over target. On failure the new file is gone again and target
// is as it was.
RenameOutcome replaceByRename(const std::string& target, const std::string& bytes, mode_t mode);

// The folder that holds the running program's own file, through any symbolic
// link; empty where the system cannot say. Installed and built programs find
// their companions relative to it, so no absolute path is compiled in.
std::string ownProgramFolder();
