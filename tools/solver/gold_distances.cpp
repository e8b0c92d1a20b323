#include "gold_distances.h"

#include <queue>
#include <utility>

namespace {

constexpr uint32_t WalkUpdates = 16;
constexpr uint32_t DropUpdates = 4;
constexpr uint32_t DigThroughUpdates = 48;

int8_t cellOf(const Level& level, int column, int row) {
  if (column < 0 || column >= GridSize || row < 0 || row >= GridSize) {
    return Brick;
  }
  return level.cells[cellIndex(column, row)];
}

// The relaxed cost of one step from (column, row) to the neighbour at
// (column + dx, row + dy), or Unreachable. Going down out of the bottom row
// arrives in the top row of the same column.
uint32_t stepCost(const Level& level, int column, int row, int dx, int dy) {
  const int targetRow = (row == GridSize - 1 && dy == 1) ? 0 : row + dy;
  const int8_t target = cellOf(level, column + dx, targetRow);
  if (dy == 0) {
    return target == Brick ? GoldDistances::Unreachable : WalkUpdates;
  }
  if (dy < 0) {
    const bool climbs = cellOf(level, column, row) == Ladder && target != Brick;
    return climbs ? WalkUpdates : GoldDistances::Unreachable;
  }
  if (targetRow == 0) {
    return (target == Brick || target == Ladder) ? GoldDistances::Unreachable : DropUpdates;
  }
  return target == Brick ? DigThroughUpdates : DropUpdates;
}

}  // namespace

GoldDistances::GoldDistances(const Level& level) {
  constexpr int Moves[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
  for (int gold = 0; gold < CellCount; ++gold) {
    if (level.cells[gold] != Gold) {
      continue;
    }
    GoldMap map{gold, {}};
    map.updates.fill(Unreachable);
    using Entry = std::pair<uint32_t, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    map.updates[gold] = 0;
    open.push({0, gold});
    while (!open.empty()) {
      const auto [cost, cell] = open.top();
      open.pop();
      if (cost != map.updates[cell]) {
        continue;
      }
      const int column = cell / GridSize;
      const int row = cell % GridSize;
      // Every cell from which one step arrives here, the step reversed.
      for (const auto& move : Moves) {
        int fromColumn = column - move[0];
        int fromRow = row - move[1];
        if (move[1] == 1 && row == 0) {
          fromRow = GridSize - 1;
        }
        if (fromColumn < 0 || fromColumn >= GridSize || fromRow < 0 || fromRow >= GridSize) {
          continue;
        }
        const uint32_t step = stepCost(level, fromColumn, fromRow, move[0], move[1]);
        const int from = cellIndex(fromColumn, fromRow);
        if (step != Unreachable && cost + step < map.updates[from]) {
          map.updates[from] = cost + step;
          open.push({cost + step, from});
        }
      }
    }
    golds_.push_back(std::move(map));
  }
}

uint32_t GoldDistances::toNearestGold(int column, int row, const std::vector<int8_t>& cells) const {
  if (column < 0 || column >= GridSize || row < 0 || row >= GridSize) {
    row = 0;
    column = column < 0 ? 0 : (column >= GridSize ? GridSize - 1 : column);
  }
  uint32_t nearest = 0;
  bool anyLeft = false;
  for (const GoldMap& map : golds_) {
    if (cells[map.cell] != Gold) {
      continue;
    }
    const uint32_t updates = map.updates[cellIndex(column, row)];
    if (!anyLeft || updates < nearest) {
      nearest = updates;
      anyLeft = true;
    }
  }
  return nearest;
}
