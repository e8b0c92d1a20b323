#include "editor/select_tool.h"

#include <algorithm>

namespace {

int clampToGrid(int value) { return std::clamp(value, 0, GridSize - 1); }

}  // namespace

void SelectTool::press(LevelDraft& draft, const PointerPress& press) {
  pointer_ = press.cell;
  if (!floating_) {
    dragging_ = true;
    anchor_ = press.cell;
    selection_ = CellRect::spanning(anchor_[0], anchor_[1], anchor_[0], anchor_[1]);
    return;
  }
  const auto [left, top] = floatingCorner();
  draft.nameStep(floating_->liftedFrom ? "Move" : "Paste");
  if (floating_->liftedFrom) {
    const CellRect& from = *floating_->liftedFrom;
    draft.fillRectangle(from.left, from.top, from.right, from.bottom, Empty);
  }
  draft.paste(floating_->clip, left, top);
  draft.endStroke();
  const CellRect placed{left, top, left + floating_->clip.width - 1, top + floating_->clip.height - 1};
  selection_ = CellRect{std::max(placed.left, 0), std::max(placed.top, 0), std::min(placed.right, GridSize - 1),
                        std::min(placed.bottom, GridSize - 1)};
  floating_.reset();
}

void SelectTool::moveTo(LevelDraft&, std::array<int, 2> cell) {
  pointer_ = cell;
  if (dragging_) {
    selection_ = CellRect::spanning(anchor_[0], anchor_[1], clampToGrid(cell[0]), clampToGrid(cell[1]));
  }
}

void SelectTool::release(LevelDraft&) { dragging_ = false; }

void SelectTool::floatPaste(const CellClip& clip) {
  floating_ = Floating{clip, std::nullopt, {0, 0}};
}

void SelectTool::floatMove(const LevelDraft& draft) {
  const CellRect& from = *selection_;
  const std::array<int, 2> grip = {std::clamp(pointer_[0] - from.left, 0, from.width() - 1),
                                   std::clamp(pointer_[1] - from.top, 0, from.height() - 1)};
  floating_ = Floating{draft.copy(from), from, grip};
  selection_.reset();
}

std::array<int, 2> SelectTool::floatingCorner() const {
  return {pointer_[0] - floating_->grip[0], pointer_[1] - floating_->grip[1]};
}

void SelectTool::mark(GridMarks& marks) const {
  if (!floating_) {
    if (selection_) {
      marks.rectangles.push_back(*selection_);
    }
    return;
  }
  if (floating_->liftedFrom) {
    const CellRect& from = *floating_->liftedFrom;
    for (int y = from.top; y <= from.bottom; ++y) {
      for (int x = from.left; x <= from.right; ++x) {
        marks.shownInstead.push_back({cellIndex(x, y), Empty});
      }
    }
  }
  const auto [left, top] = floatingCorner();
  const Floating& shown = *floating_;
  for (int y = 0; y < shown.clip.height; ++y) {
    for (int x = 0; x < shown.clip.width; ++x) {
      if (left + x >= 0 && left + x < GridSize && top + y >= 0 && top + y < GridSize) {
        marks.shownInstead.push_back({cellIndex(left + x, top + y), shown.clip.at(x, y)});
      }
    }
  }
  const CellRect over{std::max(left, 0), std::max(top, 0), std::min(left + shown.clip.width - 1, GridSize - 1),
                      std::min(top + shown.clip.height - 1, GridSize - 1)};
  if (over.left <= over.right && over.top <= over.bottom) {
    marks.rectangles.push_back(over);
  }
}
