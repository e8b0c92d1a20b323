#include "game/motion.h"

bool isSupported(const TileMap& map, int16_t x, int16_t y) {
  const int32_t column = cellOfPixel(x);
  const int32_t row = cellOfPixel(y);
  const int own = map.cellAt(column, row);
  const int below = map.cellAt(column, row + 1);
  return own == Ladder || own == Rope || below == Brick || below == Ladder;
}

MovePlan planMove(const TileMap& map, int16_t x, int16_t y, int16_t moveX, int16_t moveY) {
  const int32_t column = cellOfPixel(x);
  const int32_t row = cellOfPixel(y);
  // Computed from the pixel position, not from the own cell, so an actor
  // resting at a half-cell height aims at the cell its shifted sprite reaches.
  const int target = map.cellAt(cellOfPixel(x + CellPixels * moveX),
                                cellOfPixel(y + CellPixels * moveY));
  if (target == Brick) {
    return {MoveVerdict::Refused, 0, 0, false};
  }
  const int own = map.cellAt(column, row);
  int16_t dy = moveY;
  if (dy == -1 && own != Ladder) {
    dy = 0;
  }
  if (dy == 1 && map.cellAt(column, row + 1) != Ladder && own != Ladder && own != Rope) {
    dy = 0;
  }
  const MoveVerdict verdict =
      (moveX == 0 && dy == 0) ? MoveVerdict::Standstill : MoveVerdict::Moving;
  return {verdict, moveX, dy, target == Rope};
}

bool wrapAtBottom(int16_t& y) {
  if (y < BottomRowTopPixel) {
    return false;
  }
  y = AboveTopRowPixel;
  return true;
}
