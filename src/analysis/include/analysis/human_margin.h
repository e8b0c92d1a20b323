// The human margin of a level: how late a person may make each press of its
// proof and still clear the level. A proof is played by a machine that
// presses each key at the exact update; a person reacts a fifth of a second
// late or more. For each press (a key going down), the press is made D
// updates late, the keys held before it held on meanwhile, and the margin
// of the press is the largest D, up to MarginCapUpdates, from whose
// resulting state a way was found that clears the level with no life lost.
// A level's margin is the least over its presses.
//
// The answer is sound: every margin it reports has a way behind it, played
// in full through the real rules (LevelSession), under the proof's seed.
// The ways are tried cheapest first: the proof's own keys played on late,
// then the solver's search from the late moment (any keys), bounded in
// states. It may fall short of the truth where that search finds no way
// that exists. A press is first tried at the cap; below it the delay is
// found by bisection, which takes a later press to be no easier than an
// earlier one, and the delay reported is always one that was tried and
// saved.
#pragma once

#include "replay/replay.h"

#include "level/level.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Delays are tried up to this many updates (0.3 seconds).
constexpr int MarginCapUpdates = 30;
// A press that may come this late (0.15 seconds, a quick person's
// reaction) leaves a person room; below it, it is critical.
constexpr int RoomyMarginUpdates = 15;

struct PressMargin {
  uint32_t update = 0;   // when the proof makes the press, from the level's start
  int column = 0;        // the player's cell then
  int row = 0;
  uint8_t keys = 0;      // HeldKey bits
  int marginUpdates = 0;
};

struct HumanMargin {
  int marginUpdates = MarginCapUpdates;  // the least over the presses; the cap without presses
  std::vector<PressMargin> presses;      // in the proof's order
  uint64_t updatesPlayed = 0;            // the work it took: updates of the rules played here,
  uint64_t searchStates = 0;             // and states kept by the searches from late moments

  // The share of presses with a margin of RoomyMarginUpdates or more; 1
  // without presses.
  double roomyShare() const;
  // The presses below RoomyMarginUpdates, in the proof's order.
  std::vector<PressMargin> criticalPresses() const;
};

// The work allowed to each search from a late moment, in states kept (never
// time, so that the same level and proof give the same margin anywhere); 0
// tries the quick ways on alone.
struct MarginLimits {
  size_t searchStates = 4000;
};

// Throws ReplayError when the proof does not clear the level without a
// death.
HumanMargin measureHumanMargin(const Level& level, const Replay& proof, const MarginLimits& limits = {});

// Whether every press of the proof may come delayUpdates late and a way
// still clears the level: a margin of at least delayUpdates, asked of each
// press once, at that delay, and given up at the first press that fails,
// for a maker of levels that only needs to know the margin clears a bar.
// Throws ReplayError as measureHumanMargin does.
bool pressesMayComeLate(const Level& level, const Replay& proof, int delayUpdates, const MarginLimits& limits = {});
