// The one table of cell kinds: for every code a cell can hold, what it allows
// an actor and a dig, how a level file writes it, which row of the tile
// sheet draws it and what the editor's palette calls it. The motion rules,
// the enemies, the reachability check, the solver's guide, the level text
// format, the level picture and the editor all read it, so a new kind means
// a row here, its art, and only the rules that are truly new.
//
// Codes 7 to 15 have no rule of their own: they are open space, drawn from
// their sheet row if the sheet has one, written as hex digits, and not
// offered by the editor.
#pragma once

#include "level/level.h"

#include <cstdint>

constexpr int CodeCount = 16;          // a level stores a code in four bits
constexpr int NoTileRow = -1;          // drawn black
// A cell outside the grid reads as brick, so the left, right and top edges
// act as walls.
constexpr int8_t OutsideCode = Brick;

struct CellKind {
  char text;                  // its character in a level file
  const char* paletteName;    // in the editor's palette; nullptr when not offered
  int tileRow;                // row of the tile sheet, or NoTileRow
  bool stopsMoves;            // refuses a move into it; an actor inside it dies or is crushed
  bool floor;                 // an actor on top of it stands
  bool holds;                 // an actor inside it does not fall, and may go down from it
  bool climbable;             // climbed up from, and down into
  bool hangs;                 // an actor moving into it hangs (the player's climbing sprites)
  bool diggable;              // the player may dig it from diagonally above
  bool valuable;              // the player takes it for points
};

inline constexpr CellKind CellKinds[CodeCount] = {
    //  text palette         tile stops  floor  holds  climb  hangs  dig    value
    {'.', "Empty",        NoTileRow, false, false, false, false, false, false, false},
    {'#', "Brick",        0,  true,  true,  false, false, false, true,  false},
    {'H', "Ladder",       1,  false, true,  true,  true,  false, false, false},
    {'-', "Rope",         2,  false, false, true,  false, true,  false, false},
    {'$', "Gold",         3,  false, false, false, false, false, false, true},
    {'P', "Player start", 4,  false, false, false, false, false, false, false},
    {'E', "Enemy start",  5,  false, false, false, false, false, false, false},
    {'7', nullptr,        6,  false, false, false, false, false, false, false},
    {'8', nullptr,        7,  false, false, false, false, false, false, false},
    {'9', nullptr,        8,  false, false, false, false, false, false, false},
    {'a', nullptr,        9,  false, false, false, false, false, false, false},
    {'b', nullptr,        10, false, false, false, false, false, false, false},
    {'c', nullptr,        11, false, false, false, false, false, false, false},
    {'d', nullptr,        12, false, false, false, false, false, false, false},
    {'e', nullptr,        13, false, false, false, false, false, false, false},
    {'f', nullptr,        14, false, false, false, false, false, false, false},
};

// Any int a grid read gives; a value no level can hold counts as open space.
constexpr const CellKind& kindOf(int code) {
  return static_cast<unsigned>(code) < static_cast<unsigned>(CodeCount) ? CellKinds[code] : CellKinds[Empty];
}

// The kinds the editor offers, codes 0 up to this count.
constexpr int paletteKindCount() {
  int count = 0;
  while (count < CodeCount && CellKinds[count].paletteName != nullptr) {
    ++count;
  }
  return count;
}

// The rows of the tile sheet that a level of the offered kinds needs.
constexpr int tileRowsNeeded() {
  int rows = 0;
  for (int code = 0; code < paletteKindCount(); ++code) {
    rows = CellKinds[code].tileRow + 1 > rows ? CellKinds[code].tileRow + 1 : rows;
  }
  return rows;
}
