#include "analysis/level_rating.h"

#include "analysis/level_session.h"
#include "leveltext/level_set.h"
#include "replay/replay_runner.h"

#include "base/globals.h"
#include "game/enemy.h"
#include "game/game.h"
#include "game/player.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr int NearCells = 1;   // a chaser this many cells away (either axis) is close

int nearestCell(int pixel) { return (pixel + CellPixels / 2) / CellPixels; }

bool chaserClose(const Game& game) {
  const int column = nearestCell(game.player->x);
  const int row = nearestCell(game.player->y);
  for (const Enemy* enemy : game.enemies) {
    if (enemy->respawnDelay == 0 && std::abs(nearestCell(enemy->x) - column) <= NearCells &&
        std::abs(nearestCell(enemy->y) - row) <= NearCells) {
      return true;
    }
  }
  return false;
}

// Rough points of effort in two halves. Length: one per twenty seconds of
// way and one per ten holes. Threat: four per chaser, twelve divided by the
// seconds a chaser needs to reach a player who stands still, and one per two
// seconds with a chaser at arm's length. A player feels chasers more than a
// long walk, so on a level with chasers the threat outweighs the length
// even of the longest dig puzzle with a single chaser. A chaser that arrives at once counts as one
// arriving after a second, and closeness past twenty seconds counts no more,
// so that no one part swamps the rest.
void scoreParts(LevelRating& rating) {
  rating.lengthPoints = rating.proofSeconds / 20.0 + rating.digs / 10.0;
  rating.threatPoints = 0.0;
  if (rating.enemies > 0) {
    rating.threatPoints = 4.0 * rating.enemies + 12.0 / std::max(rating.standStillSeconds, 1.0) +
                          std::min(rating.closeSeconds, 20.0) / 2.0;
  }
  rating.figure = rating.lengthPoints + rating.threatPoints;
}

}  // namespace

double standStillSeconds(const Level& level) {
  const int capUpdates = static_cast<int>(StandStillCapSeconds * UpdatesPerSecond);
  int worstUpdates = capUpdates;
  for (unsigned seed = 1; seed <= StandStillSeeds && countOf(level, EnemyStart) > 0; ++seed) {
    LevelSession session(level, true, seed);
    for (int update = 1; update < worstUpdates; ++update) {
      if (session.advance(0) == UpdateResult::Died) {
        worstUpdates = update;
      }
    }
  }
  return secondsOf(worstUpdates);
}

LevelRating rateLevel(const Level& level, const Replay& proof) {
  const std::string mapsBin = singleLevelMapsBin(level);
  LevelRating rating;
  rating.enemies = countOf(level, EnemyStart);
  rating.gold = countOf(level, Gold);
  rating.standStillSeconds = standStillSeconds(level);
  size_t holesBefore = 0;
  uint32_t closeTicks = 0;
  const ReplayOutcome outcome = playReplay(proof, mapsBin, [&](uint32_t, const Game& game) {
    const size_t holes = game.map.refillQueue.size();
    rating.digs += holes > holesBefore ? static_cast<int>(holes - holesBefore) : 0;
    holesBefore = holes;
    closeTicks += chaserClose(game) ? 1 : 0;
  });
  if (outcome.end != ReplayEnd::Cleared || outcome.deaths != 0) {
    throw ReplayError("the proof does not clear the level: " + describeOutcome(outcome));
  }
  rating.proofSeconds = secondsOf(outcome.ticks);
  rating.closeSeconds = secondsOf(closeTicks);
  scoreParts(rating);
  return rating;
}

namespace {

bool rateLevelFile(const std::filesystem::path& file, RatedLevel& rated, std::string& error) {
  if (!readLevelFile(file.string(), rated.source, error)) {
    return false;
  }
  const std::filesystem::path proofPath = file.parent_path() / "replays" / (file.stem().string() + ".replay");
  if (!loadReplay(proofPath.string(), rated.proof, error)) {
    return false;
  }
  if (!proofFitsTheClock(rated.proof)) {
    error = proofPath.string() + ": longer than the level's clock allows for three lives";
    return false;
  }
  try {
    rated.rating = rateLevel(rated.source.level, rated.proof);
  } catch (const ReplayError& problem) {
    error = proofPath.string() + ": " + problem.what();
    return false;
  }
  return true;
}

}  // namespace

bool rateLevelList(const std::filesystem::path& listPath, std::vector<RatedLevel>& levels, std::string& error) {
  std::vector<std::string> names;
  if (!readLevelListNames(listPath, names, &error)) {
    return false;
  }
  for (const std::string& name : names) {
    RatedLevel rated{listPath.parent_path() / name, {}, {}, {}};
    if (!rateLevelFile(rated.file, rated, error)) {
      return false;
    }
    levels.push_back(std::move(rated));
  }
  return true;
}
