// The dead-end analysis: it finds the traps of the old Switchback and
// Skyline (copies kept here from before they were mended), tells a trap from
// a place that costs a life by a refill or by an enemy, sees that gold in two
// one-way pits cannot all be taken, and gives ways in that really lead there.
#include "analysis/dead_ends.h"

#include "leveltext/level_text.h"
#include "replay/replay_runner.h"
#include "support/headless.h"

#include "game/game.h"
#include "game/player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace {

const std::string FixtureDir = MQ_ANALYSIS_LEVELS;

Level fixture(const std::string& name) {
  std::ifstream in(FixtureDir + "/" + name);
  LevelSource source;
  std::string error;
  EXPECT_TRUE(parseLevelSource(in, name, source, error)) << error;
  return source.level;
}

// Brick everywhere but a gallery along row 10 from column 2 to 29, the
// player in its middle.
std::vector<std::string> galleryRows() {
  std::vector<std::string> rows(GridSize, std::string(GridSize, '#'));
  for (int column = 2; column <= 29; ++column) {
    rows[10][column] = '.';
  }
  rows[10][15] = 'P';
  return rows;
}

// One-way pits below the gallery: one cell wide at column 3 (nothing reaches
// a dug hole from it, so it is a trap), two wide at 28 and 29 (a hole dug
// beside him is a grave he can walk into, so it costs a life).
std::vector<std::string> twoPitsRows() {
  std::vector<std::string> rows = galleryRows();
  rows[11][3] = rows[12][3] = '.';
  rows[11][28] = rows[12][28] = rows[11][29] = rows[12][29] = '.';
  rows[10][5] = rows[10][26] = '$';
  return rows;
}

bool holds(const DeadEnd& deadEnd, int column, int row) {
  return std::find(deadEnd.cells.begin(), deadEnd.cells.end(), cellIndex(column, row)) != deadEnd.cells.end();
}

const DeadEnd* deadEndAt(const DeadEndReport& report, int column, int row) {
  for (const DeadEnd& deadEnd : report.deadEnds) {
    if (holds(deadEnd, column, row)) {
      return &deadEnd;
    }
  }
  return nullptr;
}

struct WayEnd {
  int column = -1;
  int row = -1;
  int32_t goldLeft = 0;
  int deaths = 0;
};

// Plays the way in without enemies, then waits a minute.
WayEnd playWayIn(const Level& level, const DeadEnd& deadEnd) {
  Replay replay;
  replay.enemies = false;
  replay.keys = deadEnd.way;
  uint32_t wayUpdates = 0;
  for (const KeyRun& run : deadEnd.way) {
    wayUpdates += run.updates;
  }
  holdKeys(replay, 0, 6000);
  WayEnd end;
  const ReplayOutcome outcome =
      playReplay(replay, singleLevelMapsBin(withoutEnemyStarts(level)), [&](uint32_t update, const Game& game) {
        if (update == wayUpdates) {
          end.column = game.player->x / CellPixels;
          end.row = game.player->y / CellPixels;
        }
      });
  end.goldLeft = outcome.goldLeft;
  end.deaths = outcome.deaths;
  return end;
}

class DeadEndsTest : public ::testing::Test {
protected:
  void SetUp() override { startHeadlessAllegro(); }
};

TEST_F(DeadEndsTest, FindsTheTrapsOfTheOldSkylineAndSwitchbackWithWaysThatLeadIntoThem) {
  const Level skyline = fixture("old-skyline.txt");
  const DeadEndReport skylineReport = findDeadEnds(skyline);
  ASSERT_TRUE(skylineReport.complete);
  ASSERT_EQ(1u, skylineReport.count(DeadEndKind::Trap));
  const DeadEnd& slot = skylineReport.deadEnds.front();
  EXPECT_TRUE(holds(slot, 0, 28));
  const WayEnd inSlot = playWayIn(skyline, slot);
  EXPECT_TRUE(holds(slot, inSlot.column, inSlot.row));
  EXPECT_GT(inSlot.goldLeft, 0);
  EXPECT_EQ(0, inSlot.deaths);

  const Level switchback = fixture("old-switchback.txt");
  const DeadEndReport switchbackReport = findDeadEnds(switchback);
  ASSERT_TRUE(switchbackReport.complete);
  ASSERT_EQ(2u, switchbackReport.count(DeadEndKind::Trap));
  const DeadEnd* leftSlope = deadEndAt(switchbackReport, 1, 14);
  const DeadEnd* rightSlope = deadEndAt(switchbackReport, 30, 14);
  ASSERT_NE(nullptr, leftSlope);
  ASSERT_NE(nullptr, rightSlope);
  EXPECT_EQ(DeadEndKind::Trap, leftSlope->kind);
  EXPECT_EQ(DeadEndKind::Trap, rightSlope->kind);
  const WayEnd onSlope = playWayIn(switchback, *leftSlope);
  EXPECT_TRUE(holds(*leftSlope, onSlope.column, onSlope.row));
  EXPECT_EQ(0, onSlope.deaths);
}

