// One level set up for play as the replay runner sets it up (a game of the
// rules alone on that one level, a running game started with the seed, the
// level entered), so that a key sequence found here plays the same when the
// runner replays it. Nothing is painted and no file is touched.
//
// advance() plays one update of the running game, as the runner does, and
// draws the actors unseen after it, which counts down a crushed enemy's
// respawn delay; a cleared level or a lost life ends the play it was part of. A
// search jumps between saved moments with save() and restore(): everything a
// level changes is kept, with the generator's position, the trail only when
// enemies are on, since nothing else reads it. A search holds hundreds
// of thousands of saved moments, so each keeps only what differs from the
// level as entered: the changed cells and the cells with a trail.
#pragma once

#include "base/random_draws.h"
#include "game/enemy.h"
#include "game/game.h"
#include "game/player.h"
#include "level/level.h"
#include "level/tile_map.h"

#include <allegro.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

enum class UpdateResult { Playing, Cleared, Died };

// A cell that differs from the level as entered (gold taken, a hole open).
struct ChangedCell {
  uint16_t index;
  int8_t code;
};

// A cell the player's trail has reached; every other cell holds 0. Trail
// values never exceed 60000, so 16 bits hold them.
struct TrailMark {
  uint16_t index;
  uint16_t value;
};

struct SavedPlay {
  std::vector<ChangedCell> changedCells;   // in cell order
  std::vector<TrailMark> trail;            // empty without enemies
  std::vector<RefillCell> refillQueue;
  uint8_t refillCountdown = 0;
  int32_t goldLeft = 0;
  int16_t playerX = 0;
  int16_t playerY = 0;
  int32_t bonusTimer = 0;
  std::optional<Player> player;
  std::vector<Enemy> enemies;
  RandomPosition random;
};

class LevelSession {
public:
  // The level as stored; with enemies off its EnemyStart cells are dropped,
  // as the runner does for "enemies: off".
  LevelSession(const Level& level, bool enemies, unsigned seed);
  ~LevelSession();
  LevelSession(const LevelSession&) = delete;
  LevelSession& operator=(const LevelSession&) = delete;

  // One update with these HeldKey bits held.
  UpdateResult advance(uint8_t keys);

  // The player's next update will read the keys: no move under way, not
  // about to fall or drop out of the bottom row.
  bool atDecision() const;

  SavedPlay save();
  void restore(const SavedPlay& saved);

  const Game& game() const { return *game_; }
  bool enemiesOn() const { return enemies_; }

private:
  void markTrailCell(int index) { trailCells_[index / 64] |= uint64_t{1} << (index % 64); }

  bool enemies_;
  volatile char keys_[KEY_MAX] = {};   // the keys the player obeys
  std::unique_ptr<Game> game_;
  std::vector<int8_t> enteredCells_;
  // The cells that may hold a trail: those it held when last restored and
  // those the player has stood in since, so that a save need not look at
  // every cell.
  std::array<uint64_t, CellCount / 64> trailCells_{};
  std::vector<ChangedCell> changedScratch_;
  std::vector<TrailMark> trailScratch_;
};
