// What a play-test in the editor reports, played headless through the real
// running state: a level cleared from a chosen cell, with its figures; lives
// lost to an enemy, with where and how; and lives that never run out.
#include "editor/play_in_window.h"

#include "base/globals.h"
#include "level/level_builders.h"
#include "leveltext/level_text.h"
#include "replay/replay_runner.h"
#include "support/headless.h"

#include <gtest/gtest.h>

namespace {

// One update a pass, and a close of the window after `mostUpdates`.
PlayWindow headlessWindow(int mostUpdates) {
  return {[mostUpdates, updates = 0]() mutable {
            tickCount = 1;
            return ++updates > mostUpdates;
          },
          [] {}};
}

// The chosen cell keeps what was drawn there: its gold is taken at once,
// or the level would never be cleared.
TEST(PlayFiguresTest, ClearedFromAChosenCellWithItsFigures) {
  startHeadlessAllegro();
  releaseAllKeys();
  std::vector<std::string> rows = floorRows();   // the start at (1, 29)
  rows[29][4] = '#';                             // a wall the start cannot pass
  rows[29][5] = '$';
  rows[29][7] = '$';
  PlayOptions fromTheGold;
  fromTheGold.startCell = {{5, 29}};
  key[KEY_RIGHT] = 1;
  const PlayFigures figures = playLevels(singleLevelMapsBin(levelFromRows(rows)), fromTheGold, headlessWindow(1000));
  releaseAllKeys();
  EXPECT_TRUE(figures.cleared);
  EXPECT_EQ(figures.livesLost, 0);
  EXPECT_GT(figures.score, 0);
  EXPECT_GE(figures.updates, 32u) << "two cells of walking";
  EXPECT_LT(figures.updates, 100u);
  EXPECT_FALSE(figures.lastDeath.has_value());
}

TEST(PlayFiguresTest, CaughtPlayersAreToldWhereAndEndlessLivesPlayOn) {
  startHeadlessAllegro();
  releaseAllKeys();
  std::vector<std::string> rows = floorRows();
  rows[29][6] = 'E';
  rows[29][20] = '$';
  const std::string mapsBin = singleLevelMapsBin(levelFromRows(rows));

  const PlayFigures ended = playLevels(mapsBin, PlayOptions{}, headlessWindow(20000));
  EXPECT_FALSE(ended.cleared);
  EXPECT_EQ(ended.livesLost, 3) << "the game ends with the lives";
  ASSERT_TRUE(ended.lastDeath.has_value());
  EXPECT_EQ(ended.lastDeath->cellY, 29);
  EXPECT_LE(ended.lastDeath->cellX, 2);
  EXPECT_FALSE(ended.lastDeath->buried);

  const PlayFigures endless = playLevels(mapsBin, PlayOptions{true, true, std::nullopt}, headlessWindow(600));
  EXPECT_GT(endless.livesLost, 3) << "lives given back play on past three";
  EXPECT_EQ(endless.updates, 600u) << "until the window closed";
}

}  // namespace
