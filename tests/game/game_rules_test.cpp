// The Game's rules around the actors: lives, a second player, the tick with
// no game, and entering a level.
#include "actor_play.h"

#include "base/globals.h"

#include <gtest/gtest.h>

#include <unistd.h>


namespace {

TEST(GameRules, CreatingASecondPlayerEndsTheProgram) {
  ActorPlay play({"P...",
                  "####"});
  // Headless, the message box is a line on standard output.
  EXPECT_EXIT(
      {
        dup2(STDERR_FILENO, STDOUT_FILENO);
        play.game().createPlayer();
      },
      ::testing::ExitedWithCode(1), "Error creating player");
}

TEST(GameRules, CaughtAndInsideBrickInOneTickCostsOneLife) {
  ActorPlay play({".P.E",
                  "####"});
  play.player().place(0, 16);  // inside the floor
  play.enemy(0).place(0, 16);
  play.game().tick();
  EXPECT_TRUE(play.game().loseLife());
  EXPECT_EQ(play.game().livesLeft(), 2);
  play.game().enterLevel(0);
  EXPECT_FALSE(play.game().loseLife());
  EXPECT_EQ(play.game().livesLeft(), 2);
}

TEST(GameRules, NoTickWithoutAPlayerNotEvenTheRefill) {
  ActorPlay play({".P..",
                  "####"});
  play.game().destroyActors();
  play.map().clearCell(0, 1);
  play.map().queueRefill(0, 1);
  play.map().refillCountdown = 1;
  play.game().tick();
  EXPECT_EQ(play.map().cellAt(0, 1), Empty);
  EXPECT_EQ(play.game().livesLeft(), 0);
  EXPECT_FALSE(play.game().loseLife());
}

TEST(GameRules, EnteringALevelRestoresItAndKeepsScoreAndLives) {
  ActorPlay play({"E#$P",
                  "####",
                  "E..E",
                  "####"});
  for (size_t index = 0; index < 3; ++index) {
    EXPECT_TRUE(play.enemy(index).direction == Left || play.enemy(index).direction == Right);
  }
  EXPECT_EQ(play.enemy(0).x, 0);
  EXPECT_EQ(play.enemy(1).y, 32);
  EXPECT_EQ(play.enemy(2).x, 48) << "enemies in reading order";

  play.playHolding(18, {KEY_LEFT});
  EXPECT_EQ(play.player().score, 10);
  EXPECT_EQ(play.game().goldLeft(), 0);
  play.player().alive = 0;
  EXPECT_TRUE(play.game().loseLife());
  bonusTimer = 5;
  play.game().enterLevel(0);
  EXPECT_EQ(bonusTimer, 12000);
  EXPECT_EQ(play.game().goldLeft(), 1);
  EXPECT_EQ(play.game().enemies.size(), 3u);
  EXPECT_EQ(play.enemy(0).x, 0);
  EXPECT_EQ(play.player().x, 48);
  EXPECT_EQ(play.player().alive, 1);
  EXPECT_EQ(play.player().score, 10);
  EXPECT_EQ(play.game().livesLeft(), 2);
}

}  // namespace
