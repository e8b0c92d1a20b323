// Every situation a player can reach in a level with its enemies left out,
// found by playing the real rules (Game::tick) from the level's start: the
// moments when the player's update reads the keys, joined by the moves that
// lead from one to the next.
//
// Without enemies nothing but the player's place, the open holes and their
// timer decides what can happen next: the trail and the random draws only
// steer enemies, and gold is free space to every motion rule. So every move
// is played from the level with all its gold in place, and the gold the
// player's own update takes on the way is kept on the move; one situation
// then stands for every way of having taken gold.
//
// The moves tried at each situation are the six keys held for one update (a
// move then runs its 16 updates and any fall after it) and, while a hole is
// open, standing until the next refill. A key that changes nothing but the
// clock (walking into brick, digging where there is no brick) is left out,
// so waits come as a standstill of 16 updates or the wait for a refill,
// never single updates; and at most MaxOpenHoles holes are open at once.
#pragma once

#include "level/level.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct Situation {
  int16_t x = 0;           // the player's pixel position
  int16_t y = 0;
  uint8_t openHoles = 0;   // 0: calm, the level as stored but for the gold taken
  bool fallsForever = false;  // dropping through an open column without end: no key is ever read
};

// What one move does: from a situation to another, or to the player's death.
struct SituationMove {
  static constexpr int32_t Death = -1;
  int32_t from = 0;
  int32_t to = Death;
  uint8_t keys = 0;          // HeldKey bits held for heldUpdates, then nothing for idleUpdates
  uint16_t heldUpdates = 0;
  uint16_t idleUpdates = 0;
  std::vector<uint16_t> gold;  // indices into goldCells of the gold taken on the way
};

class SituationGraph {
public:
  static constexpr int MaxOpenHoles = 1;

  // The level is played by the rules alone: nothing painted, no file touched.
  SituationGraph(const Level& level, size_t maxSituations);

  const std::vector<Situation>& situations() const { return situations_; }
  const std::vector<SituationMove>& moves() const { return moves_; }
  // The moves from a situation are moves()[firstMove(s) .. firstMove(s + 1)).
  size_t firstMove(size_t situation) const { return firstMove_[situation]; }
  // The cell index of each piece of gold of the level.
  const std::vector<int>& goldCells() const { return goldCells_; }

  // From the level's start to the first situation (a start in mid-air lands
  // first): nothing held for settleUpdates, taking this gold. start() is -1
  // when the player dies or falls for ever on the way.
  int32_t start() const { return start_; }
  uint16_t settleUpdates() const { return settleUpdates_; }
  const std::vector<uint16_t>& settleGold() const { return settleGold_; }

  // False when maxSituations were reached before every situation was seen.
  bool complete() const { return complete_; }

private:
  std::vector<Situation> situations_;
  std::vector<SituationMove> moves_;
  std::vector<size_t> firstMove_;
  std::vector<int> goldCells_;
  int32_t start_ = -1;
  uint16_t settleUpdates_ = 0;
  std::vector<uint16_t> settleGold_;
  bool complete_ = true;
};
