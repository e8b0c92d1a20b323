#include "editor/paint_tool.h"

#include <algorithm>

namespace {

int clampToGrid(int value) { return std::clamp(value, 0, GridSize - 1); }

}  // namespace

void PaintTool::press(LevelDraft& draft, const PointerPress& press) {
  stroking_ = true;
  rectangle_ = press.shift;
  code_ = static_cast<int8_t>(press.right ? Empty : kind_);
  anchor_ = last_ = press.cell;
  if (!rectangle_) {
    draft.paint(anchor_[0], anchor_[1], code_);
  }
}

void PaintTool::moveTo(LevelDraft& draft, std::array<int, 2> cell) {
  if (!stroking_) {
    return;
  }
  if (rectangle_) {
    last_ = {clampToGrid(cell[0]), clampToGrid(cell[1])};
  } else if (cell != last_) {
    draft.paintLine(last_[0], last_[1], cell[0], cell[1], code_);
    last_ = cell;
  }
}

void PaintTool::release(LevelDraft& draft) {
  if (stroking_ && rectangle_) {
    draft.fillRectangle(anchor_[0], anchor_[1], last_[0], last_[1], code_);
  }
  stroking_ = false;
}

void PaintTool::mark(GridMarks& marks) const {
  if (stroking_ && rectangle_) {
    marks.rectangles.push_back(CellRect::spanning(anchor_[0], anchor_[1], last_[0], last_[1]));
  }
}
