// Replacing a small file that several players and several copies of the
// game share, such as the high-score table.
//
// Copies take turns through the folder's lock (os_files.h), but one that is
// stopped while it holds the lock makes the others give up waiting, so no
// replacement trusts the lock alone: each one checks, as it puts its file in
// place, that the file it replaces is still the one its caller read, and
// answers what it found instead, for the caller to merge and try again.
//
// How the file is replaced depends on where it lives. A new file renamed
// over it where the folder allows, so that a kill never leaves half a file;
// in place, with checked writes, where the folder takes no new file, where
// the rename is refused (a sticky folder, a file another player owns), where
// a new file could not keep the old one's group, and where the file has more
// than one hard link (a rename would cut the other links off). A new file
// keeps the old one's mode and group. A file whose mode allows no writing is
// never replaced, not even by root.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

struct SharedReplace {
  enum Result { Done, Changed, Failed };
  Result result = Failed;
  // Changed: the contents found where the expected ones should have been
  // (none: no file), and the contents the file holds now.
  std::optional<std::string> found;
  std::optional<std::string> now;
};

// Makes the file at target (an absolute path from saveTargetOf) hold bytes,
// if it still holds expected (none: there is no file). Contents are compared
// on their first maxBytes.
SharedReplace replaceSharedFile(const std::string& target, const std::string& bytes,
                                const std::optional<std::string>& expected, std::size_t maxBytes);

// Removes the temporary files that killed replacements of target left beside
// it: only those named as TemporaryFile names them, only regular files, and
// never one that a replacement under way still holds. Call it with the
// folder's lock held, so that no file displaced by another copy's
// replacement is taken for one.
void removeKilledSaves(const std::string& target);
