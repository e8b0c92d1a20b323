// The level set and the live level in play: the grid, the dug holes waiting
// to refill, the player's decaying trail, the enemy starts and the gold count.
// The map answers cell questions only; the rules of motion, digging and
// dying belong to the actors.
#pragma once

#include "level/cell_kinds.h"
#include "level/level.h"

#include <cstdint>
#include <deque>
#include <vector>

// Whether the level picture is painted. The window paints it; a run of the
// rules alone (a replay, a proof, a check) keeps only what painting draws
// from the generator, so both play exactly alike.
enum class Drawing : uint8_t { Painted, Unseen };

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
  // The levels from memory (1 to 255 of them), for the rules alone.
  TileMap(const std::vector<Level>& stored, Drawing drawing);

  uint8_t shuffleOrder();
  void startLevel(uint8_t sequenceIndex, uint8_t mode);

  // Read on every step of every actor, so kept where the callers inline it.
  int cellAt(int32_t x, int32_t y) const { return insideGrid(x, y) ? cells[cellIndex(x, y)] : int{OutsideCode}; }
  void clearCell(int32_t x, int32_t y);
  void queueRefill(int32_t x, int32_t y);
  void tickRefill();

  // The player's trail: 60000 in the cell he has just been in, one less at
  // every markTrail since, never below 0. trailAt reads 0 in a cell that
  // stops moves; trailValue is the bare value of a cell index.
  void clearTrail();
  void markTrail(int16_t px, int16_t py);
  uint32_t trailAt(int16_t x, int16_t y) const {
    if (static_cast<uint16_t>(x) >= GridSize || static_cast<uint16_t>(y) >= GridSize) {
      return 0;
    }
    return kindOf(cells[cellIndex(x, y)]).stopsMoves ? 0 : trailValue(cellIndex(x, y));
  }
  uint32_t trailValue(int index) const {
    return trailEnds_[index] > trailClock_ ? trailEnds_[index] - trailClock_ : 0;
  }
  void setTrailValue(int index, uint32_t value) { trailEnds_[index] = trailClock_ + value; }

  const Drawing drawing = Drawing::Painted;
  uint8_t refillCountdown;
  Level levels[MaxLevelRecords];
  int8_t cells[CellCount];
  std::deque<RefillCell> refillQueue;
  uint8_t order[MaxLevelRecords];
  std::deque<SpawnPoint> spawnQueue;
  int32_t goldLeft;
  int16_t startX;
  int16_t startY;
  uint8_t levelCount;
  int16_t playerX;
  int16_t playerY;

private:
  void drawCell(int32_t x, int32_t y, int8_t code) const;

  // Each cell keeps the count of markTrail calls at which its trail runs
  // out, so that an update costs the same however far the trail reaches.
  uint32_t trailEnds_[CellCount];
  uint32_t trailClock_ = 0;   // markTrail calls since clearTrail
};
