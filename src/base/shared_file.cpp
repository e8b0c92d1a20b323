#include "base/shared_file.h"

#include "base/os_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr std::size_t TemporaryNameTail = 6;   // mkostemp's XXXXXX

std::optional<std::string> contentsOf(const std::string& path, std::size_t maxBytes) {
  std::string bytes;
  if (!readRegularFile(path.c_str(), maxBytes, bytes)) {
    return std::nullopt;
  }
  return bytes;
}

SharedReplace done() { return {SharedReplace::Done, std::nullopt, std::nullopt}; }
SharedReplace failed() { return {}; }
SharedReplace changed(const std::optional<std::string>& found, const std::optional<std::string>& now) {
  return {SharedReplace::Changed, found, now};
}

// Refusals that writing in place can get round; a full or failing disk is
// not one of them.
bool refusedByFolder(int error) { return error == EACCES || error == EPERM || error == EROFS; }

SharedReplace inPlace(const std::string& target, const std::string& bytes) {
  return replaceInPlace(target, bytes) ? done() : failed();
}

// A new file for target, with the old file's mode and group; false when the
// group cannot be kept (a player outside it), so that the caller writes in
// place instead.
bool fillLikeOld(TemporaryFile& temporary, const std::string& bytes, const struct stat* old) {
  if (old == nullptr) {
    return temporary.fill(bytes, modeForNewFile());
  }
  struct stat made {};
  if (fstat(temporary.fd(), &made) != 0 ||
      (made.st_gid != old->st_gid && fchown(temporary.fd(), static_cast<uid_t>(-1), old->st_gid) != 0)) {
    errno = EPERM;
    return false;
  }
  return temporary.fill(bytes, old->st_mode & 0777);
}

// Puts the new file in place of the old one in one step and keeps the old
// one under the new file's name, to see what was really replaced.
SharedReplace exchange(TemporaryFile& temporary, const std::string& target, const std::string& bytes,
                       const std::optional<std::string>& expected, std::size_t maxBytes) {
  if (renameat2(AT_FDCWD, temporary.path().c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
    const std::optional<std::string> displaced = contentsOf(temporary.path(), maxBytes);
    return displaced == expected ? done() : changed(displaced, bytes);
  }
  if (refusedByFolder(errno)) {
    return inPlace(target, bytes);
  }
  if (errno == ENOENT) {   // the file went meanwhile
    return changed(std::nullopt, std::nullopt);
  }
  // A file system that cannot exchange: the check before is the last word.
  if ((errno == EINVAL || errno == ENOSYS) && rename(temporary.path().c_str(), target.c_str()) == 0) {
    temporary.keep();
    return done();
  }
  return failed();
}

SharedReplace create(TemporaryFile& temporary, const std::string& target, std::size_t maxBytes) {
  if (renameat2(AT_FDCWD, temporary.path().c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0 ||
      ((errno == EINVAL || errno == ENOSYS) && rename(temporary.path().c_str(), target.c_str()) == 0)) {
    temporary.keep();
    return done();
  }
  if (errno == EEXIST) {   // made meanwhile
    const std::optional<std::string> now = contentsOf(target, maxBytes);
    return changed(now, now);
  }
  return failed();
}

bool namedAsTemporaryOf(const std::string& name, const std::string& prefix) {
  return name.size() == prefix.size() + TemporaryNameTail && name.compare(0, prefix.size(), prefix) == 0;
}

// Removes the file unless a replacement holds it, and only if the name
// still leads to the file that was looked at.
void removeUnlessHeld(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    return;
  }
  struct stat opened {};
  struct stat named {};
  if (fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
      lstat(path.c_str(), &named) == 0 && named.st_ino == opened.st_ino && named.st_dev == opened.st_dev) {
    unlink(path.c_str());
  }
  close(fd);
}

}  // namespace

SharedReplace replaceSharedFile(const std::string& target, const std::string& bytes,
                                const std::optional<std::string>& expected, std::size_t maxBytes) {
  struct stat old {};
  const bool exists = lstat(target.c_str(), &old) == 0;
  if ((!exists && errno != ENOENT) || (exists && (!S_ISREG(old.st_mode) || !mayReplaceFile(target.c_str(), old)))) {
    return failed();
  }
  const std::optional<std::string> now = contentsOf(target, maxBytes);
  if (now != expected) {
    return changed(now, now);
  }
  if (exists && old.st_nlink > 1) {
    return inPlace(target, bytes);
  }
  TemporaryFile temporary(target);
  if (!temporary.made()) {
    return exists && refusedByFolder(temporary.error()) ? inPlace(target, bytes) : failed();
  }
  if (!fillLikeOld(temporary, bytes, exists ? &old : nullptr)) {
    return exists && refusedByFolder(errno) ? inPlace(target, bytes) : failed();
  }
  return exists ? exchange(temporary, target, bytes, expected, maxBytes) : create(temporary, target, maxBytes);
}

void removeKilledSaves(const std::string& target) {
  const std::string folder = folderOf(target);
  const std::string prefix = target.substr(target.rfind('/') + 1) + TemporarySuffix;
  DIR* const listing = opendir(folder.c_str());
  if (listing == nullptr) {
    return;
  }
  while (const dirent* entry = readdir(listing)) {
    if (namedAsTemporaryOf(entry->d_name, prefix)) {
      removeUnlessHeld(folder + "/" + entry->d_name);
    }
  }
  closedir(listing);
}
