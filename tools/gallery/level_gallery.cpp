// level-gallery: draws every level of a level list the way the game shows it
// at its start (the level's tiles from the real tile sheet, the player and
// the enemies on their start cells) at full size, over a strip that shows
// the floor: a grey bar where row 31 is brick, and a white arrow under each
// column where it is open, since an actor who comes to row 31 drops out and
// comes back at the top of the same column. It writes one 512 by 520 BMP
// per level plus a Markdown page that shows them with their titles,
// difficulty figures (measured from each level's proof in the replays
// folder) and whether their bottom is open.
//
//   level-gallery [--assets FILE] LIST PICTURE_DIR PAGE PICTURE_LINK_DIR
//
// Pictures are named after the level files (001-first-steps.bmp); the page
// links them as PICTURE_LINK_DIR/NAME.png, because make-gallery.sh turns the
// BMPs into PNGs (the library writes no PNG). Variants of the tiles
// are drawn from a seed made of the level's file name, so the pictures
// change only when a level does, not when the play order moves it.
#include "analysis/level_rating.h"

#include "base/assets.h"
#include "base/globals.h"
#include "base/headless_start.h"
#include "base/random_draws.h"
#include "level/level_drawing.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int FloorStripPixels = 8;
constexpr int FloorColour = 0x606060;
constexpr int OpenColumnColour = 0xFFFFFF;

// The columns where the bottom row is not brick: the ways out of the floor.
std::vector<int> openBottomColumns(const Level& level) {
  std::vector<int> open;
  for (int column = 0; column < GridSize; ++column) {
    if (level.cells[cellIndex(column, GridSize - 1)] != Brick) {
      open.push_back(column);
    }
  }
  return open;
}

// The level's picture over its floor strip.
void drawFloorStrip(BITMAP* picture, const std::vector<int>& openColumns) {
  const int top = GridSize * CellPixels;
  rectfill(picture, 0, top, picture->w - 1, picture->h - 1, 0x000000);
  rectfill(picture, 0, top + 2, picture->w - 1, top + 3, FloorColour);
  for (const int column : openColumns) {
    const int left = CellPixels * column;
    rectfill(picture, left, top, left + CellPixels - 1, picture->h - 1, 0x000000);
    triangle(picture, left + 3, top + 1, left + CellPixels - 4, top + 1, left + CellPixels / 2, top + FloorStripPixels - 2,
             OpenColumnColour);
  }
}

bool startHeadless(const std::string& assetsFile) {
  const std::string problem = startWithoutWindow(assetsFile);
  // The password would also scramble the pictures this program writes.
  packfile_password(nullptr);
  if (!problem.empty()) {
    std::cerr << "level-gallery: " << problem << "\n";
    return false;
  }
  return true;
}

// The level as the game draws it at level start, with the actors' first
// sprites over their start cells.
void drawLevel(const Level& level, unsigned seed) {
  seedRandom(seed);
  clearLevelBitmap();
  for (int row = 0; row < GridSize; ++row) {
    for (int column = 0; column < GridSize; ++column) {
      drawCell(column, row, level.cells[cellIndex(column, row)]);
    }
  }
  for (int row = 0; row < GridSize; ++row) {
    for (int column = 0; column < GridSize; ++column) {
      const int8_t code = level.cells[cellIndex(column, row)];
      if (code == PlayerStart || code == EnemyStart) {
        const int sprite = code == PlayerStart ? AssetPlayerLeft1 : AssetEnemyLeft1;
        draw_sprite(levelBitmap, assetBitmap(sprite), CellPixels * column, CellPixels * row);
      }
    }
  }
}

void writePage(const fs::path& pagePath, const fs::path& linkDir, const std::vector<RatedLevel>& levels) {
  std::ofstream page(pagePath, std::ios::trunc);
  page << "# The levels\n\n"
       << "Every level of the game in play order, drawn pixel for pixel from the game's own tiles as it looks\n"
       << "when it starts. Each is proven clearable, chasers and all, by a replay in `levels/replays/`, which\n"
       << "the level-set tests play through the real rules; `mellow-quarrier-level-solve` finds them\n"
       << "(`cmake --build BUILD_DIR --target solve_levels` refreshes them all).\n\n"
       << "The number after each title is the level's difficulty figure, measured from its\n"
       << "replay and from a player who stands still at the start (`mellow-quarrier-level-rate levels/levels.txt`\n"
       << "prints it with its parts; levels/README.md tells how it is made).\n\n"
       << "Under each picture a grey bar is the floor; a white arrow marks a column where the\n"
       << "bottom row is open, and the open-bottom levels say so after their figure: whoever\n"
       << "falls out there comes back at the top of the same column.\n\n"
       << "Regenerate the pictures and this page after changing a level with\n"
       << "`tools/gallery/make-gallery.sh BUILD_DIR` (or `cmake --build BUILD_DIR --target level_gallery`).\n\n"
       << "| | | |\n|---|---|---|\n";
  for (size_t index = 0; index < levels.size(); ++index) {
    const RatedLevel& level = levels[index];
    const std::string name = level.file.stem().string();
    char figure[16];
    std::snprintf(figure, sizeof figure, "%.1f", level.rating.figure);
    const bool openBottom = !openBottomColumns(level.source.level).empty();
    page << "| ![" << level.source.title << "](" << (linkDir / (name + ".png")).generic_string() << ")<br>"
         << (index + 1) << ". **" << level.source.title << "** (difficulty " << figure << ")"
         << (openBottom ? ", open bottom" : "") << "<br>" << level.source.note << " ";
    page << ((index % 3 == 2 || index + 1 == levels.size()) ? "|\n" : "");
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  std::string assetsFile = MQ_RUN_DIR "/assets.dat";
  if (arguments.size() >= 2 && arguments[0] == "--assets") {
    assetsFile = arguments[1];
    arguments.erase(arguments.begin(), arguments.begin() + 2);
  }
  if (arguments.size() != 4) {
    std::cerr << "usage: level-gallery [--assets FILE] LIST PICTURE_DIR PAGE PICTURE_LINK_DIR\n";
    return 2;
  }
  std::vector<RatedLevel> levels;
  std::string error;
  if (!startHeadless(assetsFile)) {
    return 1;
  }
  if (!rateLevelList(arguments[0], levels, error)) {
    std::cerr << error << "\n";
    return 1;
  }
  const fs::path pictureDir = arguments[1];
  fs::create_directories(pictureDir);
  BITMAP* picture = create_bitmap(levelBitmap->w, levelBitmap->h + FloorStripPixels);
  for (size_t index = 0; index < levels.size(); ++index) {
    const std::string name = levels[index].file.stem().string();
    drawLevel(levels[index].source.level, static_cast<unsigned>(std::hash<std::string>{}(name)));
    blit(levelBitmap, picture, 0, 0, 0, 0, levelBitmap->w, levelBitmap->h);
    drawFloorStrip(picture, openBottomColumns(levels[index].source.level));
    const std::string path = (pictureDir / (name + ".bmp")).string();
    if (save_bmp(path.c_str(), picture, nullptr) != 0) {
      std::cerr << path << ": cannot be written\n";
      destroy_bitmap(picture);
      return 1;
    }
  }
  destroy_bitmap(picture);
  writePage(arguments[2], arguments[3], levels);
  return 0;
}
