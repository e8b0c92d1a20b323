// The solver: its saved games (with the generator) really come back, its guide
// sees the motion rules, and its search clears what can be cleared (in a
// sequence the replay runner agrees with) and names the gold it cannot reach.
#include "analysis/dead_ends.h"
#include "analysis/gold_distances.h"
#include "analysis/human_margin.h"
#include "analysis/level_search.h"
#include "analysis/level_session.h"
#include "level/level_builders.h"
#include "leveltext/level_text.h"
#include "replay/replay_runner.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

// Gold in a cellar under a floor one brick thick, with a ladder out: only
// a dig gets the player in.
std::vector<std::string> cellarRows() {
  std::vector<std::string> rows = floorRows();
  rows[24] = std::string(GridSize, '#');
  rows[29] = std::string(GridSize, '.');
  rows[23][1] = 'P';
  rows[29][20] = '$';
  for (int row = 24; row <= 29; ++row) {
    rows[row][30] = 'H';
  }
  rows[23][25] = '$';
  return rows;
}

class SolverTest : public ::testing::Test {
protected:
  void SetUp() override { startHeadlessAllegro(); }

  // The runner plays what the search found, enemies on, to a clear with no
  // life lost, in as many updates as the search counted.
  static void expectClearsInTheRunner(const Level& level, const SearchResult& found) {
    ASSERT_TRUE(found.cleared) << found.explanation;
    Replay replay;
    replay.keys = found.keys;
    const ReplayOutcome outcome = playReplay(replay, singleLevelMapsBin(level));
    EXPECT_EQ(outcome.end, ReplayEnd::Cleared) << describeOutcome(outcome);
    EXPECT_EQ(outcome.deaths, 0);
    EXPECT_EQ(outcome.ticks, found.ticks);
  }
};

TEST_F(SolverTest, ARestoredSessionPlaysOnExactlyAsBefore) {
  std::vector<std::string> rows = cellarRows();
  rows[23][12] = 'E';
  LevelSession session(levelFromRows(rows), true, 1);
  for (int tick = 0; tick < 20; ++tick) {
    session.advance(HoldRight);
  }
  session.advance(HoldDigRight);
  const SavedPlay saved = session.save();
  auto playOn = [&session] {
    for (int tick = 0; tick < 60; ++tick) {
      session.advance(HoldRight);
    }
    const Game& game = session.game();
    return std::vector<int>{game.player->x, game.player->y, game.enemies[0]->x, game.enemies[0]->y,
                            game.goldLeft(), static_cast<int>(game.map.refillQueue.size())};
  };
  const std::vector<int> first = playOn();
  session.restore(saved);
  EXPECT_EQ(playOn(), first);
}

TEST_F(SolverTest, TheGuideClimbsLaddersDigsThinFloorsAndKnowsNoWayUpWithout) {
  std::vector<std::string> rows = cellarRows();
  rows[10][5] = '$';  // in the sky: nothing reaches it
  const Level level = levelFromRows(rows);
  const GoldDistances guide(level);
  std::vector<int8_t> cells(level.cells, level.cells + CellCount);
  // From the foot of the ladder: up six rungs onto the floor, then five cells along it.
  cells[cellIndex(20, 29)] = Empty;
  EXPECT_EQ(guide.toNearestGold(30, 29, cells.data()), 6u * 16 + 5 * 16);
  // From the floor, the cellar gold is a dig and a drop away, closer than walking round.
  cells[cellIndex(25, 23)] = Empty;
  cells[cellIndex(20, 29)] = Gold;
  EXPECT_LT(guide.toNearestGold(19, 23, cells.data()), 4u * 16);
  cells[cellIndex(20, 29)] = Empty;
  EXPECT_EQ(guide.toNearestGold(19, 23, cells.data()), GoldDistances::NoWayKnown);
}

TEST_F(SolverTest, ClearsALevelThatNeedsADigAndTheRunnerAgrees) {
  const Level level = levelFromRows(cellarRows());
  const SearchResult found = searchLevel(level, false, 1, SearchLimits{});
  ASSERT_TRUE(found.cleared) << found.explanation;
  Replay replay;
  replay.keys = found.keys;
  replay.enemies = false;
  const ReplayOutcome outcome = playReplay(replay, singleLevelMapsBin(level));
  EXPECT_EQ(outcome.end, ReplayEnd::Cleared) << describeOutcome(outcome);
  EXPECT_EQ(outcome.ticks, found.ticks);
}

