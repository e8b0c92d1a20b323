#include "base/globals.h"
#include "app/state_game_menu.h"
#include "game/game.h"
#include "game/player.h"
#include "scores/key_script.h"
#include "scores/pixels.h"
#include "scores/text.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

namespace {

constexpr int Enter = 13;
constexpr int DimZero = 0x445566;
constexpr int White = 0xFFFFFF;
constexpr int MessageY = 214;

// One level whose first cell is the player's start, then the end record.
std::string smallestLevelFile() {
  std::string bytes(1024, '\0');
  bytes[0] = 0x50;
  return bytes;
}

// True if the message line on the captured screen is exactly this text.
bool showsMessage(BITMAP* shown, const std::string& message) {
  clear_bitmap(backBuffer);
  drawText(message, 64, MessageY, -1, AlignLeft);
  for (int y = MessageY; y < MessageY + glyphHeight(); ++y) {
    for (int x = 0; x < shown->w; ++x) {
      if (getpixel(shown, x, y) != getpixel(backBuffer, x, y)) {
        return false;
      }
    }
  }
  return true;
}

// A Game in a folder of its own: it reads maps.bin and user.bin from the
// working directory and writes user.bin when it goes.
class GameScoresTest : public testing::Test {
protected:
  void SetUp() override {
    startHeadlessAllegro();
    dir.writeFile("maps.bin", smallestLevelFile());
    game = std::make_unique<Game>(makeTitleMenu);
    game->player = new Player(game.get());
    shown = create_bitmap(ScreenWidth, ScreenHeight);
  }
  void TearDown() override { destroy_bitmap(shown); }

  // Plays the name entry with the given keys, keeping the first screen.
  std::size_t enterWith(std::vector<int> keys) {
    KeyScript script(std::move(keys));
    script.onWait = [this](std::size_t index) {
      if (index == 0) {
        blit(screen, shown, 0, 0, 0, 0, screen->w, screen->h);
      }
    };
    game->readKey = script.source();
    game->enterHighScore();
    return script.used();
  }

  ScopedWorkDir dir;
  std::unique_ptr<Game> game;
  BITMAP* shown = nullptr;
};

TEST_F(GameScoresTest, ScoreBelowTheTableShowsNoScreen) {
  game->player->score = 249;
  EXPECT_EQ(enterWith({}), 0u);
  EXPECT_EQ(game->highScores.entryAt(0).score, 250u);
  EXPECT_EQ(game->highScores.entryAt(0).name, "Mellow Quarrier");
}

TEST_F(GameScoresTest, EqualToTheLowestIsTenthAndPushesItOut) {
  game->player->score = 250;
  EXPECT_EQ(enterWith({'B', 'o', Enter}), 3u);
  EXPECT_TRUE(showsMessage(shown, "You are number 10 ."));
  EXPECT_EQ(game->highScores.entryAt(0).name, "Bo");
  EXPECT_EQ(game->highScores.entryAt(0).score, 250u);
  EXPECT_EQ(game->highScores.entryAt(1).score, 500u);
}

TEST_F(GameScoresTest, EqualToTheBestIsFirstWithWoohoo) {
  game->player->score = 2500;
  enterWith({Enter});
  EXPECT_TRUE(showsMessage(shown, "You are number 1 . Woohoo !"));
  EXPECT_EQ(game->highScores.entryAt(9).name, "");
  EXPECT_EQ(game->highScores.entryAt(8).name, "Mellow Quarrier");
}

TEST_F(GameScoresTest, ScoreIsWidenedAsUnsignedThirtyTwoBits) {
  game->player->score = -1;
  enterWith({Enter});
  EXPECT_EQ(game->highScores.entryAt(9).score, uint64_t{4294967295u});
}

TEST_F(GameScoresTest, StatusLineShowsScoreAndSpareLives) {
  game->player->score = 1230;
  game->player->lives = 3;
  game->drawStatus();
  EXPECT_GT(countColour(backBuffer, 0, 513, 48, 513 + glyphHeight(), DimZero), 0);
  EXPECT_EQ(countColour(backBuffer, 48, 513, 80, 513 + glyphHeight(), DimZero), 0);
  EXPECT_GT(countLit(backBuffer, 480, 512, 496, 528), 0);
  EXPECT_GT(countLit(backBuffer, 496, 512, 512, 528), 0);
  EXPECT_EQ(countLit(backBuffer, 80, 512, 480, 528), 0);

  clear_bitmap(backBuffer);
  game->player->lives = 1;
  game->drawStatus();
  EXPECT_EQ(countLit(backBuffer, 80, 512, 512, 528), 0);
}

TEST_F(GameScoresTest, StatusLineIsEmptyWithoutAPlayer) {
  delete game->player;
  game->player = nullptr;
  game->drawStatus();
  EXPECT_EQ(countLit(backBuffer, 0, 0, backBuffer->w, backBuffer->h), 0);
}

TEST_F(GameScoresTest, TitleBoxShowsTheDefaultTableBestOnTop) {
  game->drawHighScores();
  EXPECT_EQ(getpixel(backBuffer, 128, 104), White);
  EXPECT_EQ(getpixel(backBuffer, 376, 280), White);
  EXPECT_EQ(getpixel(backBuffer, 129, 105), 0);
  // "0000002500" at the top: six dim places, four bright; "0000000250" at
  // the bottom: seven dim.
  EXPECT_EQ(countOther(backBuffer, 280, 112, 328, 112 + glyphHeight(), DimZero), 0);
  EXPECT_EQ(countColour(backBuffer, 328, 112, 360, 112 + glyphHeight(), DimZero), 0);
  EXPECT_GT(countLit(backBuffer, 328, 112, 360, 112 + glyphHeight()), 0);
  EXPECT_EQ(countOther(backBuffer, 280, 256, 336, 256 + glyphHeight(), DimZero), 0);
  EXPECT_GT(countLit(backBuffer, 336, 256, 360, 256 + glyphHeight()), 0);
  // "Mellow Quarrier" ends at x = 274 and starts at 155.
  for (int y = 112; y <= 256; y += 16) {
    EXPECT_GT(countLit(backBuffer, 155, y, 275, y + glyphHeight()), 0) << y;
    EXPECT_EQ(countLit(backBuffer, 129, y, 155, y + glyphHeight()), 0) << y;
    EXPECT_EQ(countLit(backBuffer, 275, y, 280, y + glyphHeight()), 0) << y;
  }
}

TEST_F(GameScoresTest, TitleBoxShowsLowerThirtyTwoBitsAndBlankNames) {
  game->highScores.entries[9] = {(uint64_t{1} << 32) + 7, ""};
  game->drawHighScores();
  EXPECT_EQ(countLit(backBuffer, 129, 112, 280, 112 + glyphHeight()), 0);
  EXPECT_EQ(countOther(backBuffer, 280, 112, 352, 112 + glyphHeight(), DimZero), 0);
  EXPECT_EQ(countColour(backBuffer, 352, 112, 360, 112 + glyphHeight(), DimZero), 0);
  EXPECT_GT(countLit(backBuffer, 352, 112, 360, 112 + glyphHeight()), 0);
}

}  // namespace
