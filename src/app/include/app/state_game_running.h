// A game in progress in the window: one update of the running game per pass,
// hosted with what the window adds to the rules: Escape ends the game, a
// cleared level tallies its time bonus in frames of its own, a lost life
// plays its sound and holds the picture for a moment. Its destruction runs
// the end-of-game name entry, unless the ending says otherwise.
#pragma once

#include "base/state.h"
#include "game/running_update.h"

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
  // Told of each life taken, before the level is entered again, while the
  // player still stands where he died; the editor's play-test reports it.
  std::function<void(Game&)> lifeLost = {};
};

class State_GameRunning : public State, private RunningGameHost {
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
  bool endRequested() override;
  void gameOver() override;
  bool levelCleared() override;
  bool lifeLost() override;
  void tallyTimeBonus();

  GameEnding ending_;
};
