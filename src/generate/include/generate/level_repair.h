// Mending what a check reports, instead of throwing the candidate away: a
// ladder under gold that no way reaches, a ladder out of a dead end, an
// enemy moved away from a player it catches at the start. Each answers
// whether it changed the level; the maker checks the level again after it.
#pragma once

#include "level/level.h"

#include <vector>

// The cell at (x, y), Brick outside the grid as the rules read it.
int8_t levelCellAt(const Level& level, int x, int y);

// A ladder from just under the gold down to the first floor below (through
// one floor at most, when the gold lies on a floor no ladder reaches).
bool ladderUnderGold(Level& level, int goldCell);

// A ladder from where the player stands up to the first place he can step
// off it: beside it onto a floor, or through the brick above onto the floor
// it makes.
bool ladderOutOf(Level& level, int standingCell);

// Moves the enemy that starts nearest the player to the first free spare
// cell, which is used up. False when no spare is left.
bool moveNearestEnemy(Level& level, std::vector<int>& spareCells);
