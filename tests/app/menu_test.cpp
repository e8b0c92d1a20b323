// The title menu's key timing and items, driven through the real loop.
#include "base/globals.h"
#include "app/state_game_menu.h"
#include "app/state_game_running.h"
#include "game/game.h"
#include "leveltext/level_text.h"
#include "support/driver.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

int countColour(int colour, int x, int y, int w, int h) {
  int count = 0;
  for (int yy = y; yy < y + h; ++yy) {
    for (int xx = x; xx < x + w; ++xx) {
      count += getpixel(screen, xx, yy) == colour;
    }
  }
  return count;
}

class MenuTest : public ::testing::Test {
protected:
  void SetUp() override {
    startHeadlessAllegro();
    std::vector<std::string> rows(32, std::string(32, '#'));
    rows[30] = "P.$" + std::string(29, '.');
    writeMapsBin(dir_, {levelFromRows(rows)});
    game_ = new Game(makeTitleMenu);
    game_->gameSeed = [] { return 7u; };
    game_->readKey = ScriptedKeys({});
  }

  void TearDown() override { delete game_; }

  State_GameMenu& menu() { return *dynamic_cast<State_GameMenu*>(currentState); }

  ScopedWorkDir dir_;
  Game* game_ = nullptr;
};

TEST_F(MenuTest, IgnoresKeysForTwentyPassesThenActsInThe21st) {
  drivePasses(20, {KEY_DOWN});
  EXPECT_EQ(menu().cursor, 0u);
  drivePass({KEY_DOWN});
  EXPECT_EQ(menu().cursor, 1u);
  EXPECT_EQ(menu().keyDelay, 15);
}

TEST_F(MenuTest, HeldKeyRepeatsEverySixteenPasses) {
  drivePasses(21, {KEY_DOWN});
  drivePasses(15, {KEY_DOWN});
  EXPECT_EQ(menu().cursor, 1u);
  drivePass({KEY_DOWN});
  EXPECT_EQ(menu().cursor, 2u);
}

TEST_F(MenuTest, BlockedMovesSetNoDelay) {
  drivePasses(20);
  drivePass({KEY_UP});
  EXPECT_EQ(menu().cursor, 0u);
  EXPECT_EQ(menu().keyDelay, 0) << "Up on the first item";
  menu().cursor = 2;
  drivePass({KEY_DOWN});
  EXPECT_EQ(menu().cursor, 2u);
  EXPECT_EQ(menu().keyDelay, 0) << "Down on the last item";
}

TEST_F(MenuTest, DownAndKInOnePassMoveThenFlipTheMode) {
  drivePasses(20);
  drivePass({KEY_DOWN, KEY_K});
  EXPECT_EQ(menu().cursor, 1u);
  EXPECT_EQ(menu().orderMode, Random);
  EXPECT_EQ(game_->orderMode, Random);
  drivePasses(16, {KEY_J});
  EXPECT_EQ(game_->orderMode, Linear) << "a held J flips again after the delay";
}

TEST_F(MenuTest, UpAndDownTogetherComeBackAndSetTheDelay) {
  drivePasses(20);
  menu().cursor = 1;
  drivePass({KEY_UP, KEY_DOWN});
  EXPECT_EQ(menu().cursor, 1u);
  EXPECT_EQ(menu().keyDelay, 15);
}

TEST_F(MenuTest, OtherKeysDoNothing) {
  drivePasses(20);
  drivePass({KEY_ENTER, KEY_SPACE, KEY_ESC, KEY_LEFT});
  EXPECT_EQ(menu().cursor, 0u);
  EXPECT_EQ(menu().keyDelay, 0);
  EXPECT_TRUE(keepRunning);
}

TEST_F(MenuTest, ExitEndsTheLoopAfterDrawingItsPass) {
  drivePasses(20);
  menu().cursor = 2;
  clear_bitmap(screen);
  drivePass({KEY_J});
  EXPECT_FALSE(keepRunning);
  EXPECT_LT(countColour(0, 196, 32, 120, 14), 120 * 14) << "the title is drawn in the last pass";
}

TEST_F(MenuTest, StartGameShowsTheLevelInTheSamePass) {
  drivePasses(20);
  drivePass({KEY_K});
  ASSERT_NE(dynamic_cast<State_GameRunning*>(currentState), nullptr);
  EXPECT_EQ(getpixel(screen, 16 * 5 + 8, 16 * 5 + 8), getpixel(levelBitmap, 16 * 5 + 8, 16 * 5 + 8));
  EXPECT_NE(getpixel(screen, 16 * 5 + 8, 16 * 5 + 8), 0) << "brick drawn";
}

TEST_F(MenuTest, ANewMenuShowsTheModeOfTheGame) {
  game_->orderMode = Random;
  State_GameMenu fresh(game_);
  EXPECT_EQ(fresh.orderMode, Random);
}

TEST_F(MenuTest, DrawsTheItemsInTheirColours) {
  drivePasses(20);
  menu().cursor = 1;
  drivePass();
  EXPECT_GT(countColour(0x445566, 168, 298, 80, 14), 0) << "Start game dim";
  EXPECT_EQ(countColour(0x445566, 168, 312, 40, 14), 0) << "Mode: in the font's own colours";
  EXPECT_GT(countColour(0xFF0000, 208, 312, 48, 14), 0) << "the mode word bright red";
  EXPECT_GT(countColour(0x888888, 480, 512, 32, 14), 0) << "the version";
  EXPECT_EQ(getpixel(screen, 128, 104), 0xFFFFFF) << "the high-score box";
}

}  // namespace
