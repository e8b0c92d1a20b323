// The dead-end check run beside the editor as the editor runs it: the cells
// of the trap it finds, the count for the panel, and the way in to watch.
#include "editor/dead_end_run.h"

#include "support/headless.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

DeadEndFindings checkToTheEnd(const ScopedWorkDir& dir, const std::vector<std::string>& rows) {
  LevelSource source;
  source.level = levelFromRows(rows);
  DeadEndRun run(MQ_LEVEL_CHECK, dir.path(), "level", source);
  for (int wait = 0; wait < 3000 && run.findings().state == DeadEndCheckState::Running; ++wait) {
    run.poll();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return run.findings();
}

// A floor with gold to the left of the player and a slot one cell wide to
// his right that nothing climbs out of.
std::vector<std::string> slotRows(bool slot) {
  std::vector<std::string> rows(32, std::string(32, '.'));
  rows[29][2] = '$';
  rows[29][10] = 'P';
  rows[30] = rows[31] = std::string(32, '#');
  rows[30][20] = slot ? '.' : '#';
  return rows;
}

TEST(DeadEndRunTest, NamesTheTrapCellsAndKeepsTheWayIntoTheFirst) {
  const ScopedWorkDir dir;
  const DeadEndFindings slot = checkToTheEnd(dir, slotRows(true));
  ASSERT_EQ(slot.state, DeadEndCheckState::Done) << slot.line;
  EXPECT_EQ(slot.line, "1 trap, 0 cost a life");
  EXPECT_EQ(slot.trapCells, std::vector<int>{cellIndex(20, 30)});
  EXPECT_TRUE(slot.costlyCells.empty());
  ASSERT_TRUE(slot.wayIntoFirstTrap.has_value());
  EXPECT_FALSE(slot.wayIntoFirstTrap->enemies);
  EXPECT_FALSE(slot.wayIntoFirstTrap->keys.empty());

  const ScopedWorkDir again;
  const DeadEndFindings floor = checkToTheEnd(again, slotRows(false));
  EXPECT_EQ(floor.line, "0 traps, 0 cost a life");
  EXPECT_FALSE(floor.wayIntoFirstTrap.has_value());
}

}  // namespace
