#include "scores/text.h"

#include "base/globals.h"

#include <charconv>
#include <iterator>

namespace {

constexpr int Transparent = -1;
constexpr int FontColours = -1;
constexpr int Black = 0;
constexpr int DimZeroColour = 0x445566;
constexpr int FrameColour = 0xFFFFFF;
constexpr int GlyphWidth = 8;
constexpr int ScreenColumns = ScreenWidth / GlyphWidth;
constexpr int TimeX = 150;
constexpr int LevelLabelX = 384;
constexpr int32_t TicksPerMinute = 60 * UpdatesPerSecond;

// The digits an output string stream writes in the classic locale, without
// building a stream for every number of every frame.
template <typename Number>
std::string decimal(Number number) {
  char digits[16];
  const std::to_chars_result end = std::to_chars(std::begin(digits), std::end(digits), number);
  return std::string(digits, end.ptr);
}

}  // namespace

void drawText(std::string text, int x, int y, int colour, int align) {
  switch (align) {
    case AlignLeft:
      textout_ex(backBuffer, font, text.c_str(), x, y, colour, Transparent);
      break;
    case AlignRight:
      textout_right_ex(backBuffer, font, text.c_str(), x, y, colour, Transparent);
      break;
    case AlignCentre: {
      const int leftX = (ScreenColumns - static_cast<int>(text.size())) * GlyphWidth / 2;
      textout_ex(backBuffer, font, text.c_str(), leftX, y, colour, Transparent);
      break;
    }
    default:
      break;
  }
}

void drawScore(int x, int y, uint32_t value) {
  textout_right_ex(backBuffer, font, "0000000000", x, y, DimZeroColour, Black);
  textout_right_ex(backBuffer, font, decimal(value).c_str(), x, y, FontColours, Black);
}

std::string timeText(int32_t ticks) {
  const int32_t minutes = ticks / TicksPerMinute;
  const int32_t seconds = (ticks / UpdatesPerSecond) % 60;
  std::string text = decimal(minutes);
  text += seconds % 2 == 0 ? ":" : " ";
  if (seconds < 10) {
    text += "0";
  }
  return text + decimal(seconds);
}

void drawTime() { drawText(timeText(bonusTimer), TimeX, StatusLineY, FontColours, AlignLeft); }

void drawLevelLabel(int number) {
  textprintf_ex(backBuffer, font, LevelLabelX, StatusLineY, FontColours, Black, "Level %d", number);
}

void drawBox(int x, int y, int width, int height, int colour) {
  rectfill(backBuffer, x, y, x + width, y + height, colour);
  rect(backBuffer, x, y, x + width, y + height, FrameColour);
}
