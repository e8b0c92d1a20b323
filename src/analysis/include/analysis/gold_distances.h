// A guide for the search: for every piece of gold, an estimate of how many
// updates the player needs to reach it from each cell of the level as
// stored, moving cell by cell under the motion rules and digging into the
// floor diagonally below. It knows nothing of time (holes that close, the
// chasers), so it only orders the search: a wrong guess costs time, never a
// solution.
#pragma once

#include "level/level.h"

#include <array>
#include <cstdint>
#include <vector>

class GoldDistances {
public:
  static constexpr uint32_t Unreachable = 0xFFFFFFFF;
  // The estimate where the cell-by-cell rules find no way: the search may
  // still find one (footholds a refill leaves, a trail that lures a chaser
  // off), so it is large but keeps such states in order of time.
  static constexpr uint32_t NoWayKnown = 4096;

  explicit GoldDistances(const Level& level);

  // The estimate from the cell to the nearest piece of gold still lying in
  // cells (a live grid of CellCount codes); 0 when none is left, NoWayKnown
  // when none can be reached.
  uint32_t toNearestGold(int column, int row, const int8_t* cells) const;

private:
  struct GoldMap {
    int cell;
    std::array<uint32_t, CellCount> updates;
  };
  std::vector<GoldMap> golds_;
};
