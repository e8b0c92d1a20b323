// Cell codes and the stored level. Every 32 by 32 array is kept column by
// column: cell (x, y) sits at index 32 x + y.
#pragma once

#include <cstdint>

enum CellCode : int8_t {
  Empty = 0,
  Brick = 1,
  Ladder = 2,
  Rope = 3,
  Gold = 4,
  PlayerStart = 5,
  EnemyStart = 6
};

constexpr int GridSize = 32;
constexpr int CellCount = GridSize * GridSize;
constexpr int CellPixels = 16;
constexpr int MaxLevelRecords = 256;
constexpr int LevelRecordBytes = 512;

constexpr int cellIndex(int x, int y) { return GridSize * x + y; }
constexpr bool insideGrid(int32_t x, int32_t y) {
  return static_cast<uint32_t>(x) < GridSize && static_cast<uint32_t>(y) < GridSize;
}

struct Level {
  int8_t cells[CellCount];   // codes 0 to 15
};

// The cell index of the start a level is played from: of several
// PlayerStart cells the last in reading order, that is the one in the lowest
// row and, within it, the rightmost; -1 when the level has none.
inline int playerStartIndex(const Level& level) {
  for (int y = GridSize - 1; y >= 0; --y) {
    for (int x = GridSize - 1; x >= 0; --x) {
      if (level.cells[cellIndex(x, y)] == PlayerStart) {
        return cellIndex(x, y);
      }
    }
  }
  return -1;
}

// How many cells of the level hold the code.
inline int countOf(const Level& level, int code) {
  int count = 0;
  for (const int8_t cell : level.cells) {
    count += cell == code ? 1 : 0;
  }
  return count;
}
