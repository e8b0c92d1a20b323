// The level maker over a few seeds: every level it answers replays its proof
// to a clear with no life lost, has no dead end, starts fair and differs
// from the others of its run, and the same options make the same levels.
// The repairs mend what they are for, checked by the analysis itself.
#include "generate/level_maker.h"
#include "generate/level_repair.h"

#include "analysis/dead_ends.h"
#include "analysis/reachability.h"
#include "leveltext/level_text.h"
#include "replay/replay_runner.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

class LevelMakerTest : public ::testing::Test {
protected:
  void SetUp() override { startHeadlessAllegro(); }
};

std::vector<MadeLevel> makeLevels(uint64_t seed, int difficulty, int count) {
  MakeOptions options;
  options.seed = seed;
  options.difficulty = difficulty;
  LevelMaker maker(options);
  std::vector<MadeLevel> levels;
  for (int made = 0; made < count; ++made) {
    levels.push_back(maker.makeLevel());
  }
  return levels;
}

int countOf(const Level& level, int8_t code) {
  return static_cast<int>(std::count(level.cells, level.cells + CellCount, code));
}

TEST_F(LevelMakerTest, MadeLevelsAreProvenCheckedFairAndDistinct) {
  for (uint64_t seed : {3u, 11u}) {
    const std::vector<MadeLevel> levels = makeLevels(seed, 2, 2);
    for (const MadeLevel& made : levels) {
      const Level& level = made.source.level;
      SCOPED_TRACE(made.source.title);
      Replay proof;
      proof.seed = ProofSeed;
      proof.keys = made.proof;
      const ReplayOutcome outcome = playReplay(proof, singleLevelMapsBin(level));
      EXPECT_EQ(outcome.end, ReplayEnd::Cleared) << describeOutcome(outcome);
      EXPECT_EQ(outcome.deaths, 0);
      const DeadEndReport deadEnds = findDeadEnds(level);
      EXPECT_TRUE(deadEnds.complete);
      EXPECT_TRUE(deadEnds.deadEnds.empty());
      EXPECT_TRUE(unreachableGold(level).empty());
      EXPECT_GE(countOf(level, EnemyStart), 1) << "difficulty 2 has a chaser";
      EXPECT_GE(made.rating.standStillSeconds, FairStartSeconds);
      EXPECT_GT(made.rating.figure, 0.0);
      EXPECT_FALSE(made.source.title.empty());
      EXPECT_NE(made.source.note.find("seed " + std::to_string(seed) + ", difficulty 2"), std::string::npos)
          << made.source.note;
    }
    EXPECT_TRUE(levelsDistinct(levels[0].source.level, levels[1].source.level));
    EXPECT_NE(levels[0].source.title, levels[1].source.title);
  }
}

TEST_F(LevelMakerTest, TheSameOptionsMakeTheSameLevels) {
  const MadeLevel first = makeLevels(5, 3, 1).front();
  const MadeLevel again = makeLevels(5, 3, 1).front();
  EXPECT_TRUE(std::equal(first.source.level.cells, first.source.level.cells + CellCount, again.source.level.cells));
  EXPECT_EQ(first.source.title, again.source.title);
  ASSERT_EQ(first.proof.size(), again.proof.size());
  for (size_t index = 0; index < first.proof.size(); ++index) {
    EXPECT_EQ(first.proof[index].keys, again.proof[index].keys);
    EXPECT_EQ(first.proof[index].updates, again.proof[index].updates);
  }
  const MadeLevel other = makeLevels(6, 3, 1).front();
  EXPECT_TRUE(levelsDistinct(first.source.level, other.source.level));
}

// A longer run, where likeness has room to creep in: every two levels
// differ, the one also taken mirrored, and each title is its own.
TEST_F(LevelMakerTest, NoTwoLevelsOfARunAreAlikeOrMirrorImages) {
  const std::vector<MadeLevel> levels = makeLevels(2, 1, 8);
  std::set<std::string> titles;
  for (size_t one = 0; one < levels.size(); ++one) {
    titles.insert(levels[one].source.title);
    for (size_t other = 0; other < one; ++other) {
      EXPECT_TRUE(levelsDistinct(levels[one].source.level, levels[other].source.level)) << one << " " << other;
      EXPECT_TRUE(levelsDistinct(levels[other].source.level, levels[one].source.level)) << other << " " << one;
    }
  }
  EXPECT_EQ(titles.size(), levels.size());
}

