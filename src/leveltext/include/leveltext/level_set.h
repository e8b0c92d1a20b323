// A whole level set: the list file that names the level files in play order,
// compiled into maps.bin, and maps.bin read back into level sources.
#pragma once

#include "leveltext/level_text.h"

#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

// The most bytes read of each file, well above what a set can need, so that
// a huge file given by mistake is refused at once instead of being read into
// memory. A list names at most 255 level files with paths of at most 4096
// bytes, about 1 MiB (the comment and blank lines of a real list are few);
// a maps.bin holds at most 256 records of 512 bytes, 128 KiB, which fits the
// same bound; a level file is 34 short lines, a few KiB even with a long
// title and note. Devices, FIFOs and folders are refused as well: they could
// hold a reader up for ever or never end.
constexpr std::size_t LevelListMostBytes = std::size_t{1} << 20;
constexpr std::size_t LevelFileMostBytes = std::size_t{64} << 10;

// The game reads at most 256 records, the last of which must end the list.
constexpr int MostLevelsInSet = MaxLevelRecords - 1;

// Reads one level file through the bounded reader and parses it. On
// failure returns false with "FILE: why it cannot be read" or
// "FILE:LINE:COLUMN: what is wrong" in error.
bool readLevelFile(const std::string& path, LevelSource& source, std::string& error);

// A level list: one level file name a line, relative to the list file, in
// play order. Blanks around a name and a CR at the line's end are dropped;
// blank lines and lines whose first character that is not blank is '#' are
// skipped. This is the one reading of a list that every program shares.
struct LevelListEntry {
  std::string name;
  int line = 0;   // counted from 1
};
struct LevelList {
  // The skipped lines before the first name, as written (without a CR),
  // which a program that writes the list back keeps.
  std::vector<std::string> headComments;
  std::vector<LevelListEntry> entries;
  int lineCount = 0;
};

// The list held in bytes, read from a list file.
void parseLevelList(const std::string& bytes, LevelList& list);

// Reads the list file through the bounded reader (small_file.h). On
// failure returns false with "FILE:1:1: what is wrong" in error.
bool readLevelList(const std::string& listPath, LevelList& list, std::string& error);

// Compiles every level of the list into maps.bin bytes, in list order,
// followed by one record of zeros that ends the list for the game. On
// failure returns false with "FILE:LINE:COLUMN: what is wrong" in error.
bool compileLevelList(const std::string& listPath, std::string& mapsBin, std::string& error);

// The level file names in the list file, in play order. False when the
// list cannot be read, with the reason in error when given.
bool readLevelListNames(const std::filesystem::path& listPath, std::vector<std::string>& names,
                        std::string* error = nullptr);

// The same, each name made a path through the list file's folder.
bool readLevelListPaths(const std::filesystem::path& listPath, std::vector<std::filesystem::path>& paths,
                        std::string* error = nullptr);

// The arguments every level tool shares, after its own options: "--list
// FILE" adds the list's levels, a word without a leading '-' adds one level
// file. argv[index] is the argument; index moves past what it takes. False
// on any other option or a list that cannot be read (said on standard error,
// after the tool's name).
bool takeLevelArgument(const char* tool, int argc, char** argv, int& index,
                       std::vector<std::filesystem::path>& levels);

// Reads a level set from either a level list or a compiled maps.bin, told
// apart by content: maps.bin holds control bytes (two empty cells make a 0
// byte), a list never does. The levels are those the game would load from the
// compiled file. On failure returns false with a one-line message that names
// the file.
bool readLevelSet(const std::string& path, std::vector<Level>& levels, std::string& error);

// The levels as a maps.bin the game loads: their records, then one record of
// zeros that ends the list.
std::string mapsBinOf(const std::vector<Level>& levels);

// The levels the game would load from this maps.bin, titled "Level 1",
// "Level 2", ... in file order. Empty when the game would reject the file.
std::vector<LevelSource> levelSourcesOf(std::istream& mapsBin);
