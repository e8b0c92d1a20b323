// Plays the game headless through the real main loop, one pass per tick, the
// way a restless player would: random held keys from a seeded generator, a
// random level order now and then, Escape now and then and always after a
// long game, and a random name typed at every name entry. The same seed
// always plays the same games.
#pragma once

#include <cstdint>
#include <random>
#include <set>
#include <vector>

class Game;
class State;

struct SoakCounts {
  uint64_t ticks = 0;
  uint64_t games = 0;
  uint64_t deaths = 0;
  uint64_t clears = 0;
  uint64_t nameEntries = 0;
  std::set<int> storedLevelsPlayed;   // indices into the level set
};

class SoakPlayer {
public:
  // Takes over the game's seed and name-entry key source.
  SoakPlayer(Game& game, unsigned seed);

  // Plays for at least the given number of ticks.
  void play(uint64_t ticks);
  // Leaves a game in progress and chooses Exit, which ends the main loop.
  void exitFromMenu();

  const SoakCounts& counts() const { return counts_; }

private:
  void playMenu();
  void playHeldKeys();
  void press(int scancode);
  void escape();
  void pass(const std::vector<int>& heldKeys, bool escapeHeld = false);
  void noteProgress(const State* runningBefore, int livesBefore, int sequenceBefore);
  void notePosition();
  int typedKey();
  bool inGame() const;

  Game& game_;
  std::mt19937 random_;
  SoakCounts counts_;
  uint64_t gameTicks_ = 0;
  int keysLeftInName_ = -1;
};
