// A game in progress through the real loop: the time-bonus tally, the play
// sequence, lost lives and the two ways a game ends.
#include "base/assets.h"
#include "base/globals.h"
#include "app/state_game_menu.h"
#include "app/state_game_running.h"
#include "game/game.h"
#include "game/player.h"
#include "leveltext/level_text.h"
#include "support/driver.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

// A level without gold: it is cleared in the first update after it starts.
Level bareLevel(int playerColumn) {
  std::vector<std::string> rows(32, std::string(32, '#'));
  rows[30] = std::string(32, '.');
  rows[30][playerColumn] = 'P';
  return levelFromRows(rows);
}

// The player stands on the floor with gold two and four cells to his right
// and an enemy walled in at the far end.
Level goldLevel() {
  std::vector<std::string> rows(32, std::string(32, '#'));
  rows[30] = "P.$.$.......................#E..";
  return levelFromRows(rows);
}

// Where an ending of the test's own hands the game over.
struct Successor : State {
  void update() override {}
  void draw() override {}
};

class RunningStateTest : public ::testing::Test {
protected:
  void SetUp() override { startHeadlessAllegro(); }
  void TearDown() override { delete game_; }

  void startGame(const std::vector<Level>& levels, uint8_t mode = Linear) {
    writeMapsBin(dir_, levels);
    game_ = new Game(makeTitleMenu);
    game_->gameSeed = [] { return 11u; };
    game_->readKey = ScriptedKeys({'Z', 'E', 'D'});
    game_->orderMode = mode;
    game_->setState(new State_GameRunning(game_));
  }

  State_GameRunning* running() { return dynamic_cast<State_GameRunning*>(currentState); }

  ScopedWorkDir dir_;
  Game* game_ = nullptr;
};

TEST_F(RunningStateTest, TalliesOnePointPerStartedSecondLeft) {
  startGame({bareLevel(3)});
  const struct {
    int32_t timerBeforeUpdate;
    int32_t points;
  } cases[] = {{51, 1}, {0, 0}, {12000, 120}, {202, 3}};
  for (const auto& c : cases) {
    const int32_t before = game_->player->score;
    bonusTimer = c.timerBeforeUpdate;
    drivePass();
    EXPECT_EQ(game_->player->score - before, c.points) << "timer " << c.timerBeforeUpdate;
    EXPECT_EQ(bonusTimer, 12000) << "the next level starts with a full clock";
  }
}

TEST_F(RunningStateTest, LinearSequenceWrapsAfterTheLastLevel) {
  startGame({bareLevel(1), bareLevel(2), bareLevel(3), bareLevel(4)});
  std::vector<int> starts;
  for (int pass = 0; pass < 6; ++pass) {
    drivePass();
    starts.push_back(game_->map.startX / 16);
  }
  EXPECT_EQ(starts, (std::vector<int>{2, 3, 4, 1, 2, 3}));
  EXPECT_EQ(running()->sequenceIndex, 2);
}

TEST_F(RunningStateTest, RandomModeWithOneLevelRepeatsIt) {
  startGame({bareLevel(5)}, Random);
  drivePasses(3);
  EXPECT_EQ(running()->sequenceIndex, 0);
  EXPECT_EQ(game_->map.startX, 5 * 16);
}

TEST_F(RunningStateTest, ALostLifeRestartsTheLevelAndKeepsTheScore) {
  startGame({goldLevel()});
  SampleLog samples;
  drivePasses(40, {KEY_RIGHT});
  ASSERT_EQ(game_->goldLeft(), 1);
  const int32_t score = game_->player->score;
  ASSERT_EQ(score, 10);
  game_->player->alive = 0;
  drivePass();
  EXPECT_EQ(samples.count(AssetSampleLifeLost), 1);
  EXPECT_EQ(game_->livesLeft(), 2);
  EXPECT_EQ(game_->player->score, score);
  EXPECT_EQ(game_->player->x, 0) << "back at the start";
  EXPECT_EQ(game_->goldLeft(), 2) << "with the gold back";
  EXPECT_EQ(bonusTimer, 12000);
}

