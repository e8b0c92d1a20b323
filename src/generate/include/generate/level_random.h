// The generator's own source of chance, apart from the game's one door
// (base/random_draws.h), which the rules played inside a check must have to
// themselves. A small generator of fixed arithmetic (SplitMix64), so that
// one seed builds the same level on every machine and library; the standard
// distributions do not promise that.
#pragma once

#include <cstdint>

class LevelRandom {
public:
  explicit LevelRandom(uint64_t seed) : state_(seed) {}

  uint64_t next();
  // 0 to count - 1; 0 when count is not positive.
  int below(int count);
  // low to high, both included.
  int between(int low, int high) { return low + below(high - low + 1); }
  bool chance(int percent) { return below(100) < percent; }

private:
  uint64_t state_;
};

// The seed of one candidate of a run, mixed so that neighbouring candidates
// share nothing.
uint64_t candidateSeed(uint64_t runSeed, int difficulty, uint64_t candidate);
