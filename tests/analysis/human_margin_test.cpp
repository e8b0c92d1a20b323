// The human margin on small levels whose answer is known by construction.
#include "analysis/human_margin.h"

#include "leveltext/level_text.h"
#include "replay/replay.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> emptyRows() { return std::vector<std::string>(GridSize, std::string(GridSize, '.')); }

Replay proofOf(const std::string& keyLines, bool enemies) {
  std::istringstream in(std::string("level: crafted.txt\nenemies: ") + (enemies ? "on" : "off") + "\n" + keyLines);
  Replay proof;
  std::string error;
  EXPECT_TRUE(parseReplay(in, "proof", proof, error)) << error;
  return proof;
}

// n moves, each one press and the 16 updates of the move.
std::string moves(char key, int count) {
  std::string lines;
  for (int move = 0; move < count; ++move) {
    lines += std::string("1 ") + key + "\n16 -\n";
  }
  return lines;
}

class HumanMarginTest : public ::testing::Test {
protected:
  void SetUp() override { startHeadlessAllegro(); }
};

TEST_F(HumanMarginTest, AWalkAlongAnOpenFloorLeavesEveryPressTheWholeMargin) {
  std::vector<std::string> rows = emptyRows();
  rows[20] = std::string(GridSize, '#');
  rows[19][2] = 'P';
  rows[19][20] = '$';
  const HumanMargin margin = measureHumanMargin(levelFromRows(rows), proofOf(moves('R', 18) + "1 -\n", false));
  ASSERT_EQ(18u, margin.presses.size());
  EXPECT_EQ(MarginCapUpdates, margin.marginUpdates);
  EXPECT_DOUBLE_EQ(1.0, margin.roomyShare());
  EXPECT_TRUE(margin.criticalPresses().empty());
}

// A hole dug and dropped into, left at the very update it refills: a step
// out then is the last moment, and a step out any later is buried. The
// presses before it may come late, since the hole then refills as late.
TEST_F(HumanMarginTest, AnEscapeThatMustBeMadeAtOneExactUpdateHasNoMargin) {
  std::vector<std::string> rows = emptyRows();
  rows[10] = "#......#########################";
  rows[11] = "#######..$......................";
  rows[12] = std::string(GridSize, '#');
  rows[10][5] = 'P';
  const std::string keys = "1 K\n1 R\n97 -\n" + moves('R', 3) + "1 -\n";
  const HumanMargin margin = measureHumanMargin(levelFromRows(rows), proofOf(keys, false));
  EXPECT_EQ(0, margin.marginUpdates);
  const std::vector<PressMargin> critical = margin.criticalPresses();
  ASSERT_EQ(1u, critical.size());
  EXPECT_EQ(99u, critical[0].update);
  EXPECT_EQ(6, critical[0].column);
  EXPECT_EQ(11, critical[0].row);
  EXPECT_EQ(HoldRight, critical[0].keys);
  EXPECT_EQ(MarginCapUpdates, margin.presses.front().marginUpdates);
}

}  // namespace
