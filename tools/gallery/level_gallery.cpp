// level-gallery: draws every level of a level list the way the game shows it
// at its start (the level's tiles from the real tile sheet, the player and
// the enemies on their start cells) and writes one 512 by 512 BMP per level
// plus a Markdown page that shows them with their titles and difficulty
// figures (measured from each level's proof in the replays folder).
//
//   level-gallery [--assets FILE] LIST PICTURE_DIR PAGE PICTURE_LINK_DIR
//
// Pictures are named after the level files (001-first-steps.bmp); the page
// links them as PICTURE_LINK_DIR/NAME.png, because make-gallery.sh turns the
// BMPs into small PNGs (the library writes no PNG). Variants of the tiles
// are drawn from a seed made of the level's file name, so the pictures
// change only when a level does, not when the play order moves it.
#include "level_rating.h"

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
       << "Every level of the game in play order, drawn from the game's own tiles as it looks\n"
       << "when it starts. Each is proven clearable, chasers and all, by a replay in `levels/replays/`, which\n"
       << "the level-set tests play through the real rules; `level-solve` finds them\n"
       << "(`cmake --build BUILD_DIR --target solve_levels` refreshes them all).\n\n"
       << "The number after each title is the level's difficulty figure, measured from its\n"
       << "replay and from a player who stands still at the start (`level-rate levels/levels.txt`\n"
       << "prints it with its parts; levels/README.md tells how it is made).\n\n"
       << "Regenerate the pictures and this page after changing a level with\n"
       << "`tools/gallery/make-gallery.sh BUILD_DIR` (or `cmake --build BUILD_DIR --target level_gallery`).\n\n"
       << "| | | |\n|---|---|---|\n";
  for (size_t index = 0; index < levels.size(); ++index) {
    const RatedLevel& level = levels[index];
    const std::string name = level.file.stem().string();
    char figure[16];
    std::snprintf(figure, sizeof figure, "%.1f", level.rating.figure);
    page << "| ![" << level.source.title << "](" << (linkDir / (name + ".png")).generic_string() << ")<br>"
         << (index + 1) << ". **" << level.source.title << "** (difficulty " << figure << ")<br>" << level.source.note << " ";
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
  for (size_t index = 0; index < levels.size(); ++index) {
    const std::string name = levels[index].file.stem().string();
    drawLevel(levels[index].source.level, static_cast<unsigned>(std::hash<std::string>{}(name)));
    const std::string picture = (pictureDir / (name + ".bmp")).string();
    if (save_bmp(picture.c_str(), levelBitmap, nullptr) != 0) {
      std::cerr << picture << ": cannot be written\n";
      return 1;
    }
  }
  writePage(arguments[2], arguments[3], levels);
  return 0;
}
