// Small builders for levels and level files in the level tests.
#pragma once

#include "level/level.h"

#include <string>

inline Level blankLevel() { return Level{}; }

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
