// A small level played through the real Game, tick by tick, for the actor
// and rules tests. Levels are written as a few rows of level text in the
// top-left corner; everything not written is brick, so a small cave is
// walled in on every side.
#pragma once

#include "base/assets.h"
#include "game/enemy.h"
#include "game/game.h"
#include "game/player.h"
#include "support/headless.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

// Pads the rows to 32 by 32 with brick.
Level caveLevel(const std::vector<std::string>& rows);

class ActorPlay {
public:
  explicit ActorPlay(const std::vector<std::string>& rows, unsigned seed = 1);
  explicit ActorPlay(const Level& level, unsigned seed = 1);

  Game& game() { return *game_; }
  Player& player() { return *game_->player; }
  Enemy& enemy(size_t index) { return *game_->enemies.at(index); }
  TileMap& map() { return game_->map; }

  // Holds exactly these keys (KEY_* scancodes) from now on.
  void hold(std::initializer_list<int> keys);
  // Ticks as the main loop does: Game::tick, then the frame's drawActors,
  // which counts down a crushed enemy's delay.
  void play(int ticks);
  void playHolding(int ticks, std::initializer_list<int> keys);

private:
  ScopedWorkDir dir_;
  std::unique_ptr<Game> game_;
};
