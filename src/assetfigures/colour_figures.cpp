#include "assetfigures/colour_figures.h"

#include "base/assets.h"
#include "level/cell_kinds.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace {

constexpr int Cell = 16;
constexpr int Variants = 4;
constexpr int Black = 0x000000;
constexpr int BrickRow = CellKinds[Brick].tileRow;
constexpr int LadderRow = CellKinds[Ladder].tileRow;
constexpr int RopeRow = CellKinds[Rope].tileRow;
constexpr int GoldRow = CellKinds[Gold].tileRow;
constexpr int PlayerStartRow = CellKinds[PlayerStart].tileRow;
constexpr int EnemyStartRow = CellKinds[EnemyStart].tileRow;

// The player is the brightest thing on screen and stands 3:1 off every tile
// colour; the enemy has to be at least 1.5:1 darker than the player, so that
// the two part by brightness, not only by hue, which leaves it 2:1 off the
// tiles' brightest colours (and far off the black it mostly moves on).
constexpr double PlayerContrastMin = 3.0;
constexpr double EnemyContrastMin = 2.0;
constexpr double ActorsContrastMin = 1.5;
constexpr double ActorsDeltaEMin = 30;
// An enemy beside gold is a threat beside a prize: the two part by brightness
// and by colour as red-green colour blind players see them, as the actors do.
// The player parts from gold by hue (cyan and yellow stay apart in every
// vision), so only its colour difference is held.
constexpr double EnemyGoldContrastMin = 1.5;
constexpr double ActorGoldDeltaEMin = 30;
// An actor passes in front of every colour of a tile that covers this share
// of it, not only the commonest (a brick's lit edge, a ladder's shadow side).
constexpr double BackdropShareMin = 0.1;
constexpr double RopeContrastMin = 4.5;
constexpr int RopeThicknessMin = 2;
constexpr double StartMarkerContrastMax = 3.0;  // quieter than anything to pick up or avoid
// Crushed enemies come back on the top row, not at their start, so the
// enemy-start marker must not read as an enemy: it has no colour at all.
constexpr double EnemyStartChromaMax = 5;
constexpr double ActorHueApartMin = 60.0;
constexpr double Pi = 3.14159265358979323846;

double linearChannel(int value) {
  const double c = value / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double encodedChannel(double linear) {
  const double c = std::clamp(linear, 0.0, 1.0);
  return c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
}

int red(int rgb) { return (rgb >> 16) & 0xFF; }
int green(int rgb) { return (rgb >> 8) & 0xFF; }
int blue(int rgb) { return rgb & 0xFF; }

using Triple = std::array<double, 3>;

Triple linearRgb(int rgb) { return {linearChannel(red(rgb)), linearChannel(green(rgb)), linearChannel(blue(rgb))}; }

Triple cielab(int rgb) {
  const Triple c = linearRgb(rgb);
  // sRGB primaries to XYZ, each divided by the D65 white point.
  const Triple xyz = {(0.4124 * c[0] + 0.3576 * c[1] + 0.1805 * c[2]) / 0.95047,
                      0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2],
                      (0.0193 * c[0] + 0.1192 * c[1] + 0.9505 * c[2]) / 1.08883};
  Triple f;
  for (int i = 0; i < 3; ++i) {
    f[i] = xyz[i] > 216.0 / 24389 ? std::cbrt(xyz[i]) : (24389.0 / 27 * xyz[i] + 16) / 116;
  }
  return {116 * f[1] - 16, 500 * (f[0] - f[1]), 200 * (f[1] - f[2])};
}

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

