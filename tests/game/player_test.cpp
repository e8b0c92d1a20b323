// The player's keys, digging, and dying in a refilled hole.
#include "actor_play.h"

#include <gtest/gtest.h>

namespace {

TEST(Player, RightWinsOverLeftAndTheSpriteFollowsTheLastHeldKey) {
  ActorPlay both({".P..",
                  "####"});
  both.playHolding(17, {KEY_LEFT, KEY_RIGHT});
  EXPECT_EQ(both.player().x, 32);
  EXPECT_EQ(both.player().spriteRow, 2);

  ActorPlay digging({".P..",
                     "####"});
  digging.playHolding(1, {KEY_RIGHT, KEY_J});
  EXPECT_EQ(digging.player().dx, 1) << "digging neither starts nor stops a move";
  EXPECT_EQ(digging.player().spriteRow, 0) << "J comes after Right in the key order";
}

TEST(Player, DigsTheBrickDiagonallyBelow) {
  SampleLog samples;
  ActorPlay play({".P..",
                  "####"});
  play.playHolding(1, {KEY_J});
  EXPECT_EQ(play.map().cellAt(0, 1), Empty);
  EXPECT_EQ(play.map().cellAt(2, 1), Brick);
  ASSERT_EQ(play.map().refillQueue.size(), 1u);
  EXPECT_EQ(play.map().refillQueue.front().x, 0);
  EXPECT_EQ(play.map().refillQueue.front().y, 1);
  EXPECT_EQ(samples.count(AssetSampleDig), 1);
  play.play(1);
  EXPECT_EQ(samples.count(AssetSampleDig), 1) << "nothing left to dig there";
}

TEST(Player, DiggingOffTheGridSoundsButChangesNothing) {
  SampleLog samples;
  ActorPlay left({"P...",
                  "####"});
  left.playHolding(1, {KEY_J});
  EXPECT_EQ(samples.count(AssetSampleDig), 1);
  EXPECT_TRUE(left.map().refillQueue.empty());

  std::string row(GridSize, '.');
  row[31] = 'P';
  ActorPlay right({row, std::string(GridSize, '#')});
  right.playHolding(1, {KEY_K});
  EXPECT_EQ(samples.count(AssetSampleDig), 2);
  EXPECT_TRUE(right.map().refillQueue.empty());
}

// The player digs right, walks into the hole and waits there: the hole
// refills in tick 100 and he dies at his next decision tick.
TEST(Player, DiesInAHoleThatRefillsAroundHim) {
  ActorPlay play({".P...",
                  "#####",
                  "#####"});
  play.playHolding(1, {KEY_K});
  play.playHolding(1, {KEY_RIGHT});
  play.playHolding(98, {});
  EXPECT_EQ(play.player().y, 16);
  EXPECT_EQ(play.map().cellAt(2, 1), Brick);
  EXPECT_EQ(play.player().alive, 1);
  play.play(1);
  EXPECT_EQ(play.player().alive, 0);
}

// He steps over the hole so that his first fall step into it comes in the
// very tick of the refill: half-way down, his own cell is the open one above.
TEST(Player, SurvivesARefillWhileHalfWayIntoTheHole) {
  ActorPlay play({".P...",
                  "#####",
                  "#####"});
  play.playHolding(1, {KEY_K});
  play.playHolding(81, {});
  play.playHolding(1, {KEY_RIGHT});
  play.playHolding(17, {});
  EXPECT_EQ(play.player().y, 8);
  EXPECT_EQ(play.map().cellAt(2, 1), Brick);
  play.play(20);
  EXPECT_EQ(play.player().alive, 1);
  EXPECT_EQ(play.player().y, 8) << "held by the new brick, 8 pixels off the grid";
}

}  // namespace
