// Enemies: trapped and crushed by a refill, the crush awards, respawning,
// catching, and the choice of direction.
#include "actor_play.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int DigTick = 1;
constexpr int RefillTick = 100;  // the hole dug in tick 1 closes in tick 100

// The player digs the hole to his right in tick 1 and waits; every enemy
// walks left into it and cannot climb out.
ActorPlay& digAndWait(ActorPlay& play) {
  play.playHolding(DigTick, {KEY_K});
  play.playHolding(RefillTick - DigTick, {});
  return play;
}

TEST(Enemy, TrappedEnemyIsCrushedAtTheRefillAndHiddenFor255Frames) {
  SampleLog samples;
  ActorPlay play({".P..E",
                  "#####",
                  "#####"});
  digAndWait(play);
  EXPECT_EQ(play.enemy(0).x, 32);
  EXPECT_EQ(play.enemy(0).y, 16) << "down in the hole";
  EXPECT_EQ(play.player().score, 0);

  play.game().tick();
  EXPECT_EQ(play.enemy(0).respawnDelay, 255);
  EXPECT_EQ(play.player().score, 15);
  EXPECT_EQ(samples.count(AssetSampleCrush), 1);
  EXPECT_EQ(play.enemy(0).y, 0);
  EXPECT_EQ(play.enemy(0).x % 16, 0);
  EXPECT_LT(play.enemy(0).x, 496) << "never the last column";

  play.game().drawActors();
  play.game().tick();
  play.game().tick();
  EXPECT_EQ(play.enemy(0).respawnDelay, 254) << "frames count the delay, not ticks";
  EXPECT_EQ(play.player().score, 15);
  play.play(253);
  EXPECT_EQ(play.enemy(0).respawnDelay, 1);
  play.play(1);
  EXPECT_EQ(play.enemy(0).respawnDelay, 0);
  EXPECT_EQ(play.enemy(0).y, 0) << "back on the top row";
}

TEST(Enemy, EnemiesCrushedInOneTickPayMoreEach) {
  const struct {
    const char* row;
    int32_t points;
  } cases[] = {{".P..EE", 15 + 20}, {".P..EEE", 15 + 20 + 25}};
  for (const auto& c : cases) {
    SampleLog samples;
    ActorPlay play({c.row, "#######", "#######"});
    digAndWait(play);
    EXPECT_EQ(play.player().score, 0) << c.row;
    play.play(1);
    EXPECT_EQ(play.player().score, c.points) << c.row;
    EXPECT_EQ(samples.count(AssetSampleCrush), static_cast<int>(play.game().enemies.size())) << c.row;
  }
}

TEST(Enemy, RespawnOntoATopRowBrickIsCrushedAgainAfterTheDelay) {
  SampleLog samples;
  ActorPlay play({"#####",
                  "#####",
                  ".P..E",
                  "#####",
                  "#####"});
  digAndWait(play);
  play.play(1);
  EXPECT_EQ(play.player().score, 15);
  play.play(254);
  EXPECT_EQ(play.enemy(0).respawnDelay, 0);
  EXPECT_EQ(play.player().score, 15);
  play.play(1);
  EXPECT_EQ(play.player().score, 30);
  EXPECT_EQ(samples.count(AssetSampleCrush), 2);
}

// The enemy walks left from (4, 0) to the player standing at (1, 0). The
// catch test uses its position before the tick's step, so the catch comes
// in the tick after its step to x = 23 put the sprite's centre in his cell.
TEST(Enemy, CatchesByNearestCellRounding) {
  ActorPlay play({".P..E",
                  "#####"});
  play.play(44);
  EXPECT_EQ(play.enemy(0).x, 23);
  EXPECT_EQ(play.player().alive, 1);
  play.play(1);
  EXPECT_EQ(play.enemy(0).caughtPlayer, 1);
  EXPECT_EQ(play.player().alive, 0);
  EXPECT_TRUE(play.game().loseLife());
  EXPECT_EQ(play.player().lives, 2);
}

