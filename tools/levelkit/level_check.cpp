#include "level_check.h"

#include <deque>

namespace {

constexpr int NoHole = -1;
constexpr int HoleSlots = CellCount + 1;
constexpr int LastRow = GridSize - 1;

struct Cell {
  int x;
  int y;
};

// Where the player stands, and the one dug hole that matters while the
// player drops through it; any other hole has refilled by the next visit.
struct Position {
  Cell cell;
  int hole;
};

bool inGrid(int x, int y) { return x >= 0 && x < GridSize && y >= 0 && y < GridSize; }

std::string describe(Cell cell) {
  return "(" + std::to_string(cell.x) + ", " + std::to_string(cell.y) + ")";
}

class Walker {
public:
  explicit Walker(const Level& level) : level_(level) {}

  // Every cell the player can pass through starting from a cell.
  std::vector<bool> reachableFrom(Cell start) const {
    std::vector<bool> seen(static_cast<size_t>(CellCount) * HoleSlots, false);
    std::vector<bool> cells(CellCount, false);
    std::deque<Position> pending{{start, NoHole}};
    seen[key({start, NoHole})] = true;
    while (!pending.empty()) {
      const Position at = pending.front();
      pending.pop_front();
      cells[cellIndex(at.cell.x, at.cell.y)] = true;
      for (const Position& next : successors(at)) {
        if (!seen[key(next)]) {
          seen[key(next)] = true;
          pending.push_back(next);
        }
      }
    }
    return cells;
  }

private:
  static size_t key(const Position& p) {
    return static_cast<size_t>(cellIndex(p.cell.x, p.cell.y)) * HoleSlots + (p.hole + 1);
  }

  int codeAt(int x, int y, int hole) const {
    if (!inGrid(x, y)) {
      return Brick;
    }
    return cellIndex(x, y) == hole ? static_cast<int>(Empty) : level_.cells[cellIndex(x, y)];
  }

  bool supported(Cell c, int hole) const {
    const int own = codeAt(c.x, c.y, hole);
    const int below = codeAt(c.x, c.y + 1, hole);
    return own == Ladder || own == Rope || below == Brick || below == Ladder;
  }

  // The hole only counts while the player is over it or in it.
  static Position moveTo(Cell to, int hole) {
    const bool nearHole = hole != NoHole && to.x == hole / GridSize &&
                          (to.y == hole % GridSize || to.y == hole % GridSize - 1);
    return {to, nearHole ? hole : NoHole};
  }

  std::vector<Position> successors(const Position& at) const {
    const Cell c = at.cell;
    if (c.y == LastRow) {
      // Out through the bottom: back in at the top of the column, unless a
      // brick or ladder there holds the player above the field, which kills.
      const int top = codeAt(c.x, 0, at.hole);
      if (top == Brick || top == Ladder) {
        return {};
      }
      return {moveTo({c.x, 0}, at.hole)};
    }
    if (!supported(c, at.hole)) {
      return {moveTo({c.x, c.y + 1}, at.hole)};
    }
    std::vector<Position> next;
    const int own = codeAt(c.x, c.y, at.hole);
    const int below = codeAt(c.x, c.y + 1, at.hole);
    if (own == Ladder && codeAt(c.x, c.y - 1, at.hole) != Brick) {
      next.push_back(moveTo({c.x, c.y - 1}, at.hole));
    }
    if (below != Brick && (below == Ladder || own == Ladder || own == Rope)) {
      next.push_back(moveTo({c.x, c.y + 1}, at.hole));
    }
    for (int side : {-1, 1}) {
      if (codeAt(c.x + side, c.y, at.hole) != Brick) {
        next.push_back(moveTo({c.x + side, c.y}, at.hole));
      }
      const int digX = c.x + side;
      const int digY = c.y + 1;
      if (inGrid(digX, digY) && codeAt(digX, digY, at.hole) == Brick) {
        next.push_back({c, cellIndex(digX, digY)});
      }
    }
    return next;
  }

  const Level& level_;
};

// The last PlayerStart in reading order, as the game picks it.
Cell playerStart(const Level& level) {
  Cell start{-1, -1};
  for (int y = 0; y < GridSize; ++y) {
    for (int x = 0; x < GridSize; ++x) {
      if (level.cells[cellIndex(x, y)] == PlayerStart) {
        start = {x, y};
      }
    }
  }
  return start;
}

std::vector<Cell> goldCells(const Level& level) {
  std::vector<Cell> gold;
  for (int y = 0; y < GridSize; ++y) {
    for (int x = 0; x < GridSize; ++x) {
      if (level.cells[cellIndex(x, y)] == Gold) {
        gold.push_back({x, y});
      }
    }
  }
  return gold;
}

}  // namespace

std::vector<std::string> findLevelFaults(const Level& level) {
  const Cell start = playerStart(level);
  if (start.x < 0) {
    return {"no player start"};
  }
  const Walker walker(level);
  const std::vector<Cell> gold = goldCells(level);
  const std::vector<bool> fromStart = walker.reachableFrom(start);
  std::vector<std::string> faults;
  std::vector<Cell> reachable;
  for (const Cell& piece : gold) {
    if (fromStart[cellIndex(piece.x, piece.y)]) {
      reachable.push_back(piece);
    } else {
      faults.push_back("gold at " + describe(piece) + " cannot be reached from the start");
    }
  }
  std::vector<std::vector<bool>> fromGold;
  for (const Cell& piece : reachable) {
    fromGold.push_back(walker.reachableFrom(piece));
  }
  // All of it can be taken in one run exactly when, of any two pieces, one
  // can be reached from the other.
  for (size_t a = 0; a < reachable.size(); ++a) {
    for (size_t b = a + 1; b < reachable.size(); ++b) {
      if (!fromGold[a][cellIndex(reachable[b].x, reachable[b].y)] &&
          !fromGold[b][cellIndex(reachable[a].x, reachable[a].y)]) {
        faults.push_back("gold at " + describe(reachable[a]) + " and at " + describe(reachable[b]) +
                         " shut each other out");
      }
    }
  }
  return faults;
}

std::vector<int> unreachableGold(const Level& level) {
  const Cell start = playerStart(level);
  const std::vector<bool> fromStart =
      start.x < 0 ? std::vector<bool>(CellCount, false) : Walker(level).reachableFrom(start);
  std::vector<int> unreachable;
  for (const Cell& piece : goldCells(level)) {
    if (!fromStart[cellIndex(piece.x, piece.y)]) {
      unreachable.push_back(cellIndex(piece.x, piece.y));
    }
  }
  return unreachable;
}
