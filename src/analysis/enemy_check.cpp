#include "enemy_check.h"

#include "replay/replay_runner.h"

#include "game/game.h"
#include "game/player.h"

#include <string>

namespace {

bool hasEnemyStart(const Level& level) {
  for (int8_t cell : level.cells) {
    if (cell == EnemyStart) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool enemiesCatchWaitingPlayer(const Level& level, const std::vector<KeyRun>& way, int16_t x, int16_t y,
                               const DeadEndLimits& limits) {
  if (!hasEnemyStart(level) || limits.enemySeeds.empty()) {
    return false;
  }
  uint32_t wayUpdates = 0;
  for (const KeyRun& run : way) {
    wayUpdates += run.updates;
  }
  const std::string mapsBin = singleLevelMapsBin(level);
  const int livesAtStart = Player(nullptr).lives;
  for (unsigned seed : limits.enemySeeds) {
    Replay replay;
    replay.seed = seed;
    replay.keys = way;
    holdKeys(replay, 0, limits.enemyWaitUpdates);
    bool arrived = wayUpdates == 0;
    const ReplayOutcome outcome = playReplay(replay, mapsBin, [&](uint32_t update, const Game& game) {
      if (update == wayUpdates) {
        arrived = game.player->x == x && game.player->y == y && game.livesLeft() == livesAtStart;
      }
    });
    if (!arrived || outcome.end == ReplayEnd::Cleared || outcome.lives == livesAtStart) {
      return false;
    }
  }
  return true;
}