TEST_F(DeadEndsTest, FindsNothingWhereEveryPitHasALadderBackUp) {
  std::vector<std::string> rows = twoPitsRows();
  rows[11][3] = rows[12][3] = 'H';
  rows[11][28] = rows[12][28] = 'H';
  rows[12][29] = '$';
  const DeadEndReport report = findDeadEnds(levelFromRows(rows));
  EXPECT_TRUE(report.complete);
  EXPECT_TRUE(report.deadEnds.empty());
  EXPECT_GT(report.situations, 20u);
}

TEST_F(DeadEndsTest, TellsATrapFromAPlaceWhereARefillCanTakeALife) {
  const DeadEndReport report = findDeadEnds(levelFromRows(twoPitsRows()));
  ASSERT_EQ(2u, report.deadEnds.size());
  const DeadEnd& narrow = report.deadEnds[0];
  const DeadEnd& wide = report.deadEnds[1];
  EXPECT_EQ(DeadEndKind::Trap, narrow.kind);
  EXPECT_EQ(std::vector<int>{cellIndex(3, 12)}, narrow.cells);
  EXPECT_EQ(DeadEndKind::CostsLife, wide.kind);
  EXPECT_TRUE(holds(wide, 28, 12) && holds(wide, 29, 12));
  EXPECT_FALSE(wide.enemyCatches);
}

// The situations find no way on from the gallery, but a player granted every
// dig could still take both: the check says it is unsure, never a dead end.
TEST_F(DeadEndsTest, GoldInTwoOneWayPitsLeavesTheGalleryUnsureWhereDiggingMightStillTakeBoth) {
  std::vector<std::string> rows = galleryRows();
  rows[11][3] = '.';
  rows[12][3] = '$';
  rows[11][28] = '.';
  rows[12][28] = '$';
  const DeadEndReport report = findDeadEnds(levelFromRows(rows));
  const DeadEnd* gallery = deadEndAt(report, 15, 10);
  ASSERT_NE(nullptr, gallery);
  EXPECT_EQ(DeadEndKind::Unsure, gallery->kind);
  EXPECT_EQ(2u, report.count(DeadEndKind::Trap));
}

TEST_F(DeadEndsTest, AnOpenColumnIsAFallWithoutEndAndATrap) {
  std::vector<std::string> rows = galleryRows();
  for (int row = 0; row < GridSize; ++row) {
    rows[row][20] = '.';
  }
  rows[10][5] = '$';
  const DeadEndReport report = findDeadEnds(levelFromRows(rows));
  ASSERT_EQ(1u, report.count(DeadEndKind::Trap));
  EXPECT_EQ(size_t{GridSize}, report.deadEnds.front().cells.size());
  EXPECT_TRUE(holds(report.deadEnds.front(), 20, 0) && holds(report.deadEnds.front(), 20, 31));
}

TEST_F(DeadEndsTest, AnEnemyThatFollowsHimIntoTheTrapEveryTimeMakesItCostALife) {
  std::vector<std::string> rows = twoPitsRows();
  rows[11][28] = rows[12][28] = rows[11][29] = rows[12][29] = '#';
  rows[10][29] = 'E';
  const DeadEndReport chased = findDeadEnds(levelFromRows(rows));
  const DeadEnd* followed = deadEndAt(chased, 3, 12);
  ASSERT_NE(nullptr, followed);
  EXPECT_EQ(DeadEndKind::CostsLife, followed->kind);
  EXPECT_TRUE(followed->enemyCatches);

  // Shut in a cell of its own, the enemy never comes: a trap again.
  rows[10][29] = '.';
  rows[5][29] = 'E';
  const DeadEndReport shutIn = findDeadEnds(levelFromRows(rows));
  ASSERT_EQ(1u, shutIn.count(DeadEndKind::Trap));
  EXPECT_FALSE(shutIn.deadEnds.front().enemyCatches);
}

}  // namespace
