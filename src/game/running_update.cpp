#include "game/running_update.h"

#include "base/globals.h"
#include "base/random_draws.h"
#include "game/game.h"

uint8_t startRunningGame(Game& game, unsigned seed) {
  seedRandom(seed);
  const uint8_t levelCount = game.shuffleOrder();
  game.createPlayer();
  return levelCount;
}

int32_t timeBonusFor(int32_t clockTicks) {
  return clockTicks > 0 ? (clockTicks + TicksPerBonusPoint - 1) / TicksPerBonusPoint : 0;
}

UpdateOutcome updateRunningGame(Game& game, uint8_t& sequenceIndex, uint8_t levelCount, RunningGameHost& host) {
  if (bonusTimer >= 0) {
    --bonusTimer;
  }
  game.tick();
  if (host.endRequested() || game.livesLeft() == 0) {
    host.gameOver();
    return UpdateOutcome::GameOver;
  }
  UpdateOutcome outcome = UpdateOutcome::Playing;
  // Cleared comes first: entering the next level makes the player alive
  // again, so a level cleared as he is caught costs no life.
  if (clearsLevel(game.goldLeft())) {
    if (!host.levelCleared()) {
      return UpdateOutcome::LevelCleared;
    }
    ++sequenceIndex;
    if (sequenceIndex >= levelCount) {
      sequenceIndex = 0;
    }
    game.enterLevel(sequenceIndex);
    outcome = UpdateOutcome::LevelCleared;
  }
  if (game.loseLife()) {
    if (host.lifeLost()) {
      game.enterLevel(sequenceIndex);
    }
    return UpdateOutcome::LifeLost;
  }
  return outcome;
}
