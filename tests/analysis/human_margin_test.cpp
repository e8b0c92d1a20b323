// The human margin on small levels whose answer is known by construction.
#include "analysis/human_margin.h"

#include "leveltext/level_text.h"
#include "replay/replay.h"
#include "replay/replay_runner.h"
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

// A floor from the player to a ladder foot at column 12 with gold one cell
// up, and a chaser coming along the floor from the far right, on ladder tops
// that no dig can open. The player walks to the ladder foot, waits there
// for the chaser, and climbs to the gold at the last safe moment but
// `slack` updates: the climb is the tight corner, and the walk before the
// wait may come as late as it likes.
struct CornerChase {
  Level level;
  int lastSafeWait = -1;

  CornerChase() {
    std::vector<std::string> rows = emptyRows();
    rows[20] = "#############HHHHHHHHHHHHHHHHHHH";
    rows[19][2] = 'P';
    rows[19][12] = 'H';
    rows[18][12] = '$';
    rows[19][30] = 'E';
    level = levelFromRows(rows);
    for (int wait = 0; wait < 400 && clears(proof(wait)); ++wait) {
      lastSafeWait = wait;
    }
  }

  bool clears(const Replay& replay) const {
    const ReplayOutcome outcome = playReplay(replay, singleLevelMapsBin(level));
    return outcome.end == ReplayEnd::Cleared && outcome.deaths == 0;
  }

  Replay proof(int wait) const {
    return proofOf(moves('R', 10) + std::to_string(wait + 1) + " -\n" + moves('U', 1) + "1 -\n", true);
  }
};

TEST_F(HumanMarginTest, AChaseWithOneTightCornerHasTheCornerAsItsCriticalPress) {
  const CornerChase chase;
  ASSERT_GT(chase.lastSafeWait, 2 * MarginCapUpdates);
  for (int slack : {0, 7}) {
    const HumanMargin margin = measureHumanMargin(chase.level, chase.proof(chase.lastSafeWait - slack));
    EXPECT_EQ(slack, margin.marginUpdates);
    const std::vector<PressMargin> critical = margin.criticalPresses();
    ASSERT_EQ(1u, critical.size());
    EXPECT_EQ(12, critical[0].column);
    EXPECT_EQ(19, critical[0].row);
    EXPECT_EQ(HoldUp, critical[0].keys);
    EXPECT_EQ(slack, critical[0].marginUpdates);
  }
}

// A floor one brick thick over a shaft with the gold at its foot. The proof
// digs the brick beside the player, walks off and back, and steps into the
// hole at the last update before it refills: made any later, the proof's
// own keys walk over the closed floor, and only a new dig saves the player.
struct LastMomentDrop {
  Level level;
  int lastOpenWait = -1;

  LastMomentDrop() {
    std::vector<std::string> rows = emptyRows();
    rows[10] = std::string(GridSize, '#');
    rows[20] = std::string(GridSize, '#');
    rows[9][5] = 'P';
    rows[19][6] = '$';
    level = levelFromRows(rows);
    for (int wait = 0; wait < 200; ++wait) {
      const ReplayOutcome outcome = playReplay(proof(wait), singleLevelMapsBin(level));
      lastOpenWait = outcome.end == ReplayEnd::Cleared ? wait : lastOpenWait;
    }
  }

  Replay proof(int wait) const {
    return proofOf("1 K\n" + moves('L', 2) + moves('R', 2) + std::to_string(wait + 1) + " -\n1 R\n400 -\n", false);
  }
};

TEST_F(HumanMarginTest, ALatePressThatLosesTheProofsWayIsSavedByAnotherWayFound) {
  const LastMomentDrop drop;
  ASSERT_GE(drop.lastOpenWait, 0);
  const Replay proof = drop.proof(drop.lastOpenWait);
  const HumanMargin quickWaysOnly = measureHumanMargin(drop.level, proof, MarginLimits{0});
  EXPECT_EQ(0, quickWaysOnly.marginUpdates);
  const HumanMargin searched = measureHumanMargin(drop.level, proof);
  EXPECT_EQ(MarginCapUpdates, searched.marginUpdates);
  EXPECT_GT(searched.searchStates, 0u);
  EXPECT_TRUE(pressesMayComeLate(drop.level, proof, MarginCapUpdates));
}

// The one question a maker of levels asks: the corner left 7 updates of
// slack clears with every press 7 late, and not with the climb 8 late.
TEST_F(HumanMarginTest, EveryPressMayComeAsLateAsTheMarginAndNoLater) {
  const CornerChase chase;
  const Replay proof = chase.proof(chase.lastSafeWait - 7);
  EXPECT_TRUE(pressesMayComeLate(chase.level, proof, 7));
  EXPECT_FALSE(pressesMayComeLate(chase.level, proof, 8));
}

}  // namespace