double tileRowStrongestChroma(int row) {
  const std::vector<int> colours =
      coveringColours(assetBitmap(AssetTileSheet), 0, row * Cell, Variants * Cell, Cell, Black, 0.0);
  double strongest = 0;
  for (const int colour : colours) {
    strongest = std::max(strongest, chroma(colour));
  }
  return strongest;
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

double deltaE(int rgbA, int rgbB) {
  const Triple a = cielab(rgbA);
  const Triple b = cielab(rgbB);
  return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

double chroma(int rgb) {
  const Triple lab = cielab(rgb);
  return std::hypot(lab[1], lab[2]);
}

int seenWith(ColourVision vision, int rgb) {
  using Matrix = std::array<Triple, 3>;
  static const Matrix deuteranopia = {{{0.367322, 0.860646, -0.227968},
                                       {0.280085, 0.672501, 0.047413},
                                       {-0.011820, 0.042940, 0.968881}}};
  static const Matrix protanopia = {{{0.152286, 1.052583, -0.204868},
                                     {0.114503, 0.786281, 0.099216},
                                     {-0.003882, -0.048116, 1.051998}}};
  const Matrix& matrix = vision == ColourVision::Deuteranopia ? deuteranopia : protanopia;
  const Triple c = linearRgb(rgb);
  int seen = 0;
  for (const Triple& row : matrix) {
    const double channel = encodedChannel(row[0] * c[0] + row[1] * c[1] + row[2] * c[2]);
    seen = seen << 8 | static_cast<int>(std::lround(255 * channel));
  }
  return seen;
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
  const int gold = tileRowColour(GoldRow);
  std::vector<Figure> figures;
  const std::pair<const char*, std::vector<int>> backdrops[] = {{"brick", tileRowBackdrop(BrickRow)},
                                                                 {"ladder", tileRowBackdrop(LadderRow)},
                                                                 {"rope", tileRowBackdrop(RopeRow)}};
  const struct {
    const char* name;
    int body;
    double contrastMin;
  } actors[] = {{"player", player, PlayerContrastMin}, {"enemy", enemy, EnemyContrastMin}};
  for (const auto& actor : actors) {
    for (const auto& [tileName, tile] : backdrops) {
      figures.push_back({std::string(actor.name) + " body : " + tileName + ", weakest", weakestContrast(actor.body, tile),
                         actor.contrastMin, Unbounded});
    }
  }
  figures.push_back({"player : enemy hue apart (degrees)", hueApart(player, enemy), ActorHueApartMin, 180});
  figures.push_back({"player : enemy luminance contrast", contrastRatio(player, enemy), ActorsContrastMin, Unbounded});
  figures.push_back({"enemy : gold luminance contrast", contrastRatio(enemy, gold), EnemyGoldContrastMin, Unbounded});
  const struct {
    const char* name;
    int colourA;
    int colourB;
    double deltaEMin;
  } pairs[] = {{"player : enemy", player, enemy, ActorsDeltaEMin},
               {"player : gold", player, gold, ActorGoldDeltaEMin},
               {"enemy : gold", enemy, gold, ActorGoldDeltaEMin}};
  for (const auto& pair : pairs) {
    figures.push_back({std::string(pair.name) + " colour difference (dE)", deltaE(pair.colourA, pair.colourB),
                       pair.deltaEMin, Unbounded});
    for (const auto& [visionName, vision] : {std::pair{"deuteranopia", ColourVision::Deuteranopia},
                                             std::pair{"protanopia", ColourVision::Protanopia}}) {
      figures.push_back({std::string(pair.name) + " dE, " + visionName,
                         deltaE(seenWith(vision, pair.colourA), seenWith(vision, pair.colourB)), pair.deltaEMin,
                         Unbounded});
    }
  }
  figures.push_back({"rope : black", contrastRatio(rope, Black), RopeContrastMin, Unbounded});
  figures.push_back({"rope thickness (pixels)",
                     static_cast<double>(thinnestBoldRun(assetBitmap(AssetTileSheet), 0, RopeRow * Cell,
                                                         Variants * Cell, Cell, RopeContrastMin)),
                     RopeThicknessMin, Cell});
  figures.push_back({"player start, boldest : black", contrastRatio(tileRowBoldest(PlayerStartRow), Black), 1,
                     StartMarkerContrastMax});
  figures.push_back({"enemy start, boldest : black", contrastRatio(tileRowBoldest(EnemyStartRow), Black), 1,
                     StartMarkerContrastMax});
  figures.push_back({"enemy start, strongest chroma", tileRowStrongestChroma(EnemyStartRow), 0, EnemyStartChromaMax});
  return figures;
}
