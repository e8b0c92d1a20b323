#include "generate/level_builder.h"

#include "generate/level_repair.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The ground is two rows of brick, so that a hole dug in it is a grave the
// refill closes, never a way out of the bottom of the field.
constexpr int GroundRow = GridSize - 2;
constexpr int TopmostFloorRow = 4;
constexpr int FewestRowsBetweenFloors = 4;
// An enemy starts at least this many cells (across plus down) from the
// player, which with the way to walk round gives a player who stands still
// some seconds to look.
constexpr int EnemyDistanceCells = 16;
constexpr int GoldSpacingCells = 3;

struct Segment {
  int row;     // the floor's row of brick
  int first;   // columns, both included
  int last;
};

class LevelBuilder {
public:
  LevelBuilder(const ShapeRanges& ranges, LevelRandom& random) : ranges_(ranges), random_(random) {
    std::fill(std::begin(sketch_.level.cells), std::end(sketch_.level.cells), Empty);
  }

  Sketch build() {
    layFloors();
    layLadders();
    laySlabs();
    layRopes();
    layChambers();
    placePlayer();
    placeGold();
    placeEnemies();
    return sketch_;
  }

private:
  int8_t& cell(int x, int y) { return sketch_.level.cells[cellIndex(x, y)]; }
  int8_t at(int x, int y) const { return levelCellAt(sketch_.level, x, y); }

  void layFloors();
  void laySegments(int row);
  void layLadders();
  void layLadder(int column, int floorRow);
  void laySlabs();
  void layRopes();
  void layHangingRope(int upperRow, int lowerRow);
  void layChambers();
  bool layChamber();
  void placePlayer();
  void placeGold();
  void placeEnemies();
  // Empty cells standing on brick on the way: floors' walking rows.
  std::vector<int> standingCells() const;

  const ShapeRanges& ranges_;
  LevelRandom& random_;
  Sketch sketch_;
  std::vector<int> floorRows_;       // top first, the ground last
  std::vector<Segment> segments_;    // the floors above the ground
  std::vector<int> goldCells_;
  int playerCell_ = 0;
};

// The floors share the height between the ground and a top floor a few
// rows down from the top, each band a row or so more or less than even.
void LevelBuilder::layFloors() {
  const int floors = random_.between(ranges_.fewestFloors, ranges_.mostFloors);
  for (int x = 0; x < GridSize; ++x) {
    cell(x, GroundRow) = Brick;
    cell(x, GroundRow + 1) = Brick;
  }
  const int topRow = random_.between(TopmostFloorRow, TopmostFloorRow + 4);
  const int bands = floors - 1;
  int row = topRow;
  for (int band = 0; band < bands; ++band) {
    floorRows_.push_back(row);
    laySegments(row);
    const int even = (GroundRow - row) / (bands - band);
    const int next = row + std::max(FewestRowsBetweenFloors, even + random_.between(-1, 1));
    if (band + 1 < bands && GroundRow - next < FewestRowsBetweenFloors) {
      break;
    }
    row = next;
  }
  floorRows_.push_back(GroundRow);
}

// Stretches of five to thirteen bricks with gaps of two to four between.
void LevelBuilder::laySegments(int row) {
  int first = random_.between(0, 3);
  while (first < GridSize - 3) {
    int last = std::min(first + random_.between(5, 13) - 1, GridSize - 1);
    if (GridSize - 1 - last < 3) {
      last = GridSize - 1;
    }
    for (int x = first; x <= last; ++x) {
      cell(x, row) = Brick;
    }
    segments_.push_back({row, first, last});
    first = last + 1 + random_.between(2, 4);
  }
}

// From the walking row above the floor down to the first floor below that
// has brick in the column, through the gaps of the floors between.
void LevelBuilder::layLadder(int column, int floorRow) {
  int bottom = floorRow + 1;
  while (at(column, bottom) != Brick) {
    ++bottom;
  }
  for (int y = floorRow - 1; y < bottom; ++y) {
    cell(column, y) = Ladder;
  }
}

void LevelBuilder::layLadders() {
  for (const Segment& segment : segments_) {
    const int length = segment.last - segment.first + 1;
    const int ladders = length >= 10 && random_.chance(ranges_.extraLadderPercent) ? 2 : 1;
    for (int ladder = 0; ladder < ladders; ++ladder) {
      for (int attempt = 0; attempt < 6; ++attempt) {
        const int column = length >= 3 ? random_.between(segment.first + 1, segment.last - 1) : segment.first;
        // Two ladders side by side are one wide ladder to the eye and add
        // nothing to the way.
        if (at(column - 1, segment.row) != Ladder && at(column + 1, segment.row) != Ladder &&
            at(column, segment.row) == Brick) {
          layLadder(column, segment.row);
          break;
        }
      }
    }
  }
}

