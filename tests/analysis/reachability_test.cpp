// The reachability check against what the rules let a player do: dig through
// floors, drop out of the bottom row into the top of the column, climb down
// a top-row ladder in the tick of that drop; and the gold no way can reach.
#include "analysis/reachability.h"
#include "level/level_builders.h"
#include "leveltext/level_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string faultsOf(const std::vector<std::string>& rows) {
  std::string text;
  for (const std::string& fault : findLevelFaults(levelFromRows(rows))) {
    text += fault + "\n";
  }
  return text;
}

TEST(ReachabilityTest, AFloorDugThroughLeadsInFromTheTopOfItsColumn) {
  std::vector<std::string> rows = floorRows();
  rows[31][20] = '$';  // in the floor's lower row
  rows[5] = "..........###...................";
  rows[6] = "..........#$#...................";  // a box in the sky: dug into from its roof
  rows[7] = "..........###...................";
  EXPECT_EQ("", faultsOf(rows));

  rows = floorRows();
  for (int y = 0; y < 4; ++y) {
    rows[y][20] = rows[y][22] = '#';
  }
  rows[4].replace(20, 3, "###");
  rows[3][21] = '$';  // in a cup that only the sky opens into
  EXPECT_EQ("", faultsOf(rows));
  rows[0][21] = '#';  // the player dropping out of the bottom is held above it, and dies
  EXPECT_EQ("gold at (21, 3) cannot be reached from the start\n", faultsOf(rows));
  rows[0][21] = 'H';  // unless he climbs down in the tick of the drop
  EXPECT_EQ("", faultsOf(rows));
}

TEST(ReachabilityTest, GoldNoWayCanReachIsNamed) {
  // Walled in beside and above, with ladders, which cannot be dug, diagonally below.
  std::vector<std::string> rows = floorRows();
  rows[28] = "..#.............................";
  rows[29] = ".#P#......$.....................";
  rows[30] = "#H#H############################";
  EXPECT_EQ("gold at (10, 29) cannot be reached from the start\n", faultsOf(rows));

  // Against the top edge: its roof could only be dug by a player held above
  // the field, who dies there; its sides by one standing in the open air.
  rows = floorRows();
  rows[0] = "..........#####.................";
  rows[1] = "..........##$##.................";
  rows[2] = "..........#####.................";
  EXPECT_EQ("gold at (12, 1) cannot be reached from the start\n", faultsOf(rows));
  EXPECT_EQ(unreachableGold(levelFromRows(rows)), std::vector<int>{cellIndex(12, 1)});
  rows[29][1] = '.';
  EXPECT_EQ(faultsOf(rows), "no player start\n");
  EXPECT_EQ(unreachableGold(levelFromRows(rows)), std::vector<int>{cellIndex(12, 1)});
}

// A corridor over a floor the player can dig through, and brick above it up
// to the top but for two shafts one cell wide, with gold at their feet: a
// player who drops out of the bottom into either shaft never leaves it.
TEST(ReachabilityTest, TwoShaftsEnteredFromAboveShutEachOtherOut) {
  std::vector<std::string> rows(GridSize, std::string(GridSize, '#'));
  rows[29] = std::string(GridSize, '.');
  rows[29][15] = 'P';
  for (int y = 0; y < 10; ++y) {
    rows[y][5] = rows[y][25] = '.';
  }
  rows[10][5] = rows[10][25] = '$';
  EXPECT_EQ("gold at (5, 10) and at (25, 10) shut each other out\n", faultsOf(rows));

  rows[10][25] = '.';
  rows[11][25] = 'H';  // the second shaft's gold a cell lower, on a ladder out
  rows[12][25] = '$';
  for (int y = 13; y < 29; ++y) {
    rows[y][25] = 'H';
  }
  EXPECT_EQ("", faultsOf(rows));
}

}  // namespace
