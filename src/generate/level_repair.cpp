#include "generate/level_repair.h"

#include <cstdlib>

namespace {

bool holds(int8_t code) { return code == Brick || code == Ladder; }

// The player could stand in (x, y): open, and held there.
bool standable(const Level& level, int x, int y) {
  const int8_t code = levelCellAt(level, x, y);
  return code != Brick && (code == Ladder || code == Rope || holds(levelCellAt(level, x, y + 1)));
}

constexpr int LongestRepairLadder = 12;
// A repair never digs into the two rows of ground, which would open the
// bottom of the field.
constexpr int LowestRepairRow = GridSize - 3;

}  // namespace

int8_t levelCellAt(const Level& level, int x, int y) {
  const bool inside = x >= 0 && x < GridSize && y >= 0 && y < GridSize;
  return inside ? level.cells[cellIndex(x, y)] : static_cast<int8_t>(Brick);
}

bool ladderUnderGold(Level& level, int goldCell) {
  const int x = goldCell / GridSize;
  std::vector<int> laid;
  bool crossedFloor = false;
  bool lastOpen = false;
  for (int y = goldCell % GridSize + 1; y < GridSize && static_cast<int>(laid.size()) <= LongestRepairLadder; ++y) {
    const int8_t code = levelCellAt(level, x, y);
    const bool restsHere = code == Ladder || (code == Brick && lastOpen);
    if (restsHere) {
      for (int cell : laid) {
        level.cells[cell] = Ladder;
      }
      return !laid.empty();
    }
    if (code == Brick && (crossedFloor || y > LowestRepairRow)) {
      return false;
    }
    if (code != Brick && code != Empty) {
      return false;
    }
    crossedFloor = crossedFloor || code == Brick;
    lastOpen = code == Empty;
    laid.push_back(cellIndex(x, y));
  }
  return false;
}

bool ladderOutOf(Level& level, int standingCell) {
  const int x = standingCell / GridSize;
  std::vector<int> laid;
  for (int y = standingCell % GridSize; y >= 1 && static_cast<int>(laid.size()) < LongestRepairLadder; --y) {
    const int8_t code = levelCellAt(level, x, y);
    if (code != Empty && code != Brick && code != Ladder) {
      return false;
    }
    laid.push_back(cellIndex(x, y));
    const bool below = y < standingCell % GridSize;
    if (below && (standable(level, x - 1, y) || standable(level, x + 1, y))) {
      for (int cell : laid) {
        level.cells[cell] = Ladder;
      }
      return true;
    }
  }
  return false;
}

bool moveNearestEnemy(Level& level, std::vector<int>& spareCells) {
  int player = -1;
  for (int index = 0; index < CellCount; ++index) {
    player = level.cells[index] == PlayerStart ? index : player;
  }
  int nearest = -1;
  int nearestDistance = 1 << 30;
  for (int index = 0; index < CellCount && player >= 0; ++index) {
    const int distance = std::abs(index / GridSize - player / GridSize) + std::abs(index % GridSize - player % GridSize);
    if (level.cells[index] == EnemyStart && distance < nearestDistance) {
      nearest = index;
      nearestDistance = distance;
    }
  }
  while (nearest >= 0 && !spareCells.empty()) {
    const int spare = spareCells.front();
    spareCells.erase(spareCells.begin());
    if (level.cells[spare] == Empty) {
      level.cells[nearest] = Empty;
      level.cells[spare] = EnemyStart;
      return true;
    }
  }
  return false;
}
