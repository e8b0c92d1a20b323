#include "app/state_game_menu.h"

#include "base/globals.h"
#include "app/state_game_running.h"
#include "game/game.h"
#include "scores/text.h"

namespace {

constexpr uint8_t RepeatDelay = 15;
constexpr int ItemX = 168;
constexpr int DimItemColour = 0x445566;

int itemColour(bool selected) { return selected ? -1 : DimItemColour; }

}  // namespace

State_GameMenu::State_GameMenu(Game* game) : game(game), orderMode(game->orderMode) {}

State* makeTitleMenu(Game& game) { return new State_GameMenu(&game); }

void State_GameMenu::update() {
  if (keyDelay > 0) {
    --keyDelay;
    return;
  }
  if (key[KEY_UP] && cursor > StartGame) {
    --cursor;
    keyDelay = RepeatDelay;
  }
  if (key[KEY_DOWN] && cursor < Exit) {
    ++cursor;
    keyDelay = RepeatDelay;
  }
  if (!key[KEY_J] && !key[KEY_K]) {
    return;
  }
  keyDelay = RepeatDelay;
  switch (cursor) {
    case StartGame:
      rest(500);
      clear_keybuf();
      game->setState(new State_GameRunning(game));
      return;
    case Mode:
      orderMode = orderMode == Linear ? Random : Linear;
      game->orderMode = orderMode;
      break;
    default:
      keepRunning = false;
      break;
  }
}

void State_GameMenu::draw() {
  drawText("MELLOW QUARRIER", 0, 32, -1, AlignCentre);
  drawText("v1.1", ScreenWidth, 512, 0x888888, AlignRight);
  game->drawHighScores();
  drawText("Start game", ItemX, 298, itemColour(cursor == StartGame), AlignLeft);
  drawText("Mode:", ItemX, 312, itemColour(cursor == Mode), AlignLeft);
  drawText("Exit", ItemX, 328, itemColour(cursor == Exit), AlignLeft);
  drawText(orderMode == Random ? "Random" : "Linear", 208, 312, cursor == Mode ? 0xFF0000 : 0x770000, AlignLeft);
}
