// The editing model without a window: strokes, lines, rectangles, undo and
// redo back to the opening, the start that counts and the gold out of reach.
#include "editor/level_draft.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

LevelSource sourceOf(const std::vector<std::string>& rows) {
  LevelSource source;
  source.title = "Opened";
  source.level = levelFromRows(rows);
  return source;
}

// A floor at row 30 with the player at its left end.
LevelSource floorLevel() {
  std::vector<std::string> rows(32, std::string(32, '.'));
  rows[30] = "P...............................";
  rows[31] = std::string(32, '#');
  return sourceOf(rows);
}

int countCells(const LevelDraft& draft, int8_t code) {
  int count = 0;
  for (int y = 0; y < GridSize; ++y) {
    for (int x = 0; x < GridSize; ++x) {
      count += draft.cellAt(x, y) == code ? 1 : 0;
    }
  }
  return count;
}

TEST(LevelDraftTest, LinesAndRectanglesPaintEveryCellOnceAndStayInTheGrid) {
  LevelDraft draft(floorLevel());
  draft.paintLine(2, 2, 9, 5, Brick);   // steep enough to need rounding, no gaps
  EXPECT_EQ(countCells(draft, Brick), 32 + 8);
  EXPECT_EQ(draft.cellAt(2, 2), Brick);
  EXPECT_EQ(draft.cellAt(9, 5), Brick);
  draft.paintLine(29, 0, 40, 0, Ladder);  // leaves the grid at the right edge
  EXPECT_EQ(countCells(draft, Ladder), 3);
  draft.fillRectangle(12, 12, 10, 10, Gold);  // corners in any order
  EXPECT_EQ(countCells(draft, Gold), 9);
  draft.endStroke();
  EXPECT_EQ(draft.goldCount(), 9);
  EXPECT_EQ(draft.takeChangedCells().size(), 8u + 3u + 9u);
  EXPECT_TRUE(draft.takeChangedCells().empty());
}

TEST(LevelDraftTest, UndoAndRedoWalkWholeStrokesBackToTheOpening) {
  LevelDraft draft(floorLevel());
  EXPECT_FALSE(draft.modified());
  draft.paintLine(0, 5, 31, 5, Rope);
  draft.endStroke();
  draft.setTitle("Ropes");
  draft.endStroke();
  draft.paint(4, 4, Gold);
  draft.endStroke();
  EXPECT_TRUE(draft.modified());

  EXPECT_TRUE(draft.undo());
  EXPECT_EQ(draft.cellAt(4, 4), Empty);
  EXPECT_TRUE(draft.undo());
  EXPECT_EQ(draft.source().title, "Opened");
  EXPECT_TRUE(draft.undo());
  EXPECT_EQ(countCells(draft, Rope), 0) << "the whole line is one step";
  EXPECT_FALSE(draft.undo());
  EXPECT_FALSE(draft.modified()) << "back at the file as opened";

  EXPECT_TRUE(draft.redo());
  EXPECT_EQ(countCells(draft, Rope), 32);
  draft.markSaved();
  EXPECT_FALSE(draft.modified());
  draft.paint(7, 7, Brick);  // a new step drops what could be redone
  draft.endStroke();
  EXPECT_FALSE(draft.redo());
  EXPECT_TRUE(draft.undo());
  EXPECT_FALSE(draft.modified()) << "back at the file as saved";
  EXPECT_TRUE(draft.undo());
  EXPECT_TRUE(draft.modified());

  draft.paint(8, 8, Brick);  // painted and painted back: nothing to undo
  draft.paint(8, 8, Empty);
  draft.endStroke();
  EXPECT_FALSE(draft.undo());
}

TEST(LevelDraftTest, TheLastStartInReadingOrderCounts) {
  LevelDraft draft(floorLevel());
  EXPECT_EQ(draft.playerStart(), cellIndex(0, 30));
  draft.paint(20, 9, PlayerStart);
  draft.paint(3, 30, PlayerStart);
  EXPECT_EQ(draft.playerStart(), cellIndex(3, 30)) << "the lowest row, then the rightmost";
  draft.paint(0, 30, Empty);
  draft.paint(3, 30, Empty);
  EXPECT_EQ(draft.playerStart(), cellIndex(20, 9));
  draft.paint(20, 9, Empty);
  EXPECT_FALSE(draft.playerStart().has_value());
}

