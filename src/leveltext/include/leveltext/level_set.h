// A whole level set: the list file that names the level files in play order,
// compiled into maps.bin, and maps.bin read back into level sources.
#pragma once

#include "leveltext/level_text.h"

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

// Reads the list file (one level file name per line, relative to the list
// file; blank lines and lines starting with '#' are skipped) and compiles
// every level into maps.bin bytes, in list order, followed by one record of
// zeros that ends the list for the game. On failure returns false with
// "FILE:LINE:COLUMN: what is wrong" in error.
bool compileLevelList(const std::string& listPath, std::string& mapsBin, std::string& error);

// The level file names in the list file, as written and in play order,
// skipping blank lines and lines starting with '#'. False when the list
// cannot be opened.
bool readLevelListNames(const std::filesystem::path& listPath, std::vector<std::string>& names);

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
