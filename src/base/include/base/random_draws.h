// The one door through which the rules reach chance: the C library's
// generator, seeded with srand and drawn with rand, in the order the rules
// ask. Nothing else in the program calls srand or rand.
//
// Because every draw passes here, where the generator stands is simply the
// seed and the number of draws since it. A search that jumps between saved
// moments of play saves that position and puts it back, and the draws that
// follow are the ones that followed then, without anything knowing how the
// C library keeps its state. Once a position has been asked for, the values
// drawn are kept, so putting back a position already reached costs nothing;
// a position before them, or of another seed, is reached by seeding again
// and drawing up to it.
#pragma once

#include <cstdint>

struct RandomPosition {
  unsigned seed = 1;
  uint64_t draws = 0;  // since the seed

  bool operator==(const RandomPosition& other) const { return seed == other.seed && draws == other.draws; }
};

void seedRandom(unsigned seed);
int drawRandom();

RandomPosition randomPosition();
// The next draw answers what the draw after `position` answered.
void restoreRandom(const RandomPosition& position);