TEST(LevelDraftTest, WarnsOfGoldOutOfReachAsTheLevelChanges) {
  LevelDraft draft(floorLevel());
  draft.fillRectangle(10, 0, 14, 4, Brick);
  draft.paint(12, 2, Gold);    // sealed in brick against the top edge
  draft.paint(5, 30, Gold);    // on the floor
  EXPECT_EQ(draft.unreachableGold(), std::vector<int>{cellIndex(12, 2)});
  draft.paintLine(12, 3, 12, 30, Ladder);   // a ladder up into the box
  EXPECT_TRUE(draft.unreachableGold().empty());
  draft.paint(0, 30, Empty);
  EXPECT_EQ(draft.unreachableGold().size(), 2u) << "without a start no gold can be reached";
  EXPECT_EQ(draft.enemyCount(), 0);
}

}  // namespace

namespace {

// A room of brick walls round an empty floor, with a ladder in the way.
LevelSource roomLevel() {
  std::vector<std::string> rows(32, std::string(32, '.'));
  rows[10] = "..#######.......................";
  rows[11] = "..#..H..#.......................";
  rows[12] = "..#..H..#.......................";
  rows[13] = "..#######.......................";
  rows[30] = "P$..E...........................";
  return sourceOf(rows);
}

TEST(LevelDraftRegionTest, FillTakesTheFourConnectedRegionOfEqualCellsAsOneStep) {
  LevelDraft draft(roomLevel());
  draft.floodFill(3, 11, Gold);   // inside the room: the walls and the ladder stop it
  draft.endStroke();
  EXPECT_EQ(draft.goldCount(), 1 + 4);
  EXPECT_EQ(draft.cellAt(6, 11), Empty) << "beyond the ladder";
  EXPECT_EQ(draft.cellAt(5, 11), Ladder);
  EXPECT_EQ(draft.cellAt(1, 11), Empty) << "nothing leaks through the wall";
  draft.floodFill(0, 0, Brick);   // outside: round the room, but not corner to corner into it
  draft.endStroke();
  EXPECT_EQ(draft.cellAt(1, 11), Brick);
  EXPECT_EQ(draft.cellAt(3, 11), Gold);
  EXPECT_EQ(draft.cellAt(0, 30), PlayerStart);
  draft.floodFill(0, 0, Brick);   // the same kind: no step at all
  draft.endStroke();
  ASSERT_EQ(draft.history().size(), 2u);
  EXPECT_EQ(draft.history()[0].what, "Fill");
  EXPECT_EQ(draft.history()[0].cells, 4);
  EXPECT_TRUE(draft.undo());
  EXPECT_EQ(draft.cellAt(1, 11), Empty) << "the fill was one step";
}

TEST(LevelDraftRegionTest, CopyPasteAndMirrorMoveEveryKindAndStayInTheGrid) {
  LevelDraft draft(roomLevel());
  const CellClip room = draft.copy(CellRect::spanning(8, 13, 2, 10));
  ASSERT_EQ(room.width, 7);
  ASSERT_EQ(room.height, 4);
  EXPECT_EQ(room.at(3, 1), Ladder);
  EXPECT_EQ(draft.copy({30, 30, 40, 40}).width, 2) << "clipped to the grid";

  draft.paste(room, 28, 0);   // partly off the grid's right side
  draft.endStroke();
  EXPECT_EQ(draft.cellAt(31, 1), Ladder);
  EXPECT_EQ(draft.cellAt(28, 3), Brick);
  EXPECT_EQ(draft.history().back().what, "Paste");

  draft.mirror(CellRect::wholeGrid());
  draft.endStroke();
  EXPECT_EQ(draft.cellAt(31, 30), PlayerStart) << "the start goes with the mirror";
  EXPECT_EQ(draft.cellAt(30, 30), Gold);
  EXPECT_EQ(draft.cellAt(27, 30), EnemyStart);
  EXPECT_EQ(draft.cellAt(0, 1), Ladder);
  draft.mirror({27, 30, 31, 30});   // a region: only its cells swap
  draft.endStroke();
  EXPECT_EQ(draft.cellAt(27, 30), PlayerStart);
  EXPECT_EQ(draft.cellAt(31, 30), EnemyStart);
  EXPECT_TRUE(draft.undo());
  EXPECT_TRUE(draft.undo());
  EXPECT_TRUE(draft.undo());
  EXPECT_EQ(draft.cellAt(0, 30), PlayerStart) << "a mirror is one step";
}

TEST(LevelDraftRegionTest, TheHistoryKeepsItsLatestStepsAndForgetsTheSavedOne) {
  LevelDraft draft(roomLevel());
  for (size_t step = 0; step < LevelDraft::MostSteps + 5; ++step) {
    draft.paint(10, 20, static_cast<int8_t>(step % 2 == 0 ? Brick : Empty));
    draft.endStroke();
  }
  EXPECT_EQ(draft.history().size(), LevelDraft::MostSteps);
  EXPECT_EQ(draft.stepsApplied(), LevelDraft::MostSteps);
  while (draft.undo()) {
  }
  EXPECT_TRUE(draft.modified()) << "the level as opened is out of reach";
}

}  // namespace