TEST_F(RunningStateTest, AfterTheLastLifeTheLevelRunsOneMorePassThenTheMenuFollows) {
  startGame({goldLevel()});
  game_->player->lives = 1;
  game_->player->alive = 0;
  drivePass();
  ASSERT_NE(running(), nullptr) << "the restarted level is shown for one pass";
  EXPECT_EQ(game_->livesLeft(), 0);
  drivePass();
  EXPECT_NE(dynamic_cast<State_GameMenu*>(currentState), nullptr);
  EXPECT_EQ(game_->player, nullptr);
}

TEST_F(RunningStateTest, AQualifyingGameEndsInTheTableWithTheTypedName) {
  startGame({goldLevel()});
  game_->player->score = 3000;
  game_->player->lives = 1;
  game_->player->alive = 0;
  drivePasses(2);
  ASSERT_NE(dynamic_cast<State_GameMenu*>(currentState), nullptr);
  const HighScoreEntry best = game_->highScores.entryAt(9);
  EXPECT_EQ(best.name, "ZED");
  EXPECT_EQ(best.score, 3000u);
}

TEST_F(RunningStateTest, EscapeFreezesTheGameUntilReleasedThenEndsIt) {
  startGame({goldLevel()});
  std::thread releaser([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    key[KEY_ESC] = 0;
  });
  key[KEY_ESC] = 1;
  tickCount = 1;
  runPass();
  releaser.join();
  EXPECT_NE(dynamic_cast<State_GameMenu*>(currentState), nullptr);
  EXPECT_EQ(game_->player, nullptr);
  EXPECT_TRUE(game_->enemies.empty());
}

// The level editor's play-test: the game hands over to a state of the
// editor's choosing, offers no score to the table, and its frames go where
// the editor shows them.
TEST_F(RunningStateTest, AnEndingOfItsOwnHandsOverWithoutTheNameEntryOrTheMenu) {
  writeMapsBin(dir_, {goldLevel()});
  game_ = new Game(noFirstState);
  game_->readKey = [] { ADD_FAILURE() << "no name entry"; return 13; };
  game_->setState(new State_GameRunning(game_, GameEnding{[](Game&) -> State* { return new Successor; }, false}));
  int framesShown = 0;
  setFramePresenter([&framesShown] { ++framesShown; });
  game_->player->score = 3000;
  game_->player->lives = 1;
  game_->player->alive = 0;
  drivePasses(2);
  setFramePresenter({});
  EXPECT_NE(dynamic_cast<Successor*>(currentState), nullptr);
  EXPECT_EQ(game_->player, nullptr);
  EXPECT_EQ(game_->highScores.entryAt(9).score, 2500u) << "the table as it was";
  EXPECT_EQ(framesShown, 2);
}

// A watched proof: the player obeys the replay's keys, not the keyboard, and
// the game ends on the level cleared instead of starting it again.
TEST_F(RunningStateTest, AWatchedReplayObeysItsOwnKeysAndEndsOnTheClearedLevel) {
  writeMapsBin(dir_, {goldLevel()});
  game_ = new Game(noFirstState);
  volatile char replayKeys[KEY_MAX] = {};
  replayKeys[KEY_RIGHT] = 1;
  game_->heldKeys = replayKeys;
  int endX = -1;
  int32_t endGold = -1;
  int32_t endScore = -1;
  game_->setState(new State_GameRunning(game_, GameEnding{[&](Game& game) -> State* {
                                                            endX = game.player->x;
                                                            endGold = game.goldLeft();
                                                            endScore = game.player->score;
                                                            return new Successor;
                                                          },
                                                          false, true}));
  drivePasses(80, {KEY_LEFT});
  EXPECT_NE(dynamic_cast<Successor*>(currentState), nullptr);
  EXPECT_EQ(endGold, 0);
  EXPECT_GE(endX, 3 * 16) << "walked right to the last gold and stayed there";
  EXPECT_GT(endScore, 20) << "with the time bonus tallied";
}

}  // namespace
