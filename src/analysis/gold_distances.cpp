#include "analysis/gold_distances.h"

#include "game/motion.h"
#include "level/cell_kinds.h"

#include <queue>
#include <utility>

namespace {

constexpr uint32_t MoveUpdates = 16;
constexpr uint32_t FallUpdates = 2;
constexpr uint32_t DigUpdates = 40;   // the dig, the step over the hole and the drop into it

int cellOf(const Level& level, int column, int row) {
  if (column < 0 || column >= GridSize || row < 0 || row >= GridSize) {
    return OutsideCode;
  }
  return level.cells[cellIndex(column, row)];
}

struct Step {
  int to;
  uint32_t updates;
};

// Where one decision can take the player from a cell of the level as
// stored: a fall where nothing holds him (out of the bottom row to the top
// of the column), else a move the motion rules allow, or a dig into the
// floor diagonally below and the drop into it.
std::vector<Step> stepsFrom(const Level& level, int column, int row) {
  std::vector<Step> steps;
  if (row == LastRow) {
    if (!holdsActor(OutsideCode, cellOf(level, column, 0))) {
      steps.push_back({cellIndex(column, 0), FallUpdates});
    }
    return steps;
  }
  const int own = cellOf(level, column, row);
  const int below = cellOf(level, column, row + 1);
  if (!holdsActor(own, below)) {
    steps.push_back({cellIndex(column, row + 1), FallUpdates});
    return steps;
  }
  const int16_t moves[][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
  for (const auto& move : moves) {
    const int toColumn = column + move[0];
    const int toRow = row + move[1];
    const MovePlan plan = planMove(own, below, cellOf(level, toColumn, toRow), move[0], move[1]);
    if (plan.verdict != MoveVerdict::Moving) {
      continue;
    }
    steps.push_back({cellIndex(toColumn, toRow), MoveUpdates});
    const CellAt dug = digTarget(column, row, move[0]);
    if (move[0] != 0 && kindOf(cellOf(level, dug.column, dug.row)).diggable) {
      steps.push_back({cellIndex(dug.column, dug.row), DigUpdates});
    }
  }
  return steps;
}

}  // namespace

GoldDistances::GoldDistances(const Level& level) {
  std::vector<std::vector<Step>> arrivals(CellCount);
  for (int column = 0; column < GridSize; ++column) {
    for (int row = 0; row < GridSize; ++row) {
      for (const Step& step : stepsFrom(level, column, row)) {
        arrivals[step.to].push_back({cellIndex(column, row), step.updates});
      }
    }
  }
  for (int gold = 0; gold < CellCount; ++gold) {
    if (!kindOf(level.cells[gold]).valuable) {
      continue;
    }
    GoldMap map{gold, {}};
    map.updates.fill(Unreachable);
    using Entry = std::pair<uint32_t, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    map.updates[gold] = 0;
    open.push({0, gold});
    while (!open.empty()) {
      const auto [updates, cell] = open.top();
      open.pop();
      if (updates != map.updates[cell]) {
        continue;
      }
      for (const Step& back : arrivals[cell]) {
        if (updates + back.updates < map.updates[back.to]) {
          map.updates[back.to] = updates + back.updates;
          open.push({updates + back.updates, back.to});
        }
      }
    }
    golds_.push_back(std::move(map));
  }
}

uint32_t GoldDistances::toNearestGold(int column, int row, const int8_t* cells) const {
  if (column < 0 || column >= GridSize || row < 0 || row >= GridSize) {
    row = 0;
    column = column < 0 ? 0 : (column >= GridSize ? GridSize - 1 : column);
  }
  uint32_t nearest = Unreachable;
  bool anyLeft = false;
  for (const GoldMap& map : golds_) {
    if (!kindOf(cells[map.cell]).valuable) {
      continue;
    }
    anyLeft = true;
    const uint32_t updates = map.updates[cellIndex(column, row)];
    nearest = updates < nearest ? updates : nearest;
  }
  if (!anyLeft) {
    return 0;
  }
  return nearest == Unreachable ? NoWayKnown : nearest;
}
