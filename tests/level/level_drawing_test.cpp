// The level picture: Empty cells black, every other cell a variant from the
// tile sheet row of its code, the variant drawn from rand() once per cell.
#include "base/assets.h"
#include "base/globals.h"
#include "base/random_draws.h"
#include "level/tile_map.h"
#include "level_builders.h"
#include "leveltext/level_text.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

bool sameBlock(BITMAP* picture, int x, int y, BITMAP* sheet, int sheetX, int sheetY) {
  for (int dy = 0; dy < CellPixels; ++dy) {
    for (int dx = 0; dx < CellPixels; ++dx) {
      if (getpixel(picture, x + dx, y + dy) != getpixel(sheet, sheetX + dx, sheetY + dy)) {
        return false;
      }
    }
  }
  return true;
}

bool cellIsBlack(int x, int y) {
  for (int dy = 0; dy < CellPixels; ++dy) {
    for (int dx = 0; dx < CellPixels; ++dx) {
      if (getpixel(levelBitmap, CellPixels * x + dx, CellPixels * y + dy) != 0) {
        return false;
      }
    }
  }
  return true;
}

bool cellShowsVariant(int x, int y, int code, int variant) {
  return sameBlock(levelBitmap, CellPixels * x, CellPixels * y, assetBitmap(AssetTileSheet), CellPixels * variant,
                   CellPixels * (code - 1));
}

// One cell of every code from Brick to EnemyStart on row 4, the rest empty.
Level everyCodeLevel() {
  Level level = blankLevel();
  for (int code = Brick; code <= EnemyStart; ++code) {
    put(level, 2 * code, 4, code);
  }
  return level;
}

class LevelDrawingTest : public ::testing::Test {
protected:
  void SetUp() override {
    startHeadlessAllegro();
    dir_.writeFile("maps.bin", mapsBinBytes({everyCodeLevel()}) + endRecord());
    map_ = std::make_unique<TileMap>();
  }

  ScopedWorkDir dir_;
  std::unique_ptr<TileMap> map_;
};

TEST_F(LevelDrawingTest, EachCellShowsTheVariantThatRandDrewForIt) {
  clear_to_color(levelBitmap, 0xFFFFFF);
  std::srand(99);
  std::vector<int> variants;
  for (int code = Brick; code <= EnemyStart; ++code) {
    variants.push_back(std::rand() % 4);
  }
  const int nextDraw = std::rand();

  seedRandom(99);
  map_->startLevel(0, 0);
  EXPECT_EQ(nextDraw, std::rand()) << "one draw per non-empty cell, none for Empty";
  for (int code = Brick; code <= EnemyStart; ++code) {
    EXPECT_TRUE(cellShowsVariant(2 * code, 4, code, variants[code - 1])) << "code " << code;
  }
  for (int y = 0; y < GridSize; ++y) {
    for (int x = 0; x < GridSize; ++x) {
      if (map_->cellAt(x, y) == Empty) {
        ASSERT_TRUE(cellIsBlack(x, y)) << x << "," << y;
      }
    }
  }
}

TEST_F(LevelDrawingTest, ADugHoleIsBlackUntilItRefillsWithAFreshBrick) {
  map_->startLevel(0, 0);
  map_->clearCell(2, 4);
  map_->queueRefill(2, 4);
  EXPECT_TRUE(cellIsBlack(2, 4));

  for (int update = 1; update < 100; ++update) {
    map_->tickRefill();
  }
  EXPECT_TRUE(cellIsBlack(2, 4));
  std::srand(5);
  const int variant = std::rand() % 4;
  seedRandom(5);
  map_->tickRefill();
  EXPECT_TRUE(cellShowsVariant(2, 4, Brick, variant));
}

}  // namespace
