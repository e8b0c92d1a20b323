// The scores subsystem's part of Game: the status line, the end-of-game name
// entry and the title screen's table.
#include "app/assets.h"
#include "app/globals.h"
#include "game/game.h"
#include "game/player.h"
#include "scores/name_entry.h"
#include "scores/text.h"

namespace {

constexpr int StatusScoreRightX = 80;
constexpr int StatusLineY = 513;
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

void Game::drawStatus() {
  if (player == nullptr) {
    return;
  }
  drawScore(StatusScoreRightX, StatusLineY, static_cast<uint32_t>(player->score));
  BITMAP* lifeIcon = assetBitmap(AssetPlayerLeft1);
  for (int icon = 1; icon < player->lives; ++icon) {
    draw_sprite(backBuffer, lifeIcon, FieldSize - LifeIconWidth * icon, LifeIconsY);
  }
}

void Game::enterHighScore() {
  if (player == nullptr) {
    return;
  }
  HighScoreEntry candidate;
  candidate.score = static_cast<uint32_t>(player->score);
  const int place = highScores.rankOf(candidate);
  if (place == -1) {
    return;
  }
  const std::string message = placeMessage(place);
  // Keys typed during play, the Escape that ended it among them, must not
  // become part of the name.
  clear_keybuf();
  candidate.name = enterName(message, readKey);
  highScores.insertEntry(candidate);
}

void Game::drawHighScores() {
  drawBox(BoxX, BoxY, BoxWidth, BoxHeight, BoxColour);
  for (int index = 0; index < HighScoreRows; ++index) {
    const HighScoreEntry row = highScores.entryAt(index);
    const int y = LowestRowY - RowSpacing * index;
    drawScore(RowScoreRightX, y, static_cast<uint32_t>(row.score));
    drawText(row.name, RowNameRightX, y, FontColours, AlignRight);
  }
}
