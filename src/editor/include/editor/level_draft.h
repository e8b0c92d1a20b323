// The level being edited, with its undo history: painting cells one by one,
// along a line or over a rectangle, filling a region, copying, pasting and
// mirroring a rectangle, and setting the title and note. Every change made
// between two calls of endStroke is one step of undo and redo, so a drag of
// the mouse is undone as a whole; each step is named by the first operation
// in it, for the history's view. It also answers what the
// editor shows beside the grid: the gold and enemy counts, the player start
// that counts, and the gold the player cannot reach from it. No drawing and
// no input here, so it runs in tests without a window.
#pragma once

#include "leveltext/level_text.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A rectangle of cells, both corners included; made from any two opposite
// corners.
struct CellRect {
  int left, top, right, bottom;
  static CellRect spanning(int x1, int y1, int x2, int y2);
  static CellRect wholeGrid() { return {0, 0, GridSize - 1, GridSize - 1}; }
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
  bool operator==(const CellRect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

// Cells copied out of a level, row by row.
struct CellClip {
  int width = 0;
  int height = 0;
  std::vector<int8_t> cells;
  int8_t at(int x, int y) const { return cells[static_cast<size_t>(y * width + x)]; }
};

// One step of the history as its view lists it.
struct HistoryEntry {
  std::string what;
  int cells;   // cells changed
};

class LevelDraft {
public:
  explicit LevelDraft(const LevelSource& source);

  const LevelSource& source() const { return source_; }
  int8_t cellAt(int x, int y) const { return source_.level.cells[cellIndex(x, y)]; }

  // Cells outside the grid are left alone.
  void paint(int x, int y, int8_t code);
  // Every cell on the straight line between the two cells, both included,
  // without gaps (one cell per column or row along the longer side).
  void paintLine(int fromX, int fromY, int toX, int toY, int8_t code);
  // Every cell of the rectangle with these two opposite corners.
  void fillRectangle(int fromX, int fromY, int toX, int toY, int8_t code);
  // The four-connected region of cells equal to the cell at (x, y), painted.
  void floodFill(int x, int y, int8_t code);
  // The rectangle's cells, clipped to the grid.
  CellClip copy(const CellRect& area) const;
  // The clip with its top-left cell at (left, top); what falls outside the
  // grid is left out.
  void paste(const CellClip& clip, int left, int top);
  // Left to right, every kind with it (the starts too).
  void mirror(const CellRect& area);
  // Names the step under way, unless an earlier operation named it.
  void nameStep(const char* what);
  void setTitle(const std::string& title);
  void setNote(const std::string& note);
  // Closes the step under way; a step that changed nothing is dropped.
  void endStroke();

  // Answer false when there is no step to take back or to take again.
  bool undo();
  bool redo();
  // The steps, oldest first, and how many of them are applied. At most
  // MostSteps are kept: the oldest go first.
  static constexpr size_t MostSteps = 1000;
  std::vector<HistoryEntry> history() const;
  size_t stepsApplied() const { return position_; }

  // Unsaved changes: the level differs in history from the one last saved
  // (or opened).
  bool modified() const;
  void markSaved();

  // The cells changed since the last call, each once, for redrawing.
  std::vector<int> takeChangedCells();

  int goldCount() const;
  int enemyCount() const;
  int playerStartCount() const;
  // The start the game uses (playerStartIndex).
  std::optional<int> playerStart() const;
  // Gold the player cannot get to from the start (cell indices); worked out
  // again only after a change.
  const std::vector<int>& unreachableGold() const;

private:
  struct CellChange {
    int index;
    int8_t before;
    int8_t after;
  };
  struct Step {
    std::vector<CellChange> cells;
    std::string titleBefore;
    std::string noteBefore;
    std::string titleAfter;
    std::string noteAfter;
    std::string what;
  };

  void startStep();
  void setCell(int index, int8_t code);
  void apply(const Step& step, bool forward);
  void markChanged(int index);

  LevelSource source_;
  std::vector<Step> history_;
  size_t position_ = 0;                   // steps applied
  std::optional<size_t> savedPosition_ = 0;  // none once the saved level left the history
  Step pending_;
  bool pendingStarted_ = false;
  std::vector<int> pendingSlot_ = std::vector<int>(CellCount, -1);  // index into pending_.cells
  std::vector<bool> changedFlags_ = std::vector<bool>(CellCount, false);
  std::vector<int> changed_;
  mutable std::optional<std::vector<int>> unreachable_;
};
