#include "preview.h"

#include "level/cell_kinds.h"

#include <algorithm>
#include <string>

namespace {

constexpr int Cell = 16;
constexpr int ArtZoom = 4;
constexpr int TextZoom = 2;
constexpr int Margin = 16;
constexpr int Gap = 24;
constexpr uint32_t PageRgb = 0x22222C;
constexpr uint32_t DimTextRgb = 0x445566;  // the status line's dim zeros
constexpr int OwnColours = -1;

// The code a tile row draws, and the kind's name when the editor offers it.
std::string tileRowLabel(int row) {
  for (int code = 0; code < CodeCount; ++code) {
    if (CellKinds[code].tileRow == row) {
      const char* name = CellKinds[code].paletteName;
      return std::to_string(code) + (name != nullptr ? std::string(" ") + name : std::string());
    }
  }
  return std::to_string(row + 1);
}

// A corner of a level, to see the pieces together at play size: # brick,
// H ladder, - rope, $ gold, P and E starts. The actors stand where the tiles
// behind them matter most: on a ladder, hanging from the rope, climbing out
// of a hole past the brick.
const char* const SceneRows[] = {
    "        $       E   ",
    "   ------------     ",
    "###H          $  H##",
    "   H###########  H  ",
    "   H             H  ",
    "#####H###  ########H",
    "  $  H           $ H",
    "##P##H###.#########H",
    "####################",
};

struct SceneActor {
  const char* sprite;
  int x;  // pixels at actual size
  int y;
};

const SceneActor SceneActors[] = {
    {"03_player_right_1", 16, 64},  {"05_player_climb_1", 80, 92},  {"07_enemy_left_1", 120, 16},
    {"09_enemy_right_1", 176, 64}, {"07_enemy_left_1", 48, 40},    {"09_enemy_right_1", 144, 104},
    {"06_player_climb_2", 272, 56},
};

class Page {
public:
  Page(const ArtSources& art, int width, int height) : art_(art), image_(width, height, PageRgb) {}

  RgbImage& image() { return image_; }

  // Returns the x just past the text.
  int text(int x, int y, const std::string& words, int zoom, int colour = OwnColours) {
    const FontSource& font = art_.font;
    for (const char c : words) {
      const RgbImage glyph = renderGlyph(font, static_cast<unsigned char>(c), 0);
      for (int gy = 0; gy < glyph.height; ++gy) {
        for (int gx = 0; gx < glyph.width; ++gx) {
          const uint32_t ink = glyph.at(gx, gy);
          if (ink != 0) {
            image_.fillRect(x + gx * zoom, y + gy * zoom, zoom, zoom,
                            colour == OwnColours ? ink : static_cast<uint32_t>(colour));
          }
        }
      }
      x += font.cellWidth * zoom;
    }
    return x;
  }

  int textHeight(int zoom) const { return art_.font.cellHeight * zoom; }

  RgbImage tile(int row, int variant) const {
    return renderPicture(art_.tiles[static_cast<size_t>(row * 4 + variant)], art_.palette, 0);
  }

  void sprite(const std::string& name, int x, int y, int zoom) {
    const Picture& picture = findPicture(art_.sprites, name);
    for (int py = 0; py < picture.height; ++py) {
      for (int px = 0; px < picture.width; ++px) {
        const char c = picture.at(px, py);
        if (c != art_.palette.clearCharacter) {
          image_.fillRect(x + px * zoom, y + py * zoom, zoom, zoom, art_.palette.colours.at(c));
        }
      }
    }
  }

private:
  const ArtSources& art_;
  RgbImage image_;
};

int tileRows(const ArtSources& art) { return static_cast<int>(art.tiles.size()) / 4; }

// Returns the bottom edge.
int drawTileSheet(Page& page, const ArtSources& art, int left, int top) {
  page.text(left, top, "Tiles, object 0", TextZoom);
  top += page.textHeight(TextZoom) + 8;
  for (int row = 0; row < tileRows(art); ++row) {
    for (int variant = 0; variant < 4; ++variant) {
      page.image().paste(page.tile(row, variant), left + variant * (Cell * ArtZoom + 4),
                         top + row * (Cell * ArtZoom + 4), ArtZoom);
    }
    page.text(left + 4 * (Cell * ArtZoom + 4) + 8, top + row * (Cell * ArtZoom + 4) + 20, tileRowLabel(row),
              TextZoom);
  }
  return top + tileRows(art) * (Cell * ArtZoom + 4);
}

void drawSprites(Page& page, int left, int top) {
  const char* const pairs[][3] = {
      {"01_player_left_1", "02_player_left_2", "1-2 left"},
      {"03_player_right_1", "04_player_right_2", "3-4 right"},
      {"05_player_climb_1", "06_player_climb_2", "5-6 climb"},
      {"07_enemy_left_1", "08_enemy_left_2", "7-8 enemy"},
      {"09_enemy_right_1", "10_enemy_right_2", "9-10 enemy"},
  };
  page.text(left, top, "Sprites", TextZoom);
  top += page.textHeight(TextZoom) + 8;
  const int size = Cell * ArtZoom;
  for (const auto& pair : pairs) {
    page.image().fillRect(left, top, 2 * size + 4, size, 0);
    page.sprite(pair[0], left, top, ArtZoom);
    page.sprite(pair[1], left + size + 4, top, ArtZoom);
    page.text(left + 2 * size + 16, top + 20, pair[2], TextZoom);
    top += size + 4;
  }
}

char sceneAt(int x, int y) { return SceneRows[y][x]; }

int drawScene(Page& page, const ArtSources& art, int left, int top, int zoom) {
  const int columns = static_cast<int>(std::string(SceneRows[0]).size());
  const int rows = static_cast<int>(sizeof SceneRows / sizeof SceneRows[0]);
  page.image().fillRect(left, top, columns * Cell * zoom, rows * Cell * zoom, 0);
  const std::string tileCodes = "#H-$PE";
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < columns; ++x) {
      const size_t code = tileCodes.find(sceneAt(x, y));
      if (code != std::string::npos && static_cast<int>(code) < tileRows(art)) {
        page.image().paste(page.tile(static_cast<int>(code), (x * 7 + y * 3) % 4),
                           left + x * Cell * zoom, top + y * Cell * zoom, zoom);
      }
    }
  }
  for (const SceneActor& actor : SceneActors) {
    page.sprite(actor.sprite, left + actor.x * zoom, top + actor.y * zoom, zoom);
  }
  return top + rows * Cell * zoom;
}

