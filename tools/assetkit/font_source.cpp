#include "font_source.h"

#include "source_text.h"

#include <algorithm>

namespace {

void readHeader(const SourceLine& line, FontSource& font) {
  if (line.words[0] == "cell" && line.words.size() == 3) {
    font.cellWidth = parseInteger(line, line.words[1]);
    font.cellHeight = parseInteger(line, line.words[2]);
  } else if (line.words[0] == "shades") {
    for (size_t i = 1; i < line.words.size(); ++i) {
      font.shades.push_back(parseColour(line, line.words[i]));
    }
  } else {
    throw SourceError(line, "expected 'cell', 'shades' or 'glyph'");
  }
}

std::vector<std::string> readGlyphRows(const std::vector<SourceLine>& lines, size_t& next,
                                       const FontSource& font) {
  std::vector<std::string> rows;
  for (int row = 0; row < font.cellHeight; ++row, ++next) {
    if (next >= lines.size() || lines[next].words.size() != 1 ||
        static_cast<int>(lines[next].words[0].size()) != font.cellWidth) {
      const SourceLine& where = lines[std::min(next, lines.size() - 1)];
      throw SourceError(where, "expected a glyph row of " + std::to_string(font.cellWidth) +
                                   " characters");
    }
    rows.push_back(lines[next].words[0]);
  }
  return rows;
}

}  // namespace

FontSource readFontSource(const std::string& path) {
  const std::vector<SourceLine> lines = readSourceLines(path);
  FontSource font;
  size_t next = 0;
  while (next < lines.size()) {
    const SourceLine& line = lines[next++];
    if (line.words.empty()) {
      continue;
    }
    if (line.words[0] != "glyph") {
      readHeader(line, font);
      continue;
    }
    if (font.cellWidth <= 0 || font.cellHeight <= 0 ||
        static_cast<int>(font.shades.size()) != font.cellHeight) {
      throw SourceError(line, "'cell' and one shade per glyph row must come before the glyphs");
    }
    const int code = line.words.size() >= 2 ? parseInteger(line, line.words[1]) : -1;
    if (code < FontFirstCharacter || code > FontLastCharacter || font.glyphs.count(code) != 0) {
      throw SourceError(line, "glyph code missing, out of range or drawn twice");
    }
    font.glyphs[code] = readGlyphRows(lines, next, font);
  }
  if (font.glyphs.empty()) {
    throw SourceError(path, "no glyphs");
  }
  return font;
}

IndexedImage renderFontSheet(const FontSource& font) {
  const int characters = FontLastCharacter - FontFirstCharacter + 1;
  const int rows = (characters + FontSheetColumns - 1) / FontSheetColumns;
  IndexedImage sheet(FontSheetColumns * (font.cellWidth + 1) + 1, rows * (font.cellHeight + 1) + 1,
                     FontFrameIndex);
  for (size_t i = 0; i < font.shades.size(); ++i) {
    sheet.palette[1 + i] = font.shades[i];
  }
  sheet.palette[FontFrameIndex] = 0xFFFF00;
  for (int code = FontFirstCharacter; code <= FontLastCharacter; ++code) {
    const int cell = code - FontFirstCharacter;
    const int left = 1 + (cell % FontSheetColumns) * (font.cellWidth + 1);
    const int top = 1 + (cell / FontSheetColumns) * (font.cellHeight + 1);
    const auto glyph = font.glyphs.find(code);
    for (int y = 0; y < font.cellHeight; ++y) {
      for (int x = 0; x < font.cellWidth; ++x) {
        const bool ink = glyph != font.glyphs.end() && glyph->second[y][x] != '.';
        sheet.set(left + x, top + y, ink ? static_cast<uint8_t>(1 + y) : 0);
      }
    }
  }
  return sheet;
}

RgbImage renderGlyph(const FontSource& font, int code, uint32_t backgroundRgb) {
  RgbImage image(font.cellWidth, font.cellHeight, backgroundRgb);
  const auto glyph = font.glyphs.find(code);
  if (glyph == font.glyphs.end()) {
    return image;
  }
  for (int y = 0; y < font.cellHeight; ++y) {
    for (int x = 0; x < font.cellWidth; ++x) {
      if (glyph->second[y][x] != '.') {
        image.set(x, y, font.shades[static_cast<size_t>(y)]);
      }
    }
  }
  return image;
}
