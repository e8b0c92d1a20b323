// The text form of a level, which is how levels are written and kept under
// version control; maps.bin is compiled from it.
//
// A level file is a "title: ..." line, an optional "note: ..." line, then
// exactly 32 lines of exactly 32 cell characters, row 0 first. Empty is '.'
// rather than a space so that an editor stripping trailing blanks cannot
// shorten a row without the compiler noticing.
#pragma once

#include "level/level.h"

#include <iosfwd>
#include <string>
#include <vector>

// The character of a code, from the table of cell kinds ('#' Brick, 'H'
// Ladder, ...). A code outside 0 to 15 gives '?'.
char cellChar(int code);

// The code of a cell character, or -1 when the character means no cell.
int cellCodeOf(char c);

// The start of a level file's first line.
inline const std::string LevelTitleKey = "title:";

struct LevelSource {
  std::string title;
  std::string note;
  Level level;
};

// Reads one level file. On failure returns false and sets error to
// "FILE:LINE:COLUMN: what is wrong", lines and columns counted from 1.
// A level must hold a PlayerStart, because in maps.bin a record without one
// ends the level list.
bool parseLevelSource(std::istream& in, const std::string& fileName, LevelSource& out,
                      std::string& error);

void writeLevelSource(std::ostream& out, const LevelSource& source);

// For tests: exactly 32 rows of exactly 32 cell characters, row 0 first.
// No PlayerStart is required, so odd levels can be built. Throws
// std::invalid_argument naming the row and column of the first fault.
Level levelFromRows(const std::vector<std::string>& rows);

// For tests: the maps.bin records of the levels, back to back. No ending
// record is appended; the caller adds one when the test wants it.
std::string mapsBinBytes(const std::vector<Level>& levels);
