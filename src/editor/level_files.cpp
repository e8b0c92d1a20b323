#include "editor/level_files.h"

#include "base/os_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string failure(const std::string& path, const std::string& what, int error) {
  return "Cannot save " + path + ": " + what + ": " + std::strerror(error);
}

bool writeAll(int fd, const std::string& text) {
  size_t written = 0;
  while (written < text.size()) {
    const ssize_t count = write(fd, text.data() + written, text.size() - written);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count <= 0) {
      return false;
    }
    written += static_cast<size_t>(count);
  }
  return true;
}

// A new file gets the permissions any program's new file gets; a replaced
// one keeps its own.
mode_t modeFor(const std::string& path) {
  struct stat existing {};
  if (stat(path.c_str(), &existing) == 0) {
    return existing.st_mode & 07777;
  }
  const mode_t mask = umask(022);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

OpenedLevel openLevelFile(const std::string& path, const std::string& displayName) {
  OpenedLevel opened;
  std::error_code unknown;   // a folder on the way that cannot be searched, say
  const bool exists = fs::exists(path, unknown);
  if (unknown) {
    opened.error = displayName + ": cannot be read: " + unknown.message();
    return opened;
  }
  if (!exists) {
    opened.isNew = true;
    opened.source.title = "Untitled";
    opened.source.level = Level{};
    return opened;
  }
  if (fs::is_directory(path, unknown)) {
    opened.error = displayName + ": is a folder, not a level file";
    return opened;
  }
  // A FIFO or a device would hold the editor up for ever before its window.
  if (!isRegularFile(path.c_str())) {
    opened.error = displayName + ": is not a regular file";
    return opened;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    opened.error = displayName + ": cannot be read: " + std::strerror(errno);
    return opened;
  }
  parseLevelSource(in, displayName, opened.source, opened.error);
  return opened;
}

std::string writeFileAtomically(const std::string& path, const std::string& text) {
  // Renaming would replace a file its owner has made read-only.
  if (access(path.c_str(), F_OK) == 0 && access(path.c_str(), W_OK) != 0) {
    return failure(path, "the file is read-only", errno);
  }
  const fs::path target(path);
  std::string pattern = (target.parent_path() / ("." + target.filename().string() + ".saving-XXXXXX")).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    return failure(path, "no new file can be made beside it", errno);
  }
  const std::string temporary(name.data());
  const bool written = fchmod(fd, modeFor(path)) == 0 && writeAll(fd, text) && fsync(fd) == 0;
  const int writeError = errno;
  if (close(fd) != 0 || !written) {
    const int error = written ? errno : writeError;
    unlink(temporary.c_str());
    return failure(path, "writing failed", error);
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    const int error = errno;
    unlink(temporary.c_str());
    return failure(path, "the new file could not replace the old", error);
  }
  return {};
}

std::string replayPathBeside(const std::string& levelPath) {
  const std::string replayPath = fs::path(levelPath).replace_extension(".replay").string();
  return replayPath == levelPath ? levelPath + ".replay" : replayPath;
}
