// A game in progress: one Game::tick per update, then the rules in this
// order: Escape or no lives ends the game; no gold left clears the level (the
// time bonus is tallied in frames of its own); a lost life restarts the level.
// Its destruction runs the end-of-game name entry.
#pragma once

#include "base/state.h"

#include <cstdint>

class Game;

class State_GameRunning : public State {
public:
  explicit State_GameRunning(Game* game);
  ~State_GameRunning() override;
  void update() override;
  void draw() override;

  Game* game;
  uint8_t sequenceIndex = 0;
  uint8_t levelCount = 0;

private:
  void tallyTimeBonus();
};
