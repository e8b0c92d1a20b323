#include "level/level_drawing.h"

#include "base/assets.h"
#include "base/globals.h"
#include "base/random_draws.h"
#include "level/cell_kinds.h"

void drawCell(int x, int y, int8_t code) {
  drawTile(levelBitmap, CellPixels * x, CellPixels * y, code, drawTileVariant(code));
}

int drawTileVariant(int8_t code) {
  return kindOf(code).tileRow != NoTileRow ? drawRandom() % TileVariants : 0;
}

void drawTile(BITMAP* target, int left, int top, int8_t code, int variant) {
  if (code < 0) {
    return;
  }
  const int row = kindOf(code).tileRow;
  if (row == NoTileRow) {
    rectfill(target, left, top, left + CellPixels - 1, top + CellPixels - 1, 0);
    return;
  }
  blit(assetBitmap(AssetTileSheet), target, CellPixels * variant, CellPixels * row, left, top, CellPixels,
       CellPixels);
}

void clearLevelBitmap() { clear_bitmap(levelBitmap); }

void copyLevelBitmap() { blit(levelBitmap, backBuffer, 0, 0, 0, 0, FieldSize, FieldSize); }