// Some floors are the tops of slabs of brick down to just above the
// walking row of the floor below: too thick to dig through (a hole in one is
// a grave), with their ladders as shafts through them.
void LevelBuilder::laySlabs() {
  for (const Segment& segment : segments_) {
    if (!random_.chance(ranges_.slabPercent)) {
      continue;
    }
    const int lowerRow = *(std::find(floorRows_.begin(), floorRows_.end(), segment.row) + 1);
    for (int x = segment.first; x <= segment.last; ++x) {
      for (int y = segment.row + 1; y < lowerRow - 1; ++y) {
        if (at(x, y) == Empty) {
          cell(x, y) = Brick;
        }
      }
    }
  }
}

// Ropes across some gaps at the walking row, and some out from a ladder
// into the open between two floors.
void LevelBuilder::layRopes() {
  for (size_t index = 0; index + 1 < segments_.size(); ++index) {
    const Segment& left = segments_[index];
    const Segment& right = segments_[index + 1];
    if (left.row != right.row || !random_.chance(ranges_.ropePercent)) {
      continue;
    }
    for (int x = left.last + 1; x < right.first; ++x) {
      if (at(x, left.row - 1) == Empty) {
        cell(x, left.row - 1) = Rope;
      }
    }
  }
  for (size_t floor = 0; floor + 1 < floorRows_.size(); ++floor) {
    if (random_.chance(ranges_.ropePercent)) {
      layHangingRope(floorRows_[floor], floorRows_[floor + 1]);
    }
  }
}

void LevelBuilder::layHangingRope(int upperRow, int lowerRow) {
  if (lowerRow - upperRow < 5) {
    return;
  }
  const int row = random_.between(upperRow + 2, lowerRow - 3);
  std::vector<int> ladderColumns;
  for (int x = 0; x < GridSize; ++x) {
    if (at(x, row) == Ladder) {
      ladderColumns.push_back(x);
    }
  }
  if (ladderColumns.empty()) {
    return;
  }
  const int from = ladderColumns[random_.below(static_cast<int>(ladderColumns.size()))];
  const int step = random_.chance(50) ? 1 : -1;
  const int length = random_.between(3, 8);
  int laid = 0;
  for (int x = from + step; laid < length && at(x, row) == Empty && at(x, row + 1) == Empty; x += step) {
    cell(x, row) = Rope;
    ++laid;
  }
}

void LevelBuilder::layChambers() {
  const int chambers = random_.between(ranges_.fewestChambers, ranges_.mostChambers);
  for (int attempt = 0; attempt < chambers * 8 && sketch_.chambers < chambers; ++attempt) {
    sketch_.chambers += layChamber() ? 1 : 0;
  }
}

// A room of one or two rows hung under a stretch of floor: walls at both
// ends, a floor of its own with a gap at one end, gold at the other. The
// only way in is a hole dug through the floor above; the gap lets the
// player out onto the floor below.
bool LevelBuilder::layChamber() {
  if (segments_.empty()) {
    return false;
  }
  const Segment& segment = segments_[random_.below(static_cast<int>(segments_.size()))];
  const auto above = std::find(floorRows_.begin(), floorRows_.end(), segment.row);
  const int rowsBelow = *(above + 1) - segment.row;
  const int height = rowsBelow >= 5 && random_.chance(50) ? 2 : 1;
  const int width = random_.between(2, 5);
  if (rowsBelow < height + 3 || segment.last - segment.first + 1 < width + 2) {
    return false;
  }
  const int leftWall = random_.between(segment.first, segment.last - width - 1);
  const int rightWall = leftWall + width + 1;
  const int floorRow = segment.row + height + 1;
  for (int x = leftWall; x <= rightWall; ++x) {
    if (at(x, segment.row) != Brick) {
      return false;
    }
    for (int y = segment.row + 1; y <= floorRow + 1; ++y) {
      if (at(x, y) != Empty) {
        return false;
      }
    }
  }
  const bool gapLeft = random_.chance(50);
  for (int x = leftWall; x <= rightWall; ++x) {
    const bool wall = x == leftWall || x == rightWall;
    for (int y = segment.row + 1; y < floorRow; ++y) {
      cell(x, y) = wall ? Brick : Empty;
    }
    const bool gap = x == (gapLeft ? leftWall + 1 : rightWall - 1);
    cell(x, floorRow) = gap ? Empty : Brick;
  }
  const int goldColumn = gapLeft ? rightWall - 1 : leftWall + 1;
  cell(goldColumn, floorRow - 1) = Gold;
  goldCells_.push_back(cellIndex(goldColumn, floorRow - 1));
  return true;
}

