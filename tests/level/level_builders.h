// Small builders for levels and level files in the level tests.
#pragma once

#include "level/level.h"

#include <string>
#include <vector>

inline Level blankLevel() { return Level{}; }

// Rows for levelFromRows: open sky above a floor of brick two rows thick,
// the player at the left.
inline std::vector<std::string> floorRows() {
  std::vector<std::string> rows(GridSize, std::string(GridSize, '.'));
  rows[30] = rows[31] = std::string(GridSize, '#');
  rows[29][1] = 'P';
  return rows;
}

inline void put(Level& level, int x, int y, int code) {
  level.cells[cellIndex(x, y)] = static_cast<int8_t>(code);
}

inline Level levelWithStart(int x, int y) {
  Level level{};
  put(level, x, y, PlayerStart);
  return level;
}

// A record that holds a PlayerStart, so the reader counts it as a level;
// the byte value fills the whole record.
inline std::string recordOf(unsigned char byte) { return std::string(LevelRecordBytes, static_cast<char>(byte)); }

inline std::string endRecord() { return recordOf(0x00); }
