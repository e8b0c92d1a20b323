#include "scores/text.h"

#include "base/globals.h"
#include "scores/pixels.h"
#include "support/headless.h"

#include <gtest/gtest.h>

namespace {

constexpr int DimZero = 0x445566;
constexpr int Filler = 0x00FF00;

class TextTest : public testing::Test {
protected:
  void SetUp() override {
    startHeadlessAllegro();
    scratch = create_bitmap(backBuffer->w, backBuffer->h);
    clear_bitmap(scratch);
  }
  void TearDown() override { destroy_bitmap(scratch); }

  // Draws the same text once more into scratch, through backBuffer.
  template <typename Draw>
  void drawIntoScratch(Draw draw) {
    BITMAP* target = backBuffer;
    backBuffer = scratch;
    draw();
    backBuffer = target;
  }

  BITMAP* scratch = nullptr;
};

TEST(TimeText, MinutesBlinkingColonAndPaddedSeconds) {
  EXPECT_EQ(timeText(12000), "2:00");
  EXPECT_EQ(timeText(11999), "1 59");
  EXPECT_EQ(timeText(11899), "1:58");
  EXPECT_EQ(timeText(6000), "1:00");
  EXPECT_EQ(timeText(5999), "0 59");
  EXPECT_EQ(timeText(405), "0:04");
  EXPECT_EQ(timeText(1000), "0:10");
  EXPECT_EQ(timeText(1100), "0 11");
}

TEST(TimeText, LastSecondOnEitherSideOfZeroReadsZero) {
  for (int32_t ticks = -99; ticks <= 99; ++ticks) {
    EXPECT_EQ(timeText(ticks), "0:00") << ticks;
  }
}

TEST_F(TextTest, LeftAlignedStartsAtXOnTransparentGround) {
  clear_to_color(backBuffer, Filler);
  drawText("MQ", 100, 50, -1, AlignLeft);
  EXPECT_EQ(countOther(backBuffer, 0, 0, 100, backBuffer->h, Filler), 0);
  EXPECT_GT(countOther(backBuffer, 100, 50, 116, 50 + glyphHeight(), Filler), 0);
  EXPECT_GT(countColour(backBuffer, 100, 50, 116, 50 + glyphHeight(), Filler), 0);
}

TEST_F(TextTest, RightAlignedEndsJustBeforeX) {
  drawText("MQ", 100, 50, -1, AlignRight);
  drawIntoScratch([] { drawText("MQ", 84, 50, -1, AlignLeft); });
  EXPECT_TRUE(sameBitmaps(backBuffer, scratch));
  EXPECT_EQ(countLit(backBuffer, 100, 0, backBuffer->w, backBuffer->h), 0);
}

TEST_F(TextTest, CentredTextIgnoresX) {
  drawText("Mellow Quarrier", 3, 40, -1, AlignCentre);
  drawIntoScratch([] { drawText("Mellow Quarrier", 196, 40, -1, AlignLeft); });
  EXPECT_TRUE(sameBitmaps(backBuffer, scratch));
}

TEST_F(TextTest, UnknownAlignmentDrawsNothing) {
  drawText("MQ", 100, 50, -1, 3);
  drawText("MQ", 100, 50, -1, -1);
  EXPECT_EQ(countLit(backBuffer, 0, 0, backBuffer->w, backBuffer->h), 0);
}

TEST_F(TextTest, ScoreFieldDimZerosThenBrightDigitsOnBlack) {
  clear_to_color(backBuffer, Filler);
  drawScore(80, 513, 1230);
  // Six dim zeros, then four digits in the font's own colours.
  EXPECT_GT(countColour(backBuffer, 0, 513, 48, 513 + glyphHeight(), DimZero), 0);
  EXPECT_EQ(countOther(backBuffer, 0, 513, 48, 513 + glyphHeight(), DimZero), 0);
  EXPECT_EQ(countColour(backBuffer, 48, 513, 80, 513 + glyphHeight(), DimZero), 0);
  EXPECT_GT(countLit(backBuffer, 48, 513, 80, 513 + glyphHeight()), 0);
  EXPECT_EQ(countColour(backBuffer, 0, 513, 80, 513 + glyphHeight(), Filler), 0);
  EXPECT_EQ(getpixel(backBuffer, 80, 513), Filler);
}

TEST_F(TextTest, ScoreZeroKeepsNineDimPlaces) {
  drawScore(80, 513, 0);
  EXPECT_EQ(countOther(backBuffer, 0, 513, 72, 513 + glyphHeight(), DimZero), 0);
  EXPECT_EQ(countColour(backBuffer, 72, 513, 80, 513 + glyphHeight(), DimZero), 0);
  EXPECT_GT(countLit(backBuffer, 72, 513, 80, 513 + glyphHeight()), 0);
}

TEST_F(TextTest, LargestScoreFillsAllTenPlacesUnsigned) {
  drawScore(80, 513, 4294967295u);
  drawIntoScratch([] { drawText("4294967295", 0, 513, -1, AlignLeft); });
  EXPECT_EQ(countColour(backBuffer, 0, 513, 80, 513 + glyphHeight(), DimZero), 0);
  EXPECT_TRUE(sameBitmaps(backBuffer, scratch));
}

TEST_F(TextTest, ClockAndLevelLabelOnTheStatusLine) {
  bonusTimer = 11999;
  drawTime();
  drawLevelLabel(12);
  drawIntoScratch([] {
    drawText("1 59", 150, 513, -1, AlignLeft);
    drawText("Level 12", 384, 513, -1, AlignLeft);
  });
  EXPECT_TRUE(sameBitmaps(backBuffer, scratch));
}

TEST_F(TextTest, BoxIsFilledAndFramedWhite) {
  clear_to_color(backBuffer, Filler);
  drawBox(128, 104, 248, 176, 0);
  EXPECT_EQ(getpixel(backBuffer, 128, 104), 0xFFFFFF);
  EXPECT_EQ(getpixel(backBuffer, 376, 280), 0xFFFFFF);
  EXPECT_EQ(getpixel(backBuffer, 129, 105), 0);
  EXPECT_EQ(getpixel(backBuffer, 375, 279), 0);
  EXPECT_EQ(getpixel(backBuffer, 377, 281), Filler);
  EXPECT_EQ(countColour(backBuffer, 128, 104, 377, 281, Filler), 0);
}

}  // namespace
