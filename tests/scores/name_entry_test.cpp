#include "scores/name_entry.h"

#include "base/globals.h"
#include "scores/key_script.h"
#include "scores/pixels.h"
#include "scores/text.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int Enter = 13;
constexpr int Backspace = 8;
constexpr int Escape = 27;
constexpr int CursorColour = 0xFF5500;

std::vector<int> typed(const std::string& text) {
  std::vector<int> keys(text.begin(), text.end());
  keys.push_back(Enter);
  return keys;
}

class NameEntryTest : public testing::Test {
protected:
  void SetUp() override { startHeadlessAllegro(); }
};

TEST(PlaceMessage, WoohooOnlyForFirstPlace) {
  EXPECT_EQ(placeMessage(3), "You are number 3 .");
  EXPECT_EQ(placeMessage(10), "You are number 10 .");
  EXPECT_EQ(placeMessage(1), "You are number 1 . Woohoo !");
}

TEST_F(NameEntryTest, TypingWithBackspaceBlankAndTilde) {
  KeyScript script({'a', 'b', Backspace, '~', ' ', withScancode(KEY_Z, 'Z'), Enter});
  EXPECT_EQ(enterName("You are number 3 .", script.source()), "a~ Z");
  EXPECT_EQ(script.used(), 7u);
}

TEST_F(NameEntryTest, EnterAtOnceGivesAnEmptyName) {
  KeyScript script({Backspace, Backspace, Enter});
  EXPECT_EQ(enterName("", script.source()), "");
}

TEST_F(NameEntryTest, KeysWithoutAPrintableCharacterAreIgnored) {
  KeyScript script({Escape, 'o', 9, withScancode(KEY_LEFT, 0), 127, 200, withScancode(KEY_ESC, Escape), 'k', Enter});
  EXPECT_EQ(enterName("", script.source()), "ok");
}

TEST_F(NameEntryTest, SeventeenthCharacterIsIgnored) {
  KeyScript script(typed("ABCDEFGHIJKLMNOPQ"));
  EXPECT_EQ(enterName("", script.source()), "ABCDEFGHIJKLMNOP");
}

TEST_F(NameEntryTest, ScreenShowsTheCursorAfterTheName) {
  KeyScript script(typed(std::string(17, 'W')));
  std::vector<int> cursorPixels;
  script.onWait = [&](std::size_t index) {
    cursorPixels.push_back(countColour(screen, 0, 0, screen->w, screen->h, CursorColour));
    const int nameLength = static_cast<int>(std::min<std::size_t>(index, 16));
    const int cursorX = 64 + 8 * nameLength;
    EXPECT_EQ(countColour(screen, cursorX, 256, cursorX + 8, 256 + glyphHeight(), CursorColour), cursorPixels.back());
    EXPECT_EQ(countLit(backBuffer, 0, 0, backBuffer->w, backBuffer->h), 0) << "the frame was not cleared";
  };
  enterName("", script.source());
  ASSERT_EQ(cursorPixels.size(), 18u);
  EXPECT_GT(cursorPixels.front(), 0);
  EXPECT_EQ(cursorPixels.back(), cursorPixels.front());
  EXPECT_GT(countColour(screen, 192, 256, 200, 256 + glyphHeight(), CursorColour), 0);
}

TEST_F(NameEntryTest, ScreenShowsMessagePromptAndName) {
  KeyScript script({'Q', Enter});
  BITMAP* shown = create_bitmap(screen->w, screen->h);
  script.onWait = [&](std::size_t index) {
    if (index == 1) {
      blit(screen, shown, 0, 0, 0, 0, screen->w, screen->h);
    }
  };
  enterName("You are number 1 . Woohoo !", script.source());
  drawText("You are number 1 . Woohoo !", 64, 214, -1, AlignLeft);
  drawText("Enter your name :", 64, 230, -1, AlignLeft);
  drawText("Q", 64, 256, -1, AlignLeft);
  drawText(std::string(1, static_cast<char>(219)), 72, 256, CursorColour, AlignLeft);
  EXPECT_TRUE(sameBitmaps(shown, backBuffer));
  destroy_bitmap(shown);
}

}  // namespace