// The status line as the game draws it: dim zeros under the bright score,
// the clock, the level label and two life icons.
void drawStatusLine(Page& page, int left, int top, int zoom) {
  page.image().fillRect(left, top, 512 * zoom, 16 * zoom, 0);
  const int y = top + zoom;
  page.text(left, y, "000000", zoom, DimTextRgb);
  page.text(left + 6 * 8 * zoom, y, "1230", zoom);
  page.text(left + 150 * zoom, y, "1:58", zoom);
  page.text(left + 384 * zoom, y, "Level 12", zoom);
  page.sprite("01_player_left_1", left + 480 * zoom, top, zoom);
  page.sprite("01_player_left_1", left + 496 * zoom, top, zoom);
}

int drawFont(Page& page, const ArtSources& art, int left, int top) {
  page.text(left, top, "Font, object 16", TextZoom);
  top += page.textHeight(TextZoom) + 8;
  std::string all;
  for (int code = 32; code <= 126; ++code) {
    all += static_cast<char>(code);
  }
  all += static_cast<char>(219);
  const int perLine = 32;
  for (size_t start = 0; start < all.size(); start += perLine) {
    page.image().fillRect(left, top, perLine * art.font.cellWidth * TextZoom,
                          page.textHeight(TextZoom), 0);
    page.text(left, top, all.substr(start, perLine), TextZoom);
    top += page.textHeight(TextZoom) + 4;
  }
  const std::string pangram = "The quick brown fox jumps over 13 lazy dogs!";
  page.image().fillRect(left, top + 4, 512 * TextZoom, 2 * page.textHeight(TextZoom) + 8, 0);
  page.text(left, top + 4, pangram, TextZoom);
  page.text(left, top + 8 + page.textHeight(TextZoom), pangram, TextZoom, DimTextRgb);
  return top + 8 + 2 * page.textHeight(TextZoom) + 4;
}

RgbImage cropToHeight(const RgbImage& image, int height) {
  RgbImage cropped(image.width, height);
  std::copy_n(image.pixels.begin(), cropped.pixels.size(), cropped.pixels.begin());
  return cropped;
}

}  // namespace

// Drawn on a page taller than needed, then cut below the last section.
RgbImage renderArtPreview(const ArtSources& art) {
  const int tilesWidth = 4 * (Cell * ArtZoom + 4) + 8 + 14 * art.font.cellWidth * TextZoom;
  const int spritesLeft = Margin + tilesWidth + Gap;
  const int width = std::max(spritesLeft + 2 * Cell * ArtZoom + 16 + 10 * 16 + Margin,
                             2 * Margin + 512 * 2);
  Page page(art, width, 4096);
  const int sheetBottom = drawTileSheet(page, art, Margin, Margin);
  drawSprites(page, spritesLeft, Margin);
  int top = sheetBottom + Gap;
  page.text(Margin, top, "A corner of a level, 3x", TextZoom);
  top = drawScene(page, art, Margin, top + page.textHeight(TextZoom) + 8, 3) + Gap;
  page.text(Margin, top, "Status line, 2x and actual size", TextZoom);
  top += page.textHeight(TextZoom) + 8;
  drawStatusLine(page, Margin, top, 2);
  drawStatusLine(page, Margin, top + 40, 1);
  const int bottom = drawFont(page, art, Margin, top + 40 + 16 + Gap) + Margin;
  return cropToHeight(page.image(), bottom);
}
