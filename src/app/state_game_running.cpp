#include "app/state_game_running.h"

#include "base/assets.h"
#include "base/globals.h"
#include "app/state_game_menu.h"
#include "game/game.h"
#include "game/player.h"
#include "level/level_drawing.h"
#include "scores/text.h"

#include <utility>

namespace {

constexpr int LifeLostPauseMs = 700;

void waitForEscapeRelease() {
  while (key[KEY_ESC]) {
    rest(1);
  }
}

}  // namespace

State_GameRunning::State_GameRunning(Game* game) : State_GameRunning(game, GameEnding{makeTitleMenu}) {}

State_GameRunning::State_GameRunning(Game* game, GameEnding ending) : game(game), ending_(std::move(ending)) {
  sequenceIndex = 0;
  levelCount = startRunningGame(*game, game->gameSeed());
  game->enterLevel(0);
}

State_GameRunning::~State_GameRunning() {
  if (ending_.offerHighScore) {
    game->enterHighScore();
  }
  game->destroyActors();
}

void State_GameRunning::update() { updateRunningGame(*game, sequenceIndex, levelCount, *this); }

bool State_GameRunning::endRequested() { return key[KEY_ESC]; }

// Ending replaces this state: nothing of it may be touched afterwards.
void State_GameRunning::gameOver() {
  waitForEscapeRelease();
  game->setState(ending_.next(*game));
}

bool State_GameRunning::levelCleared() {
  tallyTimeBonus();
  if (ending_.endsWhenCleared) {
    game->setState(ending_.next(*game));
    return false;
  }
  return true;
}

bool State_GameRunning::lifeLost() {
  if (ending_.lifeLost) {
    ending_.lifeLost(*game);
  }
  playSample(AssetSampleLifeLost);
  rest(LifeLostPauseMs);
  return true;
}

void State_GameRunning::draw() {
  copyLevelBitmap();
  game->drawActors();
  game->drawStatus();
  drawTime();
  drawLevelLabel(sequenceIndex + 1);
}

// One point and one frame per started second left on the clock; the frames
// follow without a pause and leave out the level label.
void State_GameRunning::tallyTimeBonus() {
  while (bonusTimer > 0) {
    copyLevelBitmap();
    game->drawActors();
    bonusTimer -= TicksPerBonusPoint;
    game->player->score += 1;
    game->drawStatus();
    drawTime();
    presentFrame();
  }
}
