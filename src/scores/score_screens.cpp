#include "scores/score_screens.h"

#include "base/assets.h"
#include "base/globals.h"
#include "scores/name_entry.h"
#include "scores/text.h"

namespace {

constexpr int StatusScoreRightX = 80;
constexpr int LifeIconsY = 512;
constexpr int LifeIconWidth = 16;

constexpr int BoxX = 128;
constexpr int BoxY = 104;
constexpr int BoxWidth = 248;
constexpr int BoxHeight = 176;
constexpr int BoxColour = 0;
constexpr int LowestRowY = 256;
constexpr int RowSpacing = 16;
constexpr int RowScoreRightX = 360;
constexpr int RowNameRightX = 275;
constexpr int FontColours = -1;

}  // namespace

void drawStatusLine(uint32_t score, int lives) {
  drawScore(StatusScoreRightX, StatusLineY, score);
  BITMAP* lifeIcon = assetBitmap(AssetPlayerLeft1);
  for (int icon = 1; icon < lives; ++icon) {
    draw_sprite(backBuffer, lifeIcon, FieldSize - LifeIconWidth * icon, LifeIconsY);
  }
}

bool enterHighScore(HighScoreTable& table, uint32_t score, const std::function<int()>& readKey) {
  HighScoreEntry candidate;
  candidate.score = score;
  const int place = table.rankOf(candidate);
  if (place == -1) {
    return false;
  }
  const std::string message = placeMessage(place);
  // Keys typed during play, the Escape that ended it among them, must not
  // become part of the name.
  clear_keybuf();
  candidate.name = enterName(message, readKey);
  table.insertEntry(candidate);
  return true;
}

void drawHighScores(const HighScoreTable& table) {
  drawBox(BoxX, BoxY, BoxWidth, BoxHeight, BoxColour);
  for (int index = 0; index < HighScoreRows; ++index) {
    const HighScoreEntry row = table.entryAt(index);
    const int y = LowestRowY - RowSpacing * index;
    drawScore(RowScoreRightX, y, static_cast<uint32_t>(row.score));
    drawText(row.name, RowNameRightX, y, FontColours, AlignRight);
  }
}
