// A guide for the search: for every piece of gold, an estimate of how many
// updates the player needs to reach it from each cell of the level as
// stored. It relaxes the rules (no falling while walking over open space,
// every brick below diggable) so that it never calls a cell hopeless that
// the real rules might still get through; it only orders the search.
#pragma once

#include "level/level.h"

#include <array>
#include <cstdint>
#include <vector>

class GoldDistances {
public:
  static constexpr uint32_t Unreachable = 0xFFFFFFFF;

  explicit GoldDistances(const Level& level);

  // The estimate from the cell to the nearest piece of gold still lying in
  // cells; 0 when none is left.
  uint32_t toNearestGold(int column, int row, const std::vector<int8_t>& cells) const;

private:
  struct GoldMap {
    int cell;
    std::array<uint32_t, CellCount> updates;
  };
  std::vector<GoldMap> golds_;
};
