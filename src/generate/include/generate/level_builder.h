// Builds a candidate level the way first: floors of brick stacked up from
// the ground, every stretch of floor joined to the floor below it by a
// ladder, so that every place the player can stand on leads back to every
// other and a fall, a drop off a rope or a hole dug through a floor lands on
// the way again. Around that way come the shapes of the game: gaps to fall
// through, ropes over gaps and out from ladders, and sealed chambers hung
// under a floor, entered only by digging and left by a gap in their floor
// (the dig puzzles); some floors are the tops of slabs too thick to dig
// through. Gold goes where the way passes; the chasers start far
// from the player. Nothing here is checked against the rules: the maker
// does that, and repairs what a check reports.
#pragma once

#include "generate/level_random.h"

#include "level/level.h"

#include <vector>

// How much of each shape a level of one difficulty gets, each a range
// drawn from per level.
struct ShapeRanges {
  int fewestFloors, mostFloors;        // the ground included
  int fewestGold, mostGold;
  int fewestChambers, mostChambers;
  int fewestEnemies, mostEnemies;
  int ropePercent;                      // chance of a rope over each gap
  int extraLadderPercent;               // chance of a second ladder on a long floor
  int slabPercent;                      // chance of a floor being the top of a slab
};

// Difficulty 1 to 5.
ShapeRanges shapeRangesFor(int difficulty);

struct Sketch {
  Level level;
  // Further places an enemy could start, farthest from the player first,
  // for the repair of an unfair start.
  std::vector<int> spareEnemyCells;
  int chambers = 0;
};

Sketch buildSketch(const ShapeRanges& ranges, LevelRandom& random);
