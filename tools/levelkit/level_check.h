// A check that a level can be finished: every piece of gold can be reached
// from the player's start, and they can all be taken in one run.
//
// The check walks the cells under the game's motion rules (one cell per move,
// climbing only on ladders, hanging on ropes, falling when unsupported, the
// bottom row dropping through to the top of its column) and lets the player
// dig a brick diagonally below and drop straight through that hole before it
// refills. Enemies are left out: dodging them is the player's part.
#pragma once

#include "level/level.h"

#include <string>
#include <vector>

// What stops the level from being finished, one message per fault, with
// cells as "(x, y)". Empty when every piece of gold can be taken.
std::vector<std::string> findLevelFaults(const Level& level);

// The cell indices (cellIndex) of the gold that cannot be reached from the
// player's start: all of it when the level has no start.
std::vector<int> unreachableGold(const Level& level);
