// The motion rules as the player meets them: ladders, ropes, falls, ledges
// and the bottom wrap.
#include "actor_play.h"

#include "leveltext/level_text.h"

#include <gtest/gtest.h>

namespace {

// Column 2 open from the given top row down to row 31; the player starts in
// row 30 of it, so he drops out of the bottom at once.
Level shaftLevel(char topCell) {
  std::vector<std::string> rows(GridSize, std::string(GridSize, '#'));
  for (int row = 0; row < GridSize; ++row) {
    rows[row][2] = '.';
  }
  rows[0][2] = topCell;
  rows[30][2] = 'P';
  return levelFromRows(rows);
}

TEST(Motion, ClimbsPastTheLadderTopAndStandsOnIt) {
  ActorPlay play({"....",
                  ".H..",
                  "PH..",
                  "####"});
  play.playHolding(1, {KEY_RIGHT});
  play.playHolding(120, {KEY_UP});
  EXPECT_EQ(play.player().x, 16);
  EXPECT_EQ(play.player().y, 0) << "one cell above the ladder's last rung";
  play.playHolding(40, {});
  EXPECT_EQ(play.player().y, 0) << "the ladder below holds him";
}

TEST(Motion, UpAwayFromALadderIsAStandstillOrNothingUnderACeiling) {
  ActorPlay open({"....",
                  "P...",
                  "####"});
  open.playHolding(1, {KEY_UP});
  EXPECT_EQ(open.player().stepsLeft, 16);
  EXPECT_EQ(open.player().dy, 0);
  EXPECT_EQ(open.player().spriteRow, 4);
  open.play(16);
  EXPECT_EQ(open.player().y, 16);
  EXPECT_EQ(open.player().animFrame, 0) << "16 steps of a period of 8";

  ActorPlay ceiling({"P...",
                     "####"});
  ceiling.playHolding(1, {KEY_UP});
  EXPECT_EQ(ceiling.player().stepsLeft, 0);
  EXPECT_EQ(ceiling.player().spriteRow, 4);
}

TEST(Motion, RopeHoldsCarriesSidewaysAndLetsGoDownwards) {
  ActorPlay play({"......",
                  "P---..",
                  "#.....",
                  "###.##",
                  "######"});
  play.playHolding(51, {KEY_RIGHT});
  EXPECT_EQ(play.player().x, 48);
  EXPECT_EQ(play.player().y, 16) << "hanging, never falling";
  EXPECT_EQ(play.player().spriteRow, 4) << "a move onto rope shows the hanging pair";

  play.playHolding(1, {KEY_UP});
  EXPECT_EQ(play.player().dy, 0) << "a rope is not climbed";
  play.play(16);
  EXPECT_EQ(play.player().y, 16);

  play.playHolding(17, {KEY_DOWN});
  EXPECT_EQ(play.player().y, 32) << "one cell down in 16 ticks";
  play.playHolding(3, {});
  EXPECT_EQ(play.player().y, 48) << "then falls through the open cell below";
  play.play(5);
  EXPECT_EQ(play.player().y, 48);
}

TEST(Motion, GoldBelowDoesNotHoldAndIsTakenInPassing) {
  SampleLog samples;
  ActorPlay play({"P...",
                  "#$..",
                  "#...",
                  "####"});
  const int32_t goldBefore = play.game().goldLeft();
  play.playHolding(17, {KEY_RIGHT});
  play.playHolding(10, {});
  EXPECT_EQ(play.player().y, 32);
  EXPECT_EQ(play.map().cellAt(1, 1), Empty);
  EXPECT_EQ(play.game().goldLeft(), goldBefore - 1);
  EXPECT_EQ(play.player().score, 10);
  EXPECT_EQ(samples.count(AssetSampleGold), 1);
}

TEST(Motion, WalkingOffALedgeFinishesTheMoveBeforeFalling) {
  ActorPlay play({"P...",
                  "#...",
                  "####"});
  play.playHolding(1, {KEY_RIGHT});
  play.playHolding(16, {});
  EXPECT_EQ(play.player().x, 16);
  EXPECT_EQ(play.player().y, 0);
  play.play(1);
  EXPECT_EQ(play.player().y, 8) << "8 pixels per tick";
  play.play(3);
  EXPECT_EQ(play.player().y, 16);
}

TEST(Motion, BottomWrapReentersAnOpenTopCellAndClearsTheTrail) {
  ActorPlay play(shaftLevel('.'));
  play.play(2);
  EXPECT_EQ(play.player().y, 496);
  play.play(1);
  EXPECT_EQ(play.player().y, -8) << "wrapped to -16, then fell 8";
  for (int cell = 0; cell < CellCount; ++cell) {
    ASSERT_EQ(play.map().trailValue(cell), 0u) << "cell index " << cell;
  }
  play.play(1);
  EXPECT_EQ(play.player().y, 0);
  EXPECT_EQ(play.player().alive, 1);
}

TEST(Motion, BottomWrapUnderATopBrickOrLadderHoldsAtMinus16AndKills) {
  for (char top : {'#', 'H'}) {
    ActorPlay play(shaftLevel(top));
    play.play(3);
    EXPECT_EQ(play.player().y, -16) << top;
    EXPECT_EQ(play.player().alive, 1) << top;
    play.play(1);
    EXPECT_EQ(play.player().y, -16) << top;
    EXPECT_EQ(play.player().alive, 0) << top << ": above the grid reads as brick";
    EXPECT_TRUE(play.game().loseLife());
  }
}

TEST(Motion, DownOntoATopLadderInTheWrapTickSurvives) {
  ActorPlay play(shaftLevel('H'));
  play.playHolding(3, {KEY_DOWN});
  EXPECT_EQ(play.player().y, -16);
  EXPECT_EQ(play.player().dy, 1);
  play.play(16);
  EXPECT_EQ(play.player().y, 0);
  play.play(1);
  EXPECT_EQ(play.player().alive, 1);
}

}  // namespace
