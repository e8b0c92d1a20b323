#include "base/random_draws.h"

#include <cstdlib>
#include <vector>

namespace {

struct Generator {
  RandomPosition position;
  bool keeping = false;        // true once a position was asked for after the seed
  uint64_t firstKept = 0;      // the draw that kept[0] answered
  std::vector<int> kept;       // the C library's answers from firstKept on
};

Generator generator;

// Where the C library's own generator stands while draws are kept.
uint64_t libraryDraws() { return generator.firstKept + generator.kept.size(); }

void seedAndDrawUpTo(const RandomPosition& position) {
  srand(position.seed);
  for (uint64_t draw = 0; draw < position.draws; ++draw) {
    rand();
  }
  generator = Generator{position, true, position.draws, {}};
}

}  // namespace

void seedRandom(unsigned seed) {
  srand(seed);
  generator = Generator{};
  generator.position.seed = seed;
}

int drawRandom() {
  const uint64_t draw = generator.position.draws++;
  if (!generator.keeping) {
    return rand();
  }
  if (draw < libraryDraws()) {
    return generator.kept[draw - generator.firstKept];
  }
  generator.kept.push_back(rand());
  return generator.kept.back();
}

RandomPosition randomPosition() {
  if (!generator.keeping) {
    generator.keeping = true;
    generator.firstKept = generator.position.draws;
    generator.kept.clear();
  }
  return generator.position;
}

void restoreRandom(const RandomPosition& position) {
  if (!generator.keeping || position.seed != generator.position.seed || position.draws < generator.firstKept) {
    seedAndDrawUpTo(position);
    return;
  }
  while (libraryDraws() < position.draws) {
    generator.kept.push_back(rand());
  }
  generator.position = position;
}
