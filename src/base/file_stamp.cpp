#include "base/file_stamp.h"

#include "base/small_file.h"

#include <sys/stat.h>

#include <cerrno>

namespace {

// FNV-1a: a plain 64-bit hash, enough to tell an edit from none.
std::uint64_t hashOf(const std::string& bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char byte : bytes) {
    hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ull;
  }
  return hash;
}

}  // namespace

FileStamp stampOfRead(const std::string& path, const std::string* bytes) {
  FileStamp stamp;
  struct stat status {};
  if (bytes == nullptr || stat(path.c_str(), &status) != 0) {
    return stamp;
  }
  stamp.exists = true;
  stamp.size = static_cast<std::uint64_t>(status.st_size);
  stamp.modified = status.st_mtim;
  stamp.hash = hashOf(*bytes);
  return stamp;
}

FileStamp currentStamp(const std::string& path, std::size_t mostBytes) {
  std::string bytes;
  const bool read = readSmallFile(path, mostBytes, bytes).kind == SmallFileProblem::None;
  return stampOfRead(path, read ? &bytes : nullptr);
}

bool unchangedSince(const std::string& path, const FileStamp& stamp, std::size_t mostBytes) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) {
    return !stamp.exists && errno == ENOENT;
  }
  if (!stamp.exists) {
    return false;
  }
  if (static_cast<std::uint64_t>(status.st_size) == stamp.size && status.st_mtim.tv_sec == stamp.modified.tv_sec &&
      status.st_mtim.tv_nsec == stamp.modified.tv_nsec) {
    return true;
  }
  std::string bytes;
  return readSmallFile(path, mostBytes, bytes).kind == SmallFileProblem::None && hashOf(bytes) == stamp.hash;
}
