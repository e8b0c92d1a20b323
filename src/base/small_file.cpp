#include "base/small_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

SmallFileProblem unreadable(int error) { return {SmallFileProblem::Unreadable, error}; }

// Reads what the open regular file holds, growing as it goes rather than
// trusting its size, which may change while it is read; one byte past the
// bound is enough to tell a file too large.
SmallFileProblem readOpened(int fd, std::size_t mostBytes, std::size_t sizeHint, std::string& bytes) {
  const std::size_t limit = mostBytes + 1;
  std::size_t filled = 0;
  bytes.resize(std::min(limit, std::max<std::size_t>(sizeHint + 1, 4096)));
  while (filled < limit) {
    if (filled == bytes.size()) {
      bytes.resize(std::min(limit, bytes.size() * 2));
    }
    const ssize_t count = ::read(fd, &bytes[filled], bytes.size() - filled);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count < 0) {
      bytes.clear();
      return unreadable(errno);
    }
    if (count == 0) {
      break;
    }
    filled += static_cast<std::size_t>(count);
  }
  bytes.resize(filled);
  if (filled > mostBytes) {
    bytes.clear();
    return {SmallFileProblem::TooLarge, 0};
  }
  return {};
}

}  // namespace

SmallFileProblem readSmallFile(const std::string& path, std::size_t mostBytes, std::string& bytes) {
  bytes.clear();
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) {
    return unreadable(errno);
  }
  if (!S_ISREG(status.st_mode)) {
    return {SmallFileProblem::NotRegular, 0};
  }
  if (static_cast<std::size_t>(status.st_size) > mostBytes) {
    return {SmallFileProblem::TooLarge, 0};
  }
  // Non-blocking, so that a FIFO put in the file's place meanwhile does not
  // hold the open up; fstat then tells.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    return unreadable(errno);
  }
  SmallFileProblem problem{SmallFileProblem::NotRegular, 0};
  if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
    problem = readOpened(fd, mostBytes, static_cast<std::size_t>(status.st_size), bytes);
  }
  close(fd);
  return problem;
}

std::string smallFileProblemText(const SmallFileProblem& problem, std::size_t mostBytes, const std::string& what) {
  switch (problem.kind) {
    case SmallFileProblem::None: return {};
    case SmallFileProblem::Unreadable: return std::string("cannot be read: ") + std::strerror(problem.error);
    case SmallFileProblem::NotRegular: return "not a regular file (a FIFO, a device or a folder)";
    case SmallFileProblem::TooLarge: break;
  }
  return "larger than " + std::to_string(mostBytes / 1024) + " KiB, too large for " + what;
}

bool readSmallFile(const std::string& path, std::size_t mostBytes, const std::string& what, std::string& bytes,
                   std::string& error) {
  const SmallFileProblem problem = readSmallFile(path, mostBytes, bytes);
  if (problem.kind != SmallFileProblem::None) {
    error = path + ": " + smallFileProblemText(problem, mostBytes, what);
    return false;
  }
  return true;
}
