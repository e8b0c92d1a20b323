// The one way the programs read a file that a user names: a level list, a
// level, a proof, a maps.bin. Only a regular file is read, and only up to a
// bound that is well above what the file's kind can need, so that a FIFO or
// a device (which could hold a reader up for ever or never end) and a huge
// file given by mistake are refused at once instead of read into memory.
// A device is not even opened: the file's kind is looked at first, and
// looked at again on what was opened, so that nothing swapped in between
// is read.
#pragma once

#include <cstddef>
#include <string>

struct SmallFileProblem {
  enum Kind { None, Unreadable, NotRegular, TooLarge };
  Kind kind = None;
  int error = 0;   // errno, for Unreadable
};

// Reads the whole file at path when it is a regular file of at most
// mostBytes; otherwise answers what stood in the way, bytes left empty.
SmallFileProblem readSmallFile(const std::string& path, std::size_t mostBytes, std::string& bytes);

// The problem in words, after "PATH: ": "cannot be read: No such file or
// directory", "not a regular file (a FIFO, a device or a folder)", "larger
// than 64 KiB, too large for " followed by what (say, "a level file").
std::string smallFileProblemText(const SmallFileProblem& problem, std::size_t mostBytes, const std::string& what);

// Both at once: false with "PATH: the problem in words" in error.
bool readSmallFile(const std::string& path, std::size_t mostBytes, const std::string& what, std::string& bytes,
                   std::string& error);
