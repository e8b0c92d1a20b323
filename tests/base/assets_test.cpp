// assets.dat as the game loads it: the password, the fixed object table, and
// the properties the drawing code takes for granted (cell-sized sprites with
// a mask, an 8-pixel fixed-pitch font that fits the status line, a solid
// block glyph for the name-entry cursor).
#include "base/assets.h"
#include "base/globals.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr int SpriteCount = 10;

BITMAP* objectBitmap(int index) { return static_cast<BITMAP*>(assets[index].dat); }

int countMaskPixels(BITMAP* picture) {
  int count = 0;
  for (int y = 0; y < picture->h; ++y) {
    for (int x = 0; x < picture->w; ++x) {
      count += getpixel(picture, x, y) == bitmap_mask_color(picture) ? 1 : 0;
    }
  }
  return count;
}

int brightness(int pixel) { return getr32(pixel) + getg32(pixel) + getb32(pixel); }

bool hasOpaquePixel(BITMAP* sprite) {
  for (int y = 0; y < sprite->h; ++y) {
    for (int x = 0; x < sprite->w; ++x) {
      if (getpixel(sprite, x, y) != bitmap_mask_color(sprite)) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace

TEST(AssetsFile, OpensOnlyWithThePassword) {
  startHeadlessAllegro();
  packfile_password(nullptr);
  DATAFILE* withoutPassword = load_datafile(runFile("assets.dat").c_str());
  packfile_password("zoph");
  DATAFILE* withPassword = load_datafile(runFile("assets.dat").c_str());
  EXPECT_EQ(withoutPassword, nullptr);
  ASSERT_NE(withPassword, nullptr);
  int objects = 0;
  while (withPassword[objects].type != DAT_END) {
    ++objects;
  }
  EXPECT_EQ(objects, AssetCount);
  EXPECT_EQ(describeAssetProblem(withPassword), "");
  unload_datafile(withPassword);
  if (withoutPassword != nullptr) {
    unload_datafile(withoutPassword);
  }
}

TEST(AssetsFile, HoldsEachKindOfObjectAtItsIndex) {
  startHeadlessAllegro();
  for (int index = AssetTileSheet; index <= AssetEnemyRight2; ++index) {
    EXPECT_EQ(assets[index].type, DAT_BITMAP) << "object " << index;
  }
  for (int index = AssetSampleLifeLost; index <= AssetSampleCrush; ++index) {
    ASSERT_EQ(assets[index].type, DAT_SAMPLE) << "object " << index;
    const SAMPLE* sample = static_cast<SAMPLE*>(assets[index].dat);
    EXPECT_GT(sample->len, 0u) << "object " << index;
  }
  EXPECT_EQ(assets[AssetFont].type, DAT_FONT);
  EXPECT_EQ(assets[AssetPalette].type, DAT_PALETTE);
}

// Kinds alone would not notice two sprites or two sounds packed in each
// other's place; their names do.
TEST(AssetsFile, HoldsTheObjectsOfTheManifestInItsOrder) {
  startHeadlessAllegro();
  std::ifstream manifest(MQ_ASSET_MANIFEST);
  ASSERT_TRUE(manifest) << MQ_ASSET_MANIFEST;
  int listed = 0;
  for (std::string line; std::getline(manifest, line);) {
    if (line.empty() || line[0] == '#') {
      continue;
    }
    std::istringstream fields(line);
    int index = -1;
    std::string name;
    fields >> index >> name;
    ASSERT_EQ(index, listed) << line;
    ASSERT_LT(index, AssetCount) << line;
    char number[8];
    std::snprintf(number, sizeof number, "%02d_", index);
    const std::string objectName = get_datafile_property(&assets[index], DAT_NAME);
    EXPECT_EQ(objectName.substr(0, objectName.rfind('.')), number + name) << "object " << index;
    ++listed;
  }
  EXPECT_EQ(listed, AssetCount);
}

TEST(AssetsPictures, TileSheetHasFourVariantsOfEveryCodeAndSpritesFillACell) {
  startHeadlessAllegro();
  BITMAP* sheet = objectBitmap(AssetTileSheet);
  EXPECT_EQ(sheet->w, 64);
  EXPECT_GE(sheet->h, 96);
  EXPECT_EQ(bitmap_color_depth(sheet), 32);
  EXPECT_EQ(countMaskPixels(sheet), 0) << "tiles are copied opaque: mask colour would show";
  for (int index = AssetPlayerLeft1; index < AssetPlayerLeft1 + SpriteCount; ++index) {
    BITMAP* sprite = objectBitmap(index);
    EXPECT_EQ(sprite->w, 16) << "object " << index;
    EXPECT_EQ(sprite->h, 16) << "object " << index;
    EXPECT_GT(countMaskPixels(sprite), 0) << "object " << index << " would hide what is behind it";
    EXPECT_TRUE(hasOpaquePixel(sprite)) << "object " << index << " would draw nothing";
  }
}

TEST(AssetsFont, FitsTheStatusLineWithEightPixelGlyphsAndASolidCursor) {
  startHeadlessAllegro();
  EXPECT_LE(text_height(font), 14);
  EXPECT_EQ(text_length(font, "W"), 8);
  EXPECT_EQ(text_length(font, "Level 10"), 64);
  EXPECT_TRUE(is_color_font(font));

  BITMAP* canvas = create_bitmap(8, text_height(font));
  clear_to_color(canvas, 0);
  const char block[] = {static_cast<char>(219), '\0'};
  textout_ex(canvas, font, block, 0, 0, 0xFFFFFF, -1);
  int inked = 0;
  for (int y = 0; y < canvas->h; ++y) {
    for (int x = 0; x < canvas->w; ++x) {
      inked += getpixel(canvas, x, y) == 0xFFFFFF ? 1 : 0;
    }
  }
  EXPECT_EQ(inked, canvas->w * canvas->h);
  destroy_bitmap(canvas);
}

// With colour -1 the glyphs take their colours from the palette object, so a
// palette grabbed from another image would draw them wrong or black.
TEST(AssetsFont, DrawsInItsOwnShadesLighterAtTheTop) {
  startHeadlessAllegro();
  BITMAP* canvas = create_bitmap(8, text_height(font));
  clear_to_color(canvas, 0);
  textout_ex(canvas, font, "H", 0, 0, -1, -1);
  int topRow = -1;
  int bottomRow = -1;
  for (int y = 0; y < canvas->h; ++y) {
    if (getpixel(canvas, 0, y) != 0) {
      topRow = topRow < 0 ? y : topRow;
      bottomRow = y;
    }
  }
  ASSERT_LT(topRow, bottomRow) << "the stem of H is missing";
  const int top = getpixel(canvas, 0, topRow);
  const int bottom = getpixel(canvas, 0, bottomRow);
  EXPECT_GT(brightness(top), brightness(bottom));
  EXPECT_GT(getr32(bottom), 128) << "the foot of the glyph is too dark to read on black";
  destroy_bitmap(canvas);
}
