#include "generate/level_random.h"

uint64_t LevelRandom::next() {
  state_ += 0x9e3779b97f4a7c15ULL;
  uint64_t mixed = state_;
  mixed = (mixed ^ (mixed >> 30)) * 0xbf58476d1ce4e5b9ULL;
  mixed = (mixed ^ (mixed >> 27)) * 0x94d049bb133111ebULL;
  return mixed ^ (mixed >> 31);
}

int LevelRandom::below(int count) {
  return count <= 0 ? 0 : static_cast<int>(next() % static_cast<uint64_t>(count));
}

uint64_t candidateSeed(uint64_t runSeed, int difficulty, uint64_t candidate) {
  LevelRandom mixer(runSeed ^ (static_cast<uint64_t>(difficulty) << 56));
  LevelRandom second(mixer.next() + candidate);
  return second.next();
}