TEST(Enemy, HiddenEnemyCannotCatch) {
  ActorPlay play({".P.E",
                  "####"});
  Enemy& enemy = play.enemy(0);
  enemy.place(play.player().x, play.player().y);
  enemy.respawnDelay = 100;
  for (int tick = 0; tick < 5; ++tick) {
    play.game().tick();
  }
  EXPECT_EQ(play.player().alive, 1);
  enemy.respawnDelay = 0;
  play.game().tick();
  EXPECT_EQ(play.player().alive, 0);
}

// One decision of an enemy placed at a cell, with the player placed at
// another and trail values written around it.
struct TrailMark {
  int x;
  int y;
  uint32_t value;
};

struct DecisionCase {
  const char* what;
  int enemyX, enemyY;
  int playerX, playerY;
  Direction before;
  std::vector<TrailMark> trail;
  Direction expected;
};

void PrintTo(const DecisionCase& c, std::ostream* out) { *out << c.what; }

class EnemyDecision : public ::testing::TestWithParam<DecisionCase> {};

// Ladder at (4, 2) and (4, 3), rope at (6, 2), floor in row 4.
const std::vector<std::string> DecisionCave = {"P...........",
                                               "............",
                                               "....H.-.....",
                                               "....H......E",
                                               "############"};

TEST_P(EnemyDecision, ChoosesItsDirection) {
  const DecisionCase& c = GetParam();
  ActorPlay play(DecisionCave);
  Enemy& enemy = play.enemy(0);
  enemy.place(static_cast<int16_t>(16 * c.enemyX), static_cast<int16_t>(16 * c.enemyY));
  enemy.direction = c.before;
  play.player().place(static_cast<int16_t>(16 * c.playerX), static_cast<int16_t>(16 * c.playerY));
  for (const TrailMark& mark : c.trail) {
    play.map().setTrailValue(cellIndex(mark.x, mark.y), mark.value);
  }
  play.game().tick();
  EXPECT_EQ(enemy.direction, c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    HeadsForThePlayer, EnemyDecision,
    ::testing::Values(
        DecisionCase{"player to the left", 8, 3, 2, 3, Right, {}, Left},
        DecisionCase{"player to the right", 8, 3, 10, 3, Left, {}, Right},
        DecisionCase{"same column keeps the direction", 8, 3, 8, 0, Right, {}, Right},
        DecisionCase{"above, on a ladder: up wins", 4, 3, 0, 0, Right, {}, Up},
        DecisionCase{"above, off a ladder: sideways", 8, 3, 0, 0, Right, {}, Left},
        DecisionCase{"below, hanging on a rope", 6, 2, 0, 3, Right, {}, Down},
        DecisionCase{"below, standing on a ladder top", 4, 1, 0, 3, Right, {}, Down},
        DecisionCase{"no trail in its own cell ignores fresh neighbours", 8, 3, 11, 3, Left,
                     {{7, 3, 500}}, Right},
        DecisionCase{"no neighbour fresher than its own cell", 8, 3, 11, 3, Left,
                     {{8, 3, 300}, {7, 3, 200}, {9, 3, 100}}, Right}));

INSTANTIATE_TEST_SUITE_P(
    FollowsTheTrail, EnemyDecision,
    ::testing::Values(
        DecisionCase{"a tie keeps the earlier direction", 8, 3, 11, 3, Right,
                     {{8, 3, 100}, {7, 3, 300}, {9, 3, 300}}, Left},
        DecisionCase{"the freshest neighbour wins", 8, 3, 11, 3, Left,
                     {{8, 3, 100}, {7, 3, 300}, {9, 3, 301}}, Right},
        DecisionCase{"up only from a ladder", 8, 3, 11, 3, Right,
                     {{8, 3, 100}, {8, 2, 500}, {7, 3, 200}}, Left},
        DecisionCase{"up from a ladder", 4, 3, 11, 3, Right,
                     {{4, 3, 100}, {4, 2, 500}, {3, 3, 200}}, Up},
        DecisionCase{"down from a rope into open space", 6, 2, 0, 0, Left,
                     {{6, 2, 100}, {6, 3, 500}}, Down},
        DecisionCase{"values compare unsigned", 8, 3, 11, 3, Right,
                     {{8, 3, 100}, {7, 3, 0x90000000u}, {9, 3, 0x80000000u}}, Left}));

}  // namespace
