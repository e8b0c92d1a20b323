// A game in progress: one Game::tick per update, then the rules in this
// order: Escape or no lives ends the game; no gold left clears the level (the
// time bonus is tallied in frames of its own); a lost life restarts the level.
// Its destruction runs the end-of-game name entry, unless the ending says
// otherwise.
#pragma once

#include "base/state.h"

#include <cstdint>
#include <functional>

class Game;

// How a game in progress ends. The game returns to its title menu and offers
// the score to the high-score table; the level editor's play-test returns to
// the editor and keeps no score, and a watched proof also ends when its level
// is cleared, after the tally, so that the cleared level is what is last seen.
struct GameEnding {
  std::function<State*(Game&)> next;
  bool offerHighScore = true;
  bool endsWhenCleared = false;
};

class State_GameRunning : public State {
public:
  explicit State_GameRunning(Game* game);
  State_GameRunning(Game* game, GameEnding ending);
  ~State_GameRunning() override;
  void update() override;
  void draw() override;

  Game* game;
  uint8_t sequenceIndex = 0;
  uint8_t levelCount = 0;

private:
  void tallyTimeBonus();

  GameEnding ending_;
};
