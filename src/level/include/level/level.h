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

struct Level {
  int8_t cells[CellCount];   // codes 0 to 15
};
