#include "base/os_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>

namespace {

constexpr int LockAttempts = 500;
constexpr long LockRetryNanoseconds = 10 * 1000 * 1000;   // 10 ms; 5 s in all
constexpr mode_t NewFileMode = 0666;

bool writeAll(int fd, const std::string& bytes, off_t offset) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t count = pwrite(fd, bytes.data() + written, bytes.size() - written,
                                 offset + static_cast<off_t>(written));
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count <= 0) {
      return false;
    }
    written += static_cast<std::size_t>(count);
  }
  return true;
}

}  // namespace

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    return ".";
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool mayReplaceFile(const char* path, const struct stat& status) {
  if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    errno = EACCES;
    return false;
  }
  return access(path, W_OK) == 0;
}

mode_t modeForNewFile() {
  const mode_t mask = umask(0);
  umask(mask);
  return NewFileMode & ~mask;
}

// Overwrites the existing file from its start, then cuts it to length: the
// file holds a whole table before and after, and is never empty.
bool replaceInPlace(const std::string& target, const std::string& bytes) {
  const int fd = open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  struct stat status {};
  const bool written = fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && writeAll(fd, bytes, 0) &&
                       ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && fsync(fd) == 0;
  return close(fd) == 0 && written;
}

TemporaryFile::TemporaryFile(const std::string& target) : path_(target + TemporarySuffix + "XXXXXX") {
  fd_ = mkostemp(path_.data(), O_CLOEXEC);
  if (fd_ < 0) {
    error_ = errno;
    return;
  }
  // Nobody else knows the name yet, so the lock is free.
  flock(fd_, LOCK_EX);
}

TemporaryFile::~TemporaryFile() {
  if (fd_ < 0) {
    return;
  }
  if (!kept_) {
    unlink(path_.c_str());
  }
  close(fd_);
}

bool TemporaryFile::fill(const std::string& bytes, mode_t mode) {
  return fchmod(fd_, mode) == 0 && writeAll(fd_, bytes, 0) && fsync(fd_) == 0;
}

RenameOutcome replaceByRename(const std::string& target, const std::string& bytes, mode_t mode) {
  TemporaryFile temporary(target);
  if (!temporary.made()) {
    return {RenameOutcome::NoNewFile, temporary.error()};
  }
  if (!temporary.fill(bytes, mode)) {
    return {RenameOutcome::Writing, errno};
  }
  if (rename(temporary.path().c_str(), target.c_str()) != 0) {
    return {RenameOutcome::Renaming, errno};
  }
  temporary.keep();
  return {};
}

bool isRegularFile(const char* path) {
  struct stat status {};
  return stat(path, &status) == 0 && S_ISREG(status.st_mode);
}

bool readRegularFile(const char* path, std::size_t maxBytes, std::string& bytes) {
  // Non-blocking, so that opening a FIFO returns at once; fstat then tells.
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  struct stat status {};
  bool ok = fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
  bytes.assign(ok ? maxBytes : 0, '\0');
  std::size_t filled = 0;
  while (ok && filled < maxBytes) {
    const ssize_t count = ::read(fd, &bytes[filled], maxBytes - filled);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    ok = count >= 0;
    if (count <= 0) {
      break;
    }
    filled += static_cast<std::size_t>(count);
  }
  bytes.resize(filled);
  close(fd);
  return ok;
}

std::string saveTargetOf(const char* path) {
  char resolved[PATH_MAX];
  if (realpath(path, resolved) != nullptr) {
    return resolved;
  }
  struct stat status {};
  // Absent: the file will be made in the folder, which must exist.
  if (errno != ENOENT || lstat(path, &status) == 0 || realpath(".", resolved) == nullptr) {
    return {};
  }
  return std::string(resolved) + "/" + path;
}

FolderLock::FolderLock(const std::string& filePath, Mode mode) {
  folder_ = open(folderOf(filePath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder_ < 0) {
    return;
  }
  const int operation = (mode == Shared ? LOCK_SH : LOCK_EX) | LOCK_NB;
  const timespec pause{0, LockRetryNanoseconds};
  // Only another holder is waited for; a file system that cannot lock
  // folders at all is not.
  for (int attempt = 0; attempt < LockAttempts; ++attempt) {
    held_ = flock(folder_, operation) == 0;
    if (held_ || errno != EWOULDBLOCK) {
      return;
    }
    nanosleep(&pause, nullptr);
  }
}

FolderLock::~FolderLock() {
  if (folder_ >= 0) {
    close(folder_);   // releases the lock
  }
}

std::string ownProgramFolder() {
  char self[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) {
    return {};
  }
  std::string path(self, static_cast<std::size_t>(length));
  return path.substr(0, path.rfind('/') + 1);
}