TEST_F(SolverTest, ClearsALevelPastAChaserWithTheEnemiesOn) {
  std::vector<std::string> rows = floorRows();
  rows[29][20] = 'E';
  rows[29][28] = '$';
  rows[29][8] = '$';
  const Level level = levelFromRows(rows);
  expectClearsInTheRunner(level, searchLevel(level, true, 1, SearchLimits{}));
}

TEST_F(SolverTest, HandedTheChecksWayOutItClearsAtOnceOrSearchesOnFromWhereAChaserCutItShort) {
  std::vector<std::string> rows = cellarRows();
  const Level calm = levelFromRows(rows);
  DeadEndLimits wayOut;
  wayOut.findWayOut = true;
  const DeadEndReport check = findDeadEnds(calm, wayOut);
  ASSERT_FALSE(check.wayOut.empty());
  SearchLimits handed;
  handed.firstGuess = check.wayOut;
  const SearchResult guessed = searchLevel(calm, false, 1, handed);
  ASSERT_TRUE(guessed.cleared) << guessed.explanation;
  EXPECT_LE(guessed.statesExplored, check.wayOut.size());

  // A chaser waits on the way: the guess ends in his arms, and the search
  // goes on from the moments before.
  rows[23][8] = 'E';
  const Level chased = levelFromRows(rows);
  expectClearsInTheRunner(chased, searchLevel(chased, true, 1, handed));
}

TEST_F(SolverTest, PrefersAWayWhereEveryPressMayComeTenUpdatesLateToTheQuickestWay) {
  std::ifstream file(std::string(MQ_ANALYSIS_LEVELS) + "/old-well.txt");
  LevelSource source;
  std::string error;
  ASSERT_TRUE(parseLevelSource(file, "old-well.txt", source, error)) << error;
  const SearchResult found = searchLevel(source.level, true, 1, SearchLimits{});
  expectClearsInTheRunner(source.level, found);
  Replay proof;
  proof.keys = found.keys;
  EXPECT_TRUE(pressesMayComeLate(source.level, proof, 10));
}

TEST_F(SolverTest, ProvesAWalledInLevelAtOnceAndIsOnlyUnsureWhereItRanOutOfStates) {
  // The player is walled into a single cell on rock four bricks deep: the
  // holes he can dig beside him lead nowhere, which the check proves.
  std::vector<std::string> rows(GridSize, std::string(GridSize, '.'));
  for (int row = 28; row < GridSize; ++row) {
    rows[row] = std::string(GridSize, '#');
  }
  rows[26].replace(0, 3, "###");
  rows[27].replace(0, 3, "#P#");
  rows[27][10] = '$';
  const SearchResult walled = searchLevel(levelFromRows(rows), false, 1, SearchLimits{});
  EXPECT_EQ(walled.end, SearchEnd::ProvenImpossible);
  EXPECT_EQ(walled.statesExplored, 0u);
  EXPECT_NE(walled.explanation.find("gold at (10, 27) cannot be reached from the start"), std::string::npos)
      << walled.explanation;

  // Gold under twelve rows of brick: digging might reach it, as far as the
  // check can tell, so the search runs until its budget is spent.
  rows.assign(GridSize, std::string(GridSize, '.'));
  for (int row = 19; row < GridSize - 1; ++row) {
    rows[row] = std::string(GridSize, '#');
  }
  rows[18][3] = 'P';
  rows[GridSize - 1][15] = '$';
  SearchLimits small;
  small.states = 3000;
  const SearchResult buried = searchLevel(levelFromRows(rows), false, 1, small);
  EXPECT_EQ(buried.end, SearchEnd::OutOfBudget);
  EXPECT_GE(buried.statesExplored, small.states);
  EXPECT_NE(buried.explanation.find("the search never took the gold at (15, 31) (it ran out of its budget of 3000"),
            std::string::npos) << buried.explanation;
  EXPECT_NE(buried.explanation.find("\n  ********"), std::string::npos) << buried.explanation;
}

}  // namespace
