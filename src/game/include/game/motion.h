// The motion rules that the player and the enemies share. Each actor keeps
// its own position and move fields and applies its own extras (sprites,
// trail, re-decisions); these functions answer only what the grid allows.
// The rules read the kinds of the cells around an actor (level/cell_kinds.h),
// so the reachability check and the solver ask the very same questions of
// the cells they imagine.
//
// Positions are signed 16-bit pixels; a cell is the pixel divided by 16,
// truncated toward zero, so -15..-1 still lie in row 0 and -16 is row -1,
// which reads as Brick. That truncation is what lets an actor hang at
// y = -16 above a top-row brick after dropping out of the bottom row.
#pragma once

#include "level/cell_kinds.h"
#include "level/tile_map.h"

#include <cstdint>

constexpr uint8_t StepsPerMove = 16;          // ticks, one pixel each
constexpr int16_t FallPixelsPerTick = 8;
constexpr int16_t BottomRowTopPixel = 496;    // y of row 31
constexpr int16_t AboveTopRowPixel = -16;     // where the bottom wrap puts an actor

// A fall that has not ended after this many updates goes through an open
// column for ever (a drop through all 32 rows takes 66); by then every hole
// the player left has refilled. What plays the rules ahead (the solver, the
// dead-end analysis) gives such a fall up there.
constexpr uint32_t FallsForeverAfterUpdates = 400;

constexpr int32_t cellOfPixel(int32_t pixel) { return pixel / CellPixels; }

// The row an actor drops out of at its next decision.
constexpr int32_t LastRow = cellOfPixel(BottomRowTopPixel);

// Held by its own cell (a ladder, a rope) or standing on the cell below.
constexpr bool holdsActor(int own, int below) { return kindOf(own).holds || kindOf(below).floor; }

// A move down is a climb or a drop off a hold; elsewhere it is a standstill.
constexpr bool allowsDescent(int own, int below) { return kindOf(below).climbable || kindOf(own).holds; }

// holdsActor for the cells of pixel position (x, y). This and the moves
// below run for every actor on every update, so they are kept where the
// callers inline them.
inline bool isSupported(const TileMap& map, int16_t x, int16_t y) {
  const int32_t column = cellOfPixel(x);
  const int32_t row = cellOfPixel(y);
  return holdsActor(map.cellAt(column, row), map.cellAt(column, row + 1));
}

enum class MoveVerdict {
  Refused,     // the target is brick: nothing changes
  Standstill,  // a climb off a ladder or a drop without hold: 16 ticks of (0, 0)
  Moving
};

struct MovePlan {
  MoveVerdict verdict;
  int16_t dx;
  int16_t dy;
  bool targetHangs;
};

// What a one-cell move request (one of moveX, moveY zero) becomes, from the
// codes of the actor's own cell, the cell below it and the target cell.
inline MovePlan planMove(int own, int below, int target, int16_t moveX, int16_t moveY) {
  if (kindOf(target).stopsMoves) {
    return {MoveVerdict::Refused, 0, 0, false};
  }
  int16_t dy = moveY;
  if (dy == -1 && !kindOf(own).climbable) {
    dy = 0;
  }
  if (dy == 1 && !allowsDescent(own, below)) {
    dy = 0;
  }
  const MoveVerdict verdict =
      (moveX == 0 && dy == 0) ? MoveVerdict::Standstill : MoveVerdict::Moving;
  return {verdict, moveX, dy, kindOf(target).hangs};
}

// The same from pixel position (x, y) on the live map.
inline MovePlan planMove(const TileMap& map, int16_t x, int16_t y, int16_t moveX, int16_t moveY) {
  const int32_t column = cellOfPixel(x);
  const int32_t row = cellOfPixel(y);
  // Computed from the pixel position, not from the own cell, so an actor
  // resting at a half-cell height aims at the cell its shifted sprite reaches.
  const int target = map.cellAt(cellOfPixel(x + CellPixels * moveX),
                                cellOfPixel(y + CellPixels * moveY));
  return planMove(map.cellAt(column, row), map.cellAt(column, row + 1), target, moveX, moveY);
}

// The cell a dig aims at from the cell (column, row): diagonally below, on
// the side -1 (left) or +1 (right).
struct CellAt {
  int32_t column;
  int32_t row;
};
constexpr CellAt digTarget(int32_t column, int32_t row, int side) { return {column + side, row + 1}; }

// The bottom wrap: from row 31 to one cell above the top row, before any
// support test. Answers whether it wrapped.
inline bool wrapAtBottom(int16_t& y) {
  if (y < BottomRowTopPixel) {
    return false;
  }
  y = AboveTopRowPixel;
  return true;
}
