// The dead ends of a level: places a player can reach, with gold left,
// from which the level can no longer be cleared. A trap is one where the
// player cannot even lose a life: only Escape ends it, and with it the run.
// One that costs a life lets the level start again, one life down.
//
// How it decides (levels/README.md says it for level designers): every
// situation the player can reach with the enemies left out is played
// through the real rules (SituationGraph). A situation cannot be cleared
// when no single way on from it passes all the gold still lying; a life can
// still be lost when some way on ends under a refill or above a closed top
// row, or when, played the way in with the level's enemies under each of
// several seeds, an enemy catches the player waiting there every time.
// Anything less sure counts as a trap. Dead ends are reported where the
// player stands with no hole open: one with a hole open either ends under
// the refill or, once the holes have closed, in such a calm one.
//
// The situations leave ways out (one hole open at a time, waits in steps),
// so a place without a way on is only sure to be a dead end when the
// reachability check (analysis/reachability.h), which grants the player
// more than the rules do, cannot clear the level from there either; else it
// is reported as unsure, neither a dead end nor a pass. So the check never
// calls a place a dead end from which the solver, or a player, clears the
// level.
#pragma once

#include "replay/replay.h"

#include "level/level.h"

#include <cstddef>
#include <vector>

enum class DeadEndKind { Trap, CostsLife, Unsure };

// A run of dead-end situations side by side, all of one kind.
struct DeadEnd {
  DeadEndKind kind = DeadEndKind::Trap;
  std::vector<int> cells;      // cell indices where the player stands in it, in index order
  std::vector<KeyRun> way;     // from the level's start, enemies left out, into its first cell
  bool enemyCatches = false;   // costs a life only because the enemies come for him
};

struct DeadEndLimits {
  size_t maxSituations = 400000;
  // Updates a player waits in a dead end for an enemy to come.
  uint32_t enemyWaitUpdates = 3000;
  // Seeds of the plays that must all end with the catch.
  std::vector<unsigned> enemySeeds = {1, 2, 3};
  // Also walk the graph for a way that takes all the gold (wayOut), which
  // costs about as much again as the rest.
  bool findWayOut = false;
};

struct DeadEndReport {
  std::vector<DeadEnd> deadEnds;   // traps first, each kind in the order first reached
  size_t situations = 0;
  bool complete = true;            // false when the search stopped at maxSituations
  // When asked for: a way from the start that takes every piece of gold,
  // enemies left out, as the graph played it; empty when none was found.
  // A level's enemies may still catch a player who follows it, but it is a
  // first guess for the solver (SearchLimits::firstGuess).
  std::vector<KeyRun> wayOut;
  double seconds = 0.0;

  size_t count(DeadEndKind kind) const;
};

// The level is played by the rules alone: nothing painted, no file touched.
DeadEndReport findDeadEnds(const Level& level, const DeadEndLimits& limits = {});
