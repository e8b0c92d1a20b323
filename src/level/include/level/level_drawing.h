// The level picture: cells are drawn once into levelBitmap at level start and
// one by one when they change; each frame copies the whole picture.
#pragma once

#include <allegro.h>

#include <cstdint>

constexpr int TileVariants = 4;   // pieces in each row of the tile sheet

// A kind without a tile row (Empty) is black; any other code is a random one
// of the four variants in its tile sheet row (level/cell_kinds.h), copied
// opaque.
void drawCell(int x, int y, int8_t code);

// What drawing a cell does to the game apart from its pixels: a code with a
// tile takes one value from the generator that the enemies share, so a run
// that paints nothing still draws it, in the same order. Answers the variant.
int drawTileVariant(int8_t code);

// One cell's picture at pixel (left, top) of any bitmap, with the tile sheet
// variant 0 to 3 given: what drawCell draws, without the random choice.
void drawTile(BITMAP* target, int left, int top, int8_t code, int variant);
void clearLevelBitmap();
void copyLevelBitmap();
