// The live map: play order, level start, dug holes refilling, the decaying
// trail, and the fixed answers outside the grid.
#include "base/assets.h"
#include "base/random_draws.h"
#include "level/tile_map.h"
#include "level_builders.h"
#include "leveltext/level_text.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <numeric>
#include <vector>

namespace {

constexpr uint8_t Linear = 0;
constexpr uint8_t Random = 1;

class TileMapTest : public ::testing::Test {
protected:
  void SetUp() override { startHeadlessAllegro(); }

  TileMap& load(const std::vector<Level>& levels) {
    dir_.writeFile("maps.bin", mapsBinBytes(levels) + endRecord());
    map_ = std::make_unique<TileMap>();
    return *map_;
  }

  TileMap& loadOne(const Level& level) {
    load({level});
    map_->startLevel(0, Linear);
    return *map_;
  }

  uint32_t trailAtCell(int x, int y) const { return map_->trailValue(cellIndex(x, y)); }
  int trailCells() const {
    int count = 0;
    for (int index = 0; index < CellCount; ++index) {
      count += map_->trailValue(index) != 0 ? 1 : 0;
    }
    return count;
  }

  ScopedWorkDir dir_;
  std::unique_ptr<TileMap> map_;
};

// The level whose only PlayerStart is in column `tag` of row 0.
Level taggedLevel(int tag) { return levelWithStart(tag, 0); }

TEST_F(TileMapTest, ShuffleOrderSwapsEachPositionWithOneFromTheWholeRange) {
  TileMap& map = load({taggedLevel(0), taggedLevel(1), taggedLevel(2), taggedLevel(3), taggedLevel(4)});
  for (unsigned seed : {1u, 7u, 12345u}) {
    std::srand(seed);
    std::vector<int> expected(5);
    std::iota(expected.begin(), expected.end(), 0);
    for (int position = 0; position < 5; ++position) {
      std::swap(expected[position], expected[std::rand() % 5]);
    }
    seedRandom(seed);
    EXPECT_EQ(5, map.shuffleOrder());
    EXPECT_EQ(expected, std::vector<int>(map.order, map.order + 5)) << "seed " << seed;
  }
}

TEST_F(TileMapTest, RandomModePlaysTheLevelAtThatPlaceOfTheOrder) {
  TileMap& map = load({taggedLevel(0), taggedLevel(1), taggedLevel(2)});
  const uint8_t order[] = {2, 0, 1};
  std::copy(order, order + 3, map.order);

  map.startLevel(0, Random);
  EXPECT_EQ(16 * 2, map.startX);
  map.startLevel(2, Random);
  EXPECT_EQ(16 * 1, map.startX);
  // Every mode other than 1 is Linear.
  map.startLevel(0, Linear);
  EXPECT_EQ(0, map.startX);
  map.startLevel(1, 2);
  EXPECT_EQ(16 * 1, map.startX);
}

TEST_F(TileMapTest, TheLastPlayerStartInReadingOrderCounts) {
  Level level = blankLevel();
  put(level, 3, 10, PlayerStart);
  put(level, 20, 9, PlayerStart);
  TileMap& map = loadOne(level);
  EXPECT_EQ(48, map.startX);
  EXPECT_EQ(160, map.startY);
  EXPECT_EQ(PlayerStart, map.cellAt(20, 9));
}

TEST_F(TileMapTest, EveryEnemyStartSpawnsInReadingOrderAndGoldIsCounted) {
  Level level = levelWithStart(0, 0);
  for (int i = 0; i < 30; ++i) {
    put(level, 31 - i % 10, 1 + i / 10, EnemyStart);  // put right to left within each row
  }
  put(level, 5, 20, Gold);
  put(level, 6, 31, Gold);
  TileMap& map = loadOne(level);
  ASSERT_EQ(30u, map.spawnQueue.size());
  EXPECT_EQ(16 * 22, map.spawnQueue.front().x);
  EXPECT_EQ(16 * 1, map.spawnQueue.front().y);
  EXPECT_TRUE(std::is_sorted(map.spawnQueue.begin(), map.spawnQueue.end(),
                             [](SpawnPoint a, SpawnPoint b) { return a.y < b.y || (a.y == b.y && a.x < b.x); }));
  EXPECT_EQ(16 * 31, map.spawnQueue.back().x);
  EXPECT_EQ(16 * 3, map.spawnQueue.back().y);
  EXPECT_EQ(2, map.goldLeft);

  map.startLevel(0, Linear);
  EXPECT_EQ(30u, map.spawnQueue.size()) << "a restart finds the same starts afresh";
  EXPECT_EQ(0, loadOne(levelWithStart(1, 1)).goldLeft);
  EXPECT_TRUE(map_->spawnQueue.empty());
}

TEST_F(TileMapTest, HolesRefillOneHundredUpdatesApartInTheOrderDug) {
  Level level = levelWithStart(0, 0);
  for (int x = 0; x < GridSize; ++x) {
    put(level, x, 20, Brick);
  }
  TileMap& map = loadOne(level);
  SampleLog samples;
  std::vector<int> refilledIn;
  for (int update = 1; update <= 250; ++update) {
    if (update == 1 || update == 11) {
      const int x = update == 1 ? 4 : 9;
      map.clearCell(x, 20);
      map.queueRefill(x, 20);
    }
    const int before = samples.count(AssetSampleRefill);
    map.tickRefill();
    if (samples.count(AssetSampleRefill) != before) {
      refilledIn.push_back(update);
    }
    if (update == 99) {
      EXPECT_EQ(Empty, map.cellAt(4, 20));
    }
    if (update == 100) {
      EXPECT_EQ(Brick, map.cellAt(4, 20));
      EXPECT_EQ(Empty, map.cellAt(9, 20));
    }
  }
  EXPECT_EQ((std::vector<int>{100, 200}), refilledIn);
  EXPECT_EQ(Brick, map.cellAt(9, 20));
  EXPECT_TRUE(map.refillQueue.empty());
  EXPECT_EQ(100, map.refillCountdown);
}

TEST_F(TileMapTest, ARestartForgetsTheWaitingHoles) {
  Level level = levelWithStart(0, 0);
  for (int x = 0; x < 3; ++x) {
    put(level, x, 5, Brick);
  }
  TileMap& map = loadOne(level);
  for (int x = 0; x < 3; ++x) {
    map.clearCell(x, 5);
    map.queueRefill(x, 5);
  }
  map.tickRefill();
  map.startLevel(0, Linear);
  for (int x = 0; x < 3; ++x) {
    EXPECT_EQ(Brick, map.cellAt(x, 5));
  }
  EXPECT_TRUE(map.refillQueue.empty());
  EXPECT_EQ(100, map.refillCountdown);
}

TEST_F(TileMapTest, TheTrailFadesByOneAtEveryMark) {
  TileMap& map = loadOne(levelWithStart(0, 0));
  map.markTrail(0, 0);
  EXPECT_EQ(59999u, trailAtCell(0, 0));
  EXPECT_EQ(1, trailCells());

  for (int i = 0; i < 10; ++i) {
    map.markTrail(80, 80);
  }
  EXPECT_EQ(59989u, trailAtCell(0, 0));
  EXPECT_EQ(59999u, trailAtCell(5, 5));

  map.markTrail(8, -16);  // above the top edge: nothing marked, all fades
  EXPECT_EQ(59988u, trailAtCell(0, 0));
  EXPECT_EQ(59998u, trailAtCell(5, 5));

  map.markTrail(-8, 20);  // rounds toward zero, into cell (0, 1)
  EXPECT_EQ(59999u, trailAtCell(0, 1));

  map.markTrail(496, 496);
  map.markTrail(0, 496);
  map.markTrail(0, 0);
  EXPECT_EQ(59997u, trailAtCell(31, 31));
  EXPECT_EQ(59998u, trailAtCell(0, 31));

  // Down to 0 and no further, however long the level lasts.
  for (int i = 0; i < 59997; ++i) {
    map.markTrail(80, 80);
  }
  EXPECT_EQ(1u, trailAtCell(0, 31));
  map.markTrail(80, 80);
  map.markTrail(80, 80);
  EXPECT_EQ(0u, trailAtCell(0, 31));
  EXPECT_EQ(0u, trailAtCell(0, 0));
  EXPECT_EQ(59999u, trailAtCell(5, 5));

  map.clearTrail();
  EXPECT_EQ(0, trailCells());
}

TEST_F(TileMapTest, OutsideTheGridIsBrickWithoutTrailAndEditsAreIgnored) {
  Level level = levelWithStart(0, 0);
  put(level, 2, 2, Brick);
  TileMap& map = loadOne(level);
  EXPECT_EQ(Brick, map.cellAt(-1, 5));
  EXPECT_EQ(Brick, map.cellAt(32, 0));
  EXPECT_EQ(Brick, map.cellAt(0, 32));
  EXPECT_EQ(PlayerStart, map.cellAt(0, 0));

  map.markTrail(0, 0);
  EXPECT_EQ(0u, map.trailAt(-1, 0));
  EXPECT_EQ(0u, map.trailAt(0, 32));
  EXPECT_EQ(59999u, map.trailAt(0, 0));
  map.markTrail(32, 32);
  EXPECT_EQ(0u, map.trailAt(2, 2)) << "brick hides its trail";
  EXPECT_EQ(59999u, trailAtCell(2, 2));

  map.clearCell(32, 0);
  map.clearCell(-1, -1);
  map.queueRefill(0, 32);
  map.queueRefill(-1, 3);
  EXPECT_TRUE(map.refillQueue.empty());
  map.queueRefill(31, 31);
  EXPECT_EQ(1u, map.refillQueue.size()) << "any in-grid cell is queued, whatever it holds";
}

}  // namespace
