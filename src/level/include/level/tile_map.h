// The level set and the live level in play: the grid, the dug holes waiting
// to refill, the player's decaying trail, the enemy starts and the gold count.
// The map answers cell questions only; the rules of motion, digging and
// dying belong to the actors.
#pragma once

#include "level/level.h"

#include <cstdint>
#include <deque>

// Updates from a dig until its hole fills, and between the refills of holes
// that wait in line.
constexpr uint8_t RefillDelay = 100;

struct RefillCell {
  uint8_t x;
  uint8_t y;
};

struct SpawnPoint {
  int16_t x;
  int16_t y;
};

class TileMap {
public:
  // Loads maps.bin from the working directory; a missing or invalid file
  // ends the program with a message box and exit status 1.
  TileMap();

  uint8_t shuffleOrder();
  void startLevel(uint8_t sequenceIndex, uint8_t mode);

  int cellAt(int32_t x, int32_t y) const;
  void clearCell(int32_t x, int32_t y);
  void queueRefill(int32_t x, int32_t y);
  void tickRefill();

  void clearTrail();
  void markTrail(int16_t px, int16_t py);
  uint32_t trailAt(int16_t x, int16_t y) const;

  uint8_t refillCountdown;
  Level levels[MaxLevelRecords];
  int8_t cells[CellCount];
  uint32_t trail[CellCount];
  std::deque<RefillCell> refillQueue;
  uint8_t order[MaxLevelRecords];
  std::deque<SpawnPoint> spawnQueue;
  int32_t goldLeft;
  int16_t startX;
  int16_t startY;
  uint8_t levelCount;
  int16_t playerX;
  int16_t playerY;
};
