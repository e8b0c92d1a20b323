// The one object that holds the program's data for the whole run: the level
// set and live map, the actors of the level in play, the high-score table and
// the level-order mode. Its construction reads maps.bin and user.bin and makes
// the first state current (the title menu in the game; the state is made by
// the caller, which sits above the rules); its destruction writes user.bin.
#pragma once

#include "base/globals.h"
#include "level/tile_map.h"
#include "scores/high_score_table.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class Enemy;
class Player;
class State;

enum OrderMode : uint8_t { Linear = 0, Random = 1 };

class Game;

// The level clock, in updates: set when a level is entered, and so once for
// each life spent in it.
constexpr int32_t LevelClockTicks = 120 * UpdatesPerSecond;  // two minutes

// Builds the state that becomes current when the Game is built; tools that
// drive the rules themselves return null.
using FirstState = std::function<State*(Game&)>;
inline State* noFirstState(Game&) { return nullptr; }

class Game {
public:
  explicit Game(const FirstState& makeFirstState);
  // A game of the rules alone, for replays, proofs and checks: the levels
  // from memory (1 to 255), a high-score table tied to no file, no state
  // made. With Drawing::Unseen it needs neither a window nor assets.dat.
  Game(const std::vector<Level>& levels, Drawing drawing);
  ~Game();
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  void setState(State* newState);

  void tick();
  // The actors' part of a frame. Drawing an enemy counts down a crushed
  // one's delay, so a run that paints nothing (Drawing::Unseen) still calls
  // this once after each update, as the window does.
  void drawActors();
  int livesLeft() const;
  bool loseLife();
  void createPlayer();
  void enterLevel(uint8_t sequenceIndex);
  void destroyActors();
  int32_t goldLeft() const { return map.goldLeft; }
  uint8_t shuffleOrder() { return map.shuffleOrder(); }

  // The scores subsystem's screens for this game: the status line, the
  // end-of-game name entry and the title-screen table.
  void drawStatus();
  void enterHighScore();
  void drawHighScores();

  TileMap map;
  std::vector<Enemy*> enemies;
  HighScoreTable highScores;
  uint8_t orderMode = Linear;
  Player* player = nullptr;

  // Where the name entry takes its keys from; readkey in the game, a script in
  // headless tests.
  std::function<int()> readKey;
  // The seed of every new game; the clock in the game, fixed in tests so that
  // a whole game replays the same.
  std::function<unsigned()> gameSeed;
  // The key states the player obeys, indexed by KEY_*: the library's key[]
  // in the game; a watched replay holds keys of its own here, where the
  // keyboard's thread cannot write.
  const volatile char* heldKeys;
  // Where the player starts each life instead of the level's start cell, in
  // pixels: the editor's play-test from a cell, which plays the level as drawn.
  std::optional<SpawnPoint> startOverride;
};