std::vector<int> LevelBuilder::standingCells() const {
  std::vector<int> cells;
  for (int row : floorRows_) {
    for (int x = 0; x < GridSize; ++x) {
      if (at(x, row) == Brick && at(x, row - 1) == Empty) {
        cells.push_back(cellIndex(x, row - 1));
      }
    }
  }
  return cells;
}

void LevelBuilder::placePlayer() {
  std::vector<int> cells = standingCells();
  std::vector<int> ground;
  for (int index : cells) {
    if (index % GridSize == GroundRow - 1) {
      ground.push_back(index);
    }
  }
  const std::vector<int>& from = random_.chance(70) && !ground.empty() ? ground : cells;
  playerCell_ = from[random_.below(static_cast<int>(from.size()))];
  sketch_.level.cells[playerCell_] = PlayerStart;
}

int spacing(int a, int b) {
  return std::max(std::abs(a / GridSize - b / GridSize), std::abs(a % GridSize - b % GridSize));
}

// Gold where the way passes: on the floors, in the gaps a fall goes
// through, under the ropes. Spread out, so that a level is a tour.
void LevelBuilder::placeGold() {
  std::vector<int> places = standingCells();
  for (const Segment& segment : segments_) {
    // A player walking off the end of a floor falls down the first column
    // of the gap, and only that one.
    for (int x : {segment.first - 1, segment.last + 1}) {
      if (at(x, segment.row) == Empty) {
        places.push_back(cellIndex(x, segment.row));
      }
    }
  }
  for (int x = 0; x < GridSize; ++x) {
    for (int y = 1; y < GroundRow; ++y) {
      if (at(x, y - 1) == Rope && at(x, y) == Empty) {
        places.push_back(cellIndex(x, y));
      }
    }
  }
  const int wanted = random_.between(ranges_.fewestGold, ranges_.mostGold);
  for (int tries = 0; tries < 200 && static_cast<int>(goldCells_.size()) < wanted && !places.empty(); ++tries) {
    const int place = places[random_.below(static_cast<int>(places.size()))];
    bool spaced = spacing(place, playerCell_) >= GoldSpacingCells;
    for (int gold : goldCells_) {
      spaced = spaced && spacing(place, gold) >= GoldSpacingCells;
    }
    if (spaced && sketch_.level.cells[place] == Empty) {
      sketch_.level.cells[place] = Gold;
      goldCells_.push_back(place);
    }
  }
}

// Upper floors, far from the player; the farthest places are kept aside.
void LevelBuilder::placeEnemies() {
  const int playerX = playerCell_ / GridSize;
  const int playerY = playerCell_ % GridSize;
  std::vector<std::pair<int, int>> far;   // (distance, cell)
  for (int index : standingCells()) {
    const int distance = std::abs(index / GridSize - playerX) + std::abs(index % GridSize - playerY);
    if (distance >= EnemyDistanceCells && index % GridSize < GroundRow - 1 && sketch_.level.cells[index] == Empty) {
      far.push_back({distance + random_.below(6), index});
    }
  }
  std::sort(far.rbegin(), far.rend());
  const int wanted = random_.between(ranges_.fewestEnemies, ranges_.mostEnemies);
  int placed = 0;
  for (const auto& [distance, index] : far) {
    bool spaced = true;
    for (int other = 0; other < CellCount; ++other) {
      spaced = spaced && !(sketch_.level.cells[other] == EnemyStart && spacing(other, index) < 4);
    }
    if (placed < wanted && spaced) {
      sketch_.level.cells[index] = EnemyStart;
      ++placed;
    } else if (sketch_.level.cells[index] == Empty) {
      sketch_.spareEnemyCells.push_back(index);
    }
  }
}

}  // namespace

ShapeRanges shapeRangesFor(int difficulty) {
  switch (difficulty) {
    case 1: return {4, 5, 4, 7, 0, 1, 0, 0, 50, 60, 40};
    case 2: return {4, 6, 5, 8, 0, 1, 1, 1, 45, 50, 40};
    case 3: return {5, 6, 6, 10, 1, 2, 1, 2, 40, 40, 35};
    case 4: return {5, 7, 8, 12, 1, 2, 2, 3, 35, 30, 35};
    default: return {6, 7, 10, 14, 1, 3, 3, 4, 30, 20, 30};
  }
}

Sketch buildSketch(const ShapeRanges& ranges, LevelRandom& random) {
  LevelBuilder builder(ranges, random);
  return builder.build();
}