// Asked to stop once a candidate is turned away, the maker stops before it
// builds another, and tells the candidate it turned away as it counts it.
TEST_F(LevelMakerTest, StopsWhenAskedAndTellsWhatItTurnedAway) {
  MakeOptions options;
  options.seed = 1;
  options.difficulty = 5;
  std::map<std::string, int> told;
  options.onRejected = [&told](uint64_t, const std::string& reason) { ++told[reason]; };
  options.stopRequested = [&told] { return !told.empty(); };
  LevelMaker maker(options);
  EXPECT_THROW(
      for (;;) { maker.makeLevel(); }, MakeInterrupted);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told.begin()->second, 1);
  EXPECT_EQ(told, maker.rejections());
}

Level mirrored(const Level& level) {
  Level mirror{};
  for (int x = 0; x < GridSize; ++x) {
    for (int y = 0; y < GridSize; ++y) {
      mirror.cells[cellIndex(GridSize - 1 - x, y)] = level.cells[cellIndex(x, y)];
    }
  }
  return mirror;
}

TEST(LevelsDistinct, AQuarterOfTheCellsMustDifferMirrorIncluded) {
  Level level{};
  for (int index = 0; index < CellCount; index += 3) {
    level.cells[index] = (index / 7) % 2 == 0 ? Brick : Ladder;
  }
  EXPECT_FALSE(levelsDistinct(level, mirrored(level)));
  Level changed = level;
  for (int index = 0; index < CellCount / 4 - 1; ++index) {
    changed.cells[index] = changed.cells[index] == Rope ? Gold : Rope;
  }
  EXPECT_FALSE(levelsDistinct(level, changed));
  changed.cells[CellCount / 4] = changed.cells[CellCount / 4] == Rope ? Gold : Rope;
  EXPECT_TRUE(levelsDistinct(level, changed));
}

// Ground, a floor along row 25 with a gap at column 12 over a closed room
// (columns 10 to 14, rows 26 to 29), the player on the floor at the left;
// brick along the top, so that no way leads in from above after a fall out
// of the bottom.
std::vector<std::string> roomRows() {
  std::vector<std::string> rows(GridSize, std::string(GridSize, '.'));
  rows[0] = std::string(GridSize, '#');
  rows[24][3] = 'P';
  rows[25] = std::string(GridSize, '#');
  rows[25][12] = '.';
  for (int row = 26; row <= 29; ++row) {
    rows[row][9] = '#';
    rows[row][15] = '#';
  }
  rows[30] = rows[31] = std::string(GridSize, '#');
  return rows;
}

TEST_F(LevelMakerTest, ALadderOutOfAClosedRoomEndsItsDeadEnd) {
  std::vector<std::string> rows = roomRows();
  rows[29][11] = '$';
  rows[24][6] = '$';     // left behind by a player who walks straight into the room
  Level level = levelFromRows(rows);
  const DeadEndReport before = findDeadEnds(level);
  ASSERT_FALSE(before.deadEnds.empty());
  ASSERT_TRUE(ladderOutOf(level, before.deadEnds.front().cells.front()));
  EXPECT_TRUE(findDeadEnds(level).deadEnds.empty());
}

// A chaser beside the player, another far off: the near one goes to the
// first spare cell that is still free, and with no spare left none moves.
TEST(MoveNearestEnemy, TheNearestChaserGoesToTheFirstFreeSpare) {
  std::vector<std::string> rows = roomRows();
  rows[24][5] = 'E';
  rows[24][28] = 'E';
  rows[24][20] = '$';
  Level level = levelFromRows(rows);
  std::vector<int> spares{cellIndex(20, 24), cellIndex(22, 24)};
  ASSERT_TRUE(moveNearestEnemy(level, spares));
  EXPECT_EQ(level.cells[cellIndex(5, 24)], Empty);
  EXPECT_EQ(level.cells[cellIndex(22, 24)], EnemyStart);
  EXPECT_EQ(level.cells[cellIndex(28, 24)], EnemyStart);
  EXPECT_TRUE(spares.empty());
  EXPECT_FALSE(moveNearestEnemy(level, spares));
}

TEST_F(LevelMakerTest, ALadderUnderGoldOutOfReachReachesIt) {
  std::vector<std::string> rows = roomRows();
  rows[25][12] = '#';
  rows[20][12] = '$';                        // in the air above the floor
  rows[18].replace(18, 5, "#####");          // a ledge no ladder reaches
  rows[17][20] = '$';
  rows[6][5] = '$';                          // too high for a ladder
  Level level = levelFromRows(rows);
  ASSERT_EQ(unreachableGold(level).size(), 3u);
  EXPECT_TRUE(ladderUnderGold(level, cellIndex(12, 20)));
  EXPECT_TRUE(ladderUnderGold(level, cellIndex(20, 17)));
  EXPECT_FALSE(ladderUnderGold(level, cellIndex(5, 6)));
  EXPECT_EQ(unreachableGold(level), std::vector<int>{cellIndex(5, 6)});
}

}  // namespace
