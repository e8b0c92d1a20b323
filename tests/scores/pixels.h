// Pixel queries over the headless bitmaps for the scores tests.
#pragma once

#include <allegro.h>

// The datafile font's glyphs are 8 pixels wide; their height is the font's.
inline int glyphHeight() { return text_height(font); }

// Pixels of the given colour in the rectangle [x0, x1) x [y0, y1).
inline int countColour(BITMAP* bitmap, int x0, int y0, int x1, int y1, int colour) {
  int count = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      count += getpixel(bitmap, x, y) == colour ? 1 : 0;
    }
  }
  return count;
}

// Pixels that are neither black nor the given colour in [x0, x1) x [y0, y1).
inline int countOther(BITMAP* bitmap, int x0, int y0, int x1, int y1, int colour) {
  int count = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const int pixel = getpixel(bitmap, x, y);
      count += pixel != 0 && pixel != colour ? 1 : 0;
    }
  }
  return count;
}

inline int countLit(BITMAP* bitmap, int x0, int y0, int x1, int y1) {
  return countOther(bitmap, x0, y0, x1, y1, 0);
}

inline bool sameBitmaps(BITMAP* a, BITMAP* b) {
  for (int y = 0; y < a->h; ++y) {
    for (int x = 0; x < a->w; ++x) {
      if (getpixel(a, x, y) != getpixel(b, x, y)) {
        return false;
      }
    }
  }
  return true;
}
