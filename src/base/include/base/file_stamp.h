// What a program read of a file it may later write back: whether it was
// there, its size and modification time, and a hash of its contents. A save
// compares the file as it is now with the stamp, so that a change made
// behind the program's back (another editor's save, another program) is
// never silently overwritten. Size and time that match are taken as no
// change without reading; otherwise the contents decide, so that a file
// merely touched or copied back as it was does not count as changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

struct FileStamp {
  bool exists = false;
  std::uint64_t size = 0;
  timespec modified{};
  std::uint64_t hash = 0;
};

// The stamp of the file at path whose contents were just read as bytes (none
// when the file is absent).
FileStamp stampOfRead(const std::string& path, const std::string* bytes);

// The stamp of the file at path as it is now, read up to mostBytes.
FileStamp currentStamp(const std::string& path, std::size_t mostBytes);

// Whether the file at path still holds what the stamp says; contents are
// read at most up to mostBytes, and a file that cannot be read is changed.
bool unchangedSince(const std::string& path, const FileStamp& stamp, std::size_t mostBytes);
