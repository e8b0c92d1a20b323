// Whether a level can be finished: every piece of gold can be reached from
// the player's start, and all of it can be taken in one run.
//
// The check walks the cells the player can take a decision in, asking the
// game's own motion rules (game/motion.h) about the cells around him. It
// grants him more than play ever does, so that what it calls out of reach
// truly is, whatever keys are pressed: a brick he could dig counts as open or
// closed at will, at any moment (play refills holes in an order and at times
// the walk does not follow), and dying is ignored except when he drops out of
// the bottom row above a top cell that holds him, where he dies unless he
// climbs down into the field in that very tick. Enemies are left out: they
// can only stop him. What it calls reachable may still be out of reach in
// play, which only a proof settles; so the editor may answer "No way found"
// from it without a search, never "Cleared".
#pragma once

#include "level/level.h"

#include <string>
#include <vector>

// What stops the level from being finished, one message per fault, with
// cells as "(x, y)". Empty when no fault is certain.
std::vector<std::string> findLevelFaults(const Level& level);
// The same for a player standing in the cell (column, row) instead of at
// the start: how the dead-end check makes sure that a place is one.
std::vector<std::string> findLevelFaultsFrom(const Level& level, int column, int row);

// The cell indices (cellIndex) of the gold that cannot be reached from the
// player's start: all of it when the level has no start.
std::vector<int> unreachableGold(const Level& level);
