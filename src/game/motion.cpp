#include "game/motion.h"

bool isSupported(const TileMap& map, int16_t x, int16_t y) {
  const int32_t column = cellOfPixel(x);
  const int32_t row = cellOfPixel(y);
  return holdsActor(map.cellAt(column, row), map.cellAt(column, row + 1));
}

MovePlan planMove(int own, int below, int target, int16_t moveX, int16_t moveY) {
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

MovePlan planMove(const TileMap& map, int16_t x, int16_t y, int16_t moveX, int16_t moveY) {
  const int32_t column = cellOfPixel(x);
  const int32_t row = cellOfPixel(y);
  // Computed from the pixel position, not from the own cell, so an actor
  // resting at a half-cell height aims at the cell its shifted sprite reaches.
  const int target = map.cellAt(cellOfPixel(x + CellPixels * moveX),
                                cellOfPixel(y + CellPixels * moveY));
  return planMove(map.cellAt(column, row), map.cellAt(column, row + 1), target, moveX, moveY);
}

bool wrapAtBottom(int16_t& y) {
  if (y < BottomRowTopPixel) {
    return false;
  }
  y = AboveTopRowPixel;
  return true;
}
