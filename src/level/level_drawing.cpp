#include "level/level_drawing.h"

#include "base/assets.h"
#include "base/globals.h"
#include "level/level.h"

#include <cstdlib>

void drawCell(int x, int y, int8_t code) {
  const int left = CellPixels * x;
  const int top = CellPixels * y;
  if (code == Empty) {
    rectfill(levelBitmap, left, top, left + CellPixels - 1, top + CellPixels - 1, 0);
    return;
  }
  if (code < 0) {
    return;
  }
  const int variant = rand() % 4;
  blit(assetBitmap(AssetTileSheet), levelBitmap, CellPixels * variant, CellPixels * (code - 1), left, top,
       CellPixels, CellPixels);
}

void clearLevelBitmap() { clear_bitmap(levelBitmap); }

void copyLevelBitmap() { blit(levelBitmap, backBuffer, 0, 0, 0, 0, FieldSize, FieldSize); }
