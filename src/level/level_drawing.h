// The level picture: cells are drawn once into levelBitmap at level start and
// one by one when they change; each frame copies the whole picture.
#pragma once

#include <cstdint>

// Empty is black; any other code is a random one of the four variants in the
// tile sheet row of that code, copied opaque.
void drawCell(int x, int y, int8_t code);
void clearLevelBitmap();
void copyLevelBitmap();
