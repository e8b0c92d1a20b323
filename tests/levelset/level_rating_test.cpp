// The difficulty figure: measured through the real rules, it counts the
// holes the proof digs, times a chaser walking up to a player who stands
// still, rises with a chaser about, and refuses a proof that does not clear.
#include "analysis/level_rating.h"
#include "leveltext/level_text.h"
#include "replay/replay_runner.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A floor, the player at the left, gold two cells to his right and perhaps
// a chaser twenty cells along.
Level floorLevel(bool withChaser) {
  std::vector<std::string> rows(GridSize, std::string(GridSize, '.'));
  rows[30] = rows[31] = std::string(GridSize, '#');
  rows[29][1] = 'P';
  rows[29][3] = '$';
  rows[29][21] = withChaser ? 'E' : '.';
  return levelFromRows(rows);
}

TEST(LevelRatingTest, MeasuresTheProofAndTheChaserAndRefusesAProofThatFails) {
  startHeadlessAllegro();
  Replay proof;
  holdKeys(proof, HoldDigLeft, 1);
  holdKeys(proof, HoldRight, 40);
  const LevelRating chased = rateLevel(floorLevel(true), proof);
  const LevelRating alone = rateLevel(floorLevel(false), proof);
  EXPECT_EQ(chased.enemies, 1);
  EXPECT_EQ(chased.digs, 1);
  EXPECT_NEAR(chased.standStillSeconds, 20 * 0.16, 0.2);
  EXPECT_EQ(alone.standStillSeconds, StandStillCapSeconds);
  EXPECT_EQ(chased.proofSeconds, alone.proofSeconds);
  EXPECT_GT(chased.figure, alone.figure);

  Replay tooShort;
  holdKeys(tooShort, HoldRight, 8);
  EXPECT_THROW(rateLevel(floorLevel(false), tooShort), ReplayError);
}

}  // namespace
