#include "app/state_game_running.h"

#include "base/assets.h"
#include "base/globals.h"
#include "app/state_game_menu.h"
#include "game/game.h"
#include "game/player.h"
#include "level/level_drawing.h"
#include "scores/text.h"

#include <cstdlib>
#include <utility>

namespace {

constexpr int LifeLostPauseMs = 700;
constexpr int32_t TicksPerBonusPoint = 100;

void waitForEscapeRelease() {
  while (key[KEY_ESC]) {
    rest(1);
  }
}

}  // namespace

State_GameRunning::State_GameRunning(Game* game) : State_GameRunning(game, GameEnding{makeTitleMenu}) {}

State_GameRunning::State_GameRunning(Game* game, GameEnding ending) : game(game), ending_(std::move(ending)) {
  srand(game->gameSeed());
  sequenceIndex = 0;
  levelCount = game->shuffleOrder();
  game->createPlayer();
  game->enterLevel(0);
}

State_GameRunning::~State_GameRunning() {
  if (ending_.offerHighScore) {
    game->enterHighScore();
  }
  game->destroyActors();
}

void State_GameRunning::update() {
  if (bonusTimer >= 0) {
    --bonusTimer;
  }
  game->tick();
  if (key[KEY_ESC] || game->livesLeft() == 0) {
    waitForEscapeRelease();
    game->setState(ending_.next(*game));
    return;
  }
  if (game->goldLeft() == 0) {
    tallyTimeBonus();
    if (ending_.endsWhenCleared) {
      game->setState(ending_.next(*game));
      return;
    }
    ++sequenceIndex;
    if (sequenceIndex >= levelCount) {
      sequenceIndex = 0;
    }
    game->enterLevel(sequenceIndex);
  }
  if (game->loseLife()) {
    if (ending_.lifeLost) {
      ending_.lifeLost(*game);
    }
    playSample(AssetSampleLifeLost);
    rest(LifeLostPauseMs);
    game->enterLevel(sequenceIndex);
  }
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
