#include "colour_figures.h"

#include "base/assets.h"
#include "level/cell_kinds.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

constexpr int Cell = 16;
constexpr int Variants = 4;
constexpr int Black = 0x000000;
constexpr int BrickRow = CellKinds[Brick].tileRow;
constexpr int LadderRow = CellKinds[Ladder].tileRow;
constexpr int RopeRow = CellKinds[Rope].tileRow;
constexpr int PlayerStartRow = CellKinds[PlayerStart].tileRow;
constexpr int EnemyStartRow = CellKinds[EnemyStart].tileRow;

constexpr double ActorContrastMin = 3.0;
// An actor passes in front of every colour of a tile that covers this share
// of it, not only the commonest (a brick's lit edge, a ladder's shadow side).
constexpr double BackdropShareMin = 0.1;
constexpr double RopeContrastMin = 4.5;
constexpr int RopeThicknessMin = 2;
constexpr double StartMarkerContrastMax = 3.0;  // quieter than anything to pick up or avoid
constexpr double ActorHueApartMin = 60.0;
constexpr double Pi = 3.14159265358979323846;

double linearChannel(int value) {
  const double c = value / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

int red(int rgb) { return (rgb >> 16) & 0xFF; }
int green(int rgb) { return (rgb >> 8) & 0xFF; }
int blue(int rgb) { return rgb & 0xFF; }

int tileRowColour(int row) {
  return mainColour(assetBitmap(AssetTileSheet), 0, row * Cell, Variants * Cell, Cell, Black);
}

std::vector<int> tileRowBackdrop(int row) {
  return coveringColours(assetBitmap(AssetTileSheet), 0, row * Cell, Variants * Cell, Cell, Black, BackdropShareMin);
}

double weakestContrast(int actor, const std::vector<int>& backdrop) {
  double weakest = Unbounded;
  for (const int colour : backdrop) {
    weakest = std::min(weakest, contrastRatio(actor, colour));
  }
  return weakest;
}

int tileRowBoldest(int row) {
  return boldestColour(assetBitmap(AssetTileSheet), 0, row * Cell, Variants * Cell, Cell, Black);
}

using ColourCounts = std::map<int, int>;

void countColours(BITMAP* picture, int x, int y, int width, int height, ColourCounts& counts) {
  for (int py = y; py < y + height; ++py) {
    for (int px = x; px < x + width; ++px) {
      ++counts[getpixel(picture, px, py)];
    }
  }
}

int mostCommon(ColourCounts counts, int ignored) {
  counts[ignored] = 0;
  return std::max_element(counts.begin(), counts.end(),
                          [](const auto& a, const auto& b) { return a.second < b.second; })
      ->first;
}

// The most common opaque colour over a run of sprites: the body, not the trim.
int bodyColour(int firstSprite, int lastSprite) {
  ColourCounts counts;
  for (int index = firstSprite; index <= lastSprite; ++index) {
    countColours(assetBitmap(index), 0, 0, Cell, Cell, counts);
  }
  return mostCommon(counts, bitmap_mask_color(assetBitmap(firstSprite)));
}

double hueApart(int rgbA, int rgbB) {
  const double apart = std::fabs(hueDegrees(rgbA) - hueDegrees(rgbB));
  return std::min(apart, 360.0 - apart);
}

}  // namespace

double relativeLuminance(int rgb) {
  return 0.2126 * linearChannel(red(rgb)) + 0.7152 * linearChannel(green(rgb)) +
         0.0722 * linearChannel(blue(rgb));
}

double contrastRatio(int rgbA, int rgbB) {
  const double a = relativeLuminance(rgbA);
  const double b = relativeLuminance(rgbB);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

double hueDegrees(int rgb) {
  const double r = red(rgb);
  const double g = green(rgb);
  const double b = blue(rgb);
  const double hue = std::atan2(std::sqrt(3.0) * (g - b), 2 * r - g - b) * 180.0 / Pi;
  return hue < 0 ? hue + 360.0 : hue;
}

int mainColour(BITMAP* picture, int x, int y, int width, int height, int ignored) {
  ColourCounts counts;
  countColours(picture, x, y, width, height, counts);
  return mostCommon(counts, ignored);
}

std::vector<int> coveringColours(BITMAP* picture, int x, int y, int width, int height, int ignored,
                                 double share) {
  ColourCounts counts;
  countColours(picture, x, y, width, height, counts);
  std::vector<int> covering;
  for (const auto& [colour, pixels] : counts) {
    if (colour != ignored && pixels >= share * width * height) {
      covering.push_back(colour);
    }
  }
  return covering;
}

int boldestColour(BITMAP* picture, int x, int y, int width, int height, int against) {
  int boldest = against;
  for (int py = y; py < y + height; ++py) {
    for (int px = x; px < x + width; ++px) {
      const int colour = getpixel(picture, px, py);
      boldest = contrastRatio(colour, against) > contrastRatio(boldest, against) ? colour : boldest;
    }
  }
  return boldest;
}

int thinnestBoldRun(BITMAP* picture, int x, int y, int width, int height, double ratio) {
  int thinnest = height;
  for (int px = x; px < x + width; ++px) {
    int longest = 0;
    int run = 0;
    for (int py = y; py < y + height; ++py) {
      run = contrastRatio(getpixel(picture, px, py), Black) >= ratio ? run + 1 : 0;
      longest = std::max(longest, run);
    }
    thinnest = std::min(thinnest, longest);
  }
  return thinnest;
}

std::vector<Figure> measureArt() {
  const int player = bodyColour(AssetPlayerLeft1, AssetPlayerClimb2);
  const int enemy = bodyColour(AssetEnemyLeft1, AssetEnemyRight2);
  const int rope = tileRowColour(RopeRow);
  std::vector<Figure> figures;
  const std::pair<const char*, std::vector<int>> backdrops[] = {{"brick", tileRowBackdrop(BrickRow)},
                                                                 {"ladder", tileRowBackdrop(LadderRow)},
                                                                 {"rope", tileRowBackdrop(RopeRow)}};
  for (const auto& [actorName, actor] : {std::pair{"player", player}, std::pair{"enemy", enemy}}) {
    for (const auto& [tileName, tile] : backdrops) {
      figures.push_back({std::string(actorName) + " body : " + tileName + ", weakest", weakestContrast(actor, tile),
                         ActorContrastMin, Unbounded});
    }
  }
  figures.push_back({"player : enemy hue apart (degrees)", hueApart(player, enemy), ActorHueApartMin, 180});
  figures.push_back({"rope : black", contrastRatio(rope, Black), RopeContrastMin, Unbounded});
  figures.push_back({"rope thickness (pixels)",
                     static_cast<double>(thinnestBoldRun(assetBitmap(AssetTileSheet), 0, RopeRow * Cell,
                                                         Variants * Cell, Cell, RopeContrastMin)),
                     RopeThicknessMin, Cell});
  figures.push_back({"player start, boldest : black", contrastRatio(tileRowBoldest(PlayerStartRow), Black), 1,
                     StartMarkerContrastMax});
  figures.push_back({"enemy start, boldest : black", contrastRatio(tileRowBoldest(EnemyStartRow), Black), 1,
                     StartMarkerContrastMax});
  return figures;
}
