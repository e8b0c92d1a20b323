// The game font drawn as text, and the 8-bit glyph sheet the dat tool grabs.
//
// Font file:
//   cell WIDTH HEIGHT           every glyph's size in pixels
//   shades #rrggbb ...          ink colour of each glyph row, HEIGHT of them
//   glyph CODE [shown]          then HEIGHT rows of WIDTH characters:
//                               '.' is background, anything else ink
// Ink takes its row's shade, so the sheet holds more than one ink colour and
// dat makes a colour font of it; drawn with a flat colour, every ink pixel
// takes that colour instead.
#pragma once

#include "image_files.h"

#include <map>
#include <string>
#include <vector>

struct FontSource {
  int cellWidth = 0;
  int cellHeight = 0;
  std::vector<uint32_t> shades;                  // one per glyph row
  std::map<int, std::vector<std::string>> glyphs;  // character code to rows
};

FontSource readFontSource(const std::string& path);

// First and last character of the sheet: the font covers all of them, and
// characters the file does not draw are blank.
constexpr int FontFirstCharacter = 32;
constexpr int FontLastCharacter = 255;

// Palette indices of the sheet: 0 is the transparent background, the shades
// follow from 1, and 255 frames the cells.
constexpr int FontSheetColumns = 16;
constexpr uint8_t FontFrameIndex = 255;

IndexedImage renderFontSheet(const FontSource& font);

// One character drawn in the font's shades on the given background, for the
// preview.
RgbImage renderGlyph(const FontSource& font, int code, uint32_t backgroundRgb);
