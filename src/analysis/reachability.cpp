#include "analysis/reachability.h"

#include "game/motion.h"
#include "level/cell_kinds.h"

#include <array>

namespace {

constexpr int Sides[] = {-1, 1};
constexpr int16_t Moves[][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};

struct Cell {
  int column;
  int row;
};

bool inGrid(Cell cell) {
  return cell.column >= 0 && cell.column < GridSize && cell.row >= 0 && cell.row < GridSize;
}

int indexOf(Cell cell) { return cellIndex(cell.column, cell.row); }

std::string describe(Cell cell) {
  return "(" + std::to_string(cell.column) + ", " + std::to_string(cell.row) + ")";
}

// The codes a cell may hold at a decision: the stored one, and Empty too
// once it may have been dug or taken.
struct Codes {
  std::array<int, 2> code;
  int count;
  const int* begin() const { return code.data(); }
  const int* end() const { return code.data() + count; }
};

// Where one decision can take the player, and the bricks it can dig.
struct Decision {
  std::vector<Cell> to;
  std::vector<Cell> dug;
};

class Walk {
public:
  explicit Walk(const Level& level) : level_(level) {
    for (int index = 0; index < CellCount; ++index) {
      mayBeOpen_[index] = kindOf(level.cells[index]).valuable;
    }
  }

  // Every cell the player can take a decision in, from the cell start. The
  // bricks dug on the way stay open to later walks, which is what a run that
  // passed through start may have left behind.
  std::vector<bool> from(Cell start) {
    std::vector<bool> reached(CellCount, false);
    std::vector<Cell> pending;
    const auto reach = [&](Cell cell) {
      if (!reached[indexOf(cell)]) {
        reached[indexOf(cell)] = true;
        pending.push_back(cell);
      }
    };
    reach(start);
    while (!pending.empty()) {
      const Cell at = pending.back();
      pending.pop_back();
      const Decision decision = decide(at);
      for (const Cell& to : decision.to) {
        reach(to);
      }
      for (const Cell& hole : decision.dug) {
        if (mayBeOpen_[indexOf(hole)]) {
          continue;
        }
        mayBeOpen_[indexOf(hole)] = true;
        // The decisions that read the new hole are taken again.
        for (const Cell& reader : readersOf(hole)) {
          if (inGrid(reader) && reached[indexOf(reader)]) {
            pending.push_back(reader);
          }
        }
      }
    }
    return reached;
  }

private:
  Codes codesAt(Cell cell) const {
    if (!inGrid(cell)) {
      return {{OutsideCode, 0}, 1};
    }
    const int stored = level_.cells[indexOf(cell)];
    return mayBeOpen_[indexOf(cell)] ? Codes{{stored, Empty}, 2} : Codes{{stored, 0}, 1};
  }

  // The cells whose decision reads this one: as the own cell, the cell
  // below, a move's target, or the top cell met by a drop out of the bottom.
  static std::vector<Cell> readersOf(Cell hole) {
    std::vector<Cell> readers{hole, {hole.column, hole.row - 1}, {hole.column, hole.row + 1},
                              {hole.column - 1, hole.row}, {hole.column + 1, hole.row}};
    if (hole.row == 0) {
      readers.push_back({hole.column, LastRow});
    }
    return readers;
  }

  void digBeside(Cell at, Decision& decision) const {
    for (int side : Sides) {
      const CellAt target = digTarget(at.column, at.row, side);
      const Cell dug{target.column, target.row};
      if (inGrid(dug) && kindOf(level_.cells[indexOf(dug)]).diggable) {
        decision.dug.push_back(dug);
      }
    }
  }

  Decision decide(Cell at) const {
    Decision decision;
    bool alive = false;
    for (int own : codesAt(at)) {
      alive = alive || !kindOf(own).stopsMoves;
    }
    if (!alive) {
      return decision;  // inside a refilled hole
    }
    if (at.row == LastRow) {
      dropOutOfTheBottom(at.column, decision);
      return decision;
    }
    const Cell below{at.column, at.row + 1};
    for (int own : codesAt(at)) {
      for (int under : codesAt(below)) {
        if (kindOf(own).stopsMoves) {
          continue;
        }
        if (!holdsActor(own, under)) {
          decision.to.push_back(below);
          continue;
        }
        for (const auto& move : Moves) {
          const Cell target{at.column + move[0], at.row + move[1]};
          for (int there : codesAt(target)) {
            if (planMove(own, under, there, move[0], move[1]).verdict == MoveVerdict::Moving) {
              decision.to.push_back(target);
            }
          }
        }
        digBeside(at, decision);
      }
    }
    return decision;
  }

  // Above the top of the column the own cell reads as outside and the cell
  // below is the top cell: it lets the player fall in, or holds him there to
  // die at his next decision unless a move down takes him in now, digging
  // beside him on the way.
  void dropOutOfTheBottom(int column, Decision& decision) const {
    const Cell top{column, 0};
    for (int under : codesAt(top)) {
      if (!holdsActor(OutsideCode, under)) {
        decision.to.push_back(top);
      } else if (planMove(OutsideCode, under, under, 0, 1).verdict == MoveVerdict::Moving) {
        decision.to.push_back(top);
        digBeside({column, -1}, decision);
      }
    }
  }

  const Level& level_;
  std::array<bool, CellCount> mayBeOpen_{};
};

// The start the game picks; column -1 when there is none.
Cell playerStart(const Level& level) {
  const int start = playerStartIndex(level);
  return start < 0 ? Cell{-1, -1} : Cell{start / GridSize, start % GridSize};
}

std::vector<Cell> goldCells(const Level& level) {
  std::vector<Cell> gold;
  for (int row = 0; row < GridSize; ++row) {
    for (int column = 0; column < GridSize; ++column) {
      if (kindOf(level.cells[cellIndex(column, row)]).valuable) {
        gold.push_back({column, row});
      }
    }
  }
  return gold;
}

}  // namespace

std::vector<std::string> findLevelFaults(const Level& level) {
  const Cell start = playerStart(level);
  if (start.column < 0) {
    return {"no player start"};
  }
  return findLevelFaultsFrom(level, start.column, start.row);
}

std::vector<std::string> findLevelFaultsFrom(const Level& level, int column, int row) {
  const Cell start{column, row};
  Walk walk(level);
  const std::vector<bool> fromStart = walk.from(start);
  std::vector<std::string> faults;
  std::vector<Cell> reachable;
  for (const Cell& piece : goldCells(level)) {
    if (fromStart[indexOf(piece)]) {
      reachable.push_back(piece);
    } else {
      faults.push_back("gold at " + describe(piece) + " cannot be reached from the start");
    }
  }
  std::vector<std::vector<bool>> fromGold;
  for (const Cell& piece : reachable) {
    fromGold.push_back(walk.from(piece));
  }
  // All of it can be taken in one run only if, of any two pieces, one can be
  // reached from the other.
  for (size_t a = 0; a < reachable.size(); ++a) {
    for (size_t b = a + 1; b < reachable.size(); ++b) {
      if (!fromGold[a][indexOf(reachable[b])] && !fromGold[b][indexOf(reachable[a])]) {
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
      start.column < 0 ? std::vector<bool>(CellCount, false) : Walk(level).from(start);
  std::vector<int> unreachable;
  for (const Cell& piece : goldCells(level)) {
    if (!fromStart[indexOf(piece)]) {
      unreachable.push_back(indexOf(piece));
    }
  }
  return unreachable;
}
