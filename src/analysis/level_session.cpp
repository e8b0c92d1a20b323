#include "analysis/level_session.h"

#include "replay/replay.h"
#include "replay/replay_runner.h"

#include "base/globals.h"
#include "game/motion.h"
#include "game/running_update.h"

#include <allegro.h>

#include <cstring>

LevelSession::LevelSession(const Level& level, bool enemies, unsigned seed)
    : enemies_(enemies),
      game_(std::make_unique<Game>(std::vector<Level>{enemies ? level : withoutEnemyStarts(level)}, Drawing::Unseen)) {
  game_->heldKeys = keys_;
  game_->orderMode = Linear;
  startRunningGame(*game_, seed);
  game_->enterLevel(0);
  enteredCells_.assign(game_->map.cells, game_->map.cells + CellCount);
}

LevelSession::~LevelSession() {
  game_->destroyActors();
  game_.reset();
}

UpdateResult LevelSession::advance(uint8_t keys) {
  holdOnly(keys, keys_);
  if (enemies_) {
    // The player's update marks the trail where he stands as it begins.
    const int32_t column = game_->player->x / CellPixels;
    const int32_t row = game_->player->y / CellPixels;
    if (insideGrid(column, row)) {
      markTrailCell(cellIndex(column, row));
    }
  }
  RunningGameHost endsAtClearOrDeath;
  uint8_t sequenceIndex = 0;
  const UpdateOutcome played = updateRunningGame(*game_, sequenceIndex, 1, endsAtClearOrDeath);
  game_->drawActors();
  switch (played) {
    case UpdateOutcome::Playing:
      return UpdateResult::Playing;
    case UpdateOutcome::LevelCleared:
      return UpdateResult::Cleared;
    case UpdateOutcome::LifeLost:
    case UpdateOutcome::GameOver:
      break;
  }
  return UpdateResult::Died;
}

bool LevelSession::atDecision() const {
  const Player& player = *game_->player;
  return player.stepsLeft == 0 && player.y < BottomRowTopPixel &&
         isSupported(game_->map, player.x, player.y);
}

SavedPlay LevelSession::save() {
  const TileMap& map = game_->map;
  const int8_t* cells = map.cells;
  // Gathered in scratch and copied once, so that a saved moment costs one
  // allocation of the size it needs for each.
  changedScratch_.clear();
  for (uint16_t word = 0; word < CellCount; word += sizeof(uint64_t)) {
    uint64_t now = 0;
    uint64_t entered = 0;
    std::memcpy(&now, cells + word, sizeof now);
    std::memcpy(&entered, enteredCells_.data() + word, sizeof entered);
    for (uint16_t index = word; now != entered && index < word + sizeof(uint64_t); ++index) {
      if (cells[index] != enteredCells_[index]) {
        changedScratch_.push_back({index, cells[index]});
      }
    }
  }
  trailScratch_.clear();
  for (size_t word = 0; word < trailCells_.size(); ++word) {
    for (uint64_t bits = trailCells_[word]; bits != 0; bits &= bits - 1) {
      const auto index = static_cast<uint16_t>(word * 64 + static_cast<size_t>(__builtin_ctzll(bits)));
      if (map.trailValue(index) != 0) {
        trailScratch_.push_back({index, static_cast<uint16_t>(map.trailValue(index))});
      }
    }
  }
  SavedPlay saved;
  saved.changedCells.assign(changedScratch_.begin(), changedScratch_.end());
  saved.trail.assign(trailScratch_.begin(), trailScratch_.end());
  saved.refillQueue.assign(map.refillQueue.begin(), map.refillQueue.end());
  saved.refillCountdown = map.refillCountdown;
  saved.goldLeft = map.goldLeft;
  saved.playerX = map.playerX;
  saved.playerY = map.playerY;
  saved.bonusTimer = bonusTimer;
  saved.player.emplace(*game_->player);
  saved.enemies.reserve(game_->enemies.size());
  for (const Enemy* enemy : game_->enemies) {
    saved.enemies.push_back(*enemy);
  }
  saved.random = randomPosition();
  return saved;
}

void LevelSession::restore(const SavedPlay& saved) {
  TileMap& map = game_->map;
  std::memcpy(map.cells, enteredCells_.data(), CellCount);
  for (const ChangedCell& changed : saved.changedCells) {
    map.cells[changed.index] = changed.code;
  }
  if (enemies_) {
    map.clearTrail();
    trailCells_.fill(0);
    for (const TrailMark& mark : saved.trail) {
      map.setTrailValue(mark.index, mark.value);
      markTrailCell(mark.index);
    }
  }
  map.refillQueue.assign(saved.refillQueue.begin(), saved.refillQueue.end());
  map.refillCountdown = saved.refillCountdown;
  map.goldLeft = saved.goldLeft;
  map.playerX = saved.playerX;
  map.playerY = saved.playerY;
  bonusTimer = saved.bonusTimer;
  // Actors point back at their game: a moment saved in another session of
  // the same level plays on in this one.
  *game_->player = *saved.player;
  game_->player->game = game_.get();
  for (size_t index = 0; index < saved.enemies.size(); ++index) {
    *game_->enemies[index] = saved.enemies[index];
    game_->enemies[index]->game = game_.get();
  }
  restoreRandom(saved.random);
}
