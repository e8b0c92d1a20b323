// Selecting a rectangle of cells by dragging, and placing cells that float
// under the pointer: a paste, or the selection being moved. Floating cells
// change nothing until a click puts them down, as one step of undo (a move
// empties the place it lifted from in the same step); until then Escape
// drops them and the level is as it was.
#pragma once

#include "editor/tool.h"

#include <optional>

class SelectTool : public Tool {
public:
  const char* name() const override { return "Select"; }
  Command command() const override { return Command::SelectTool; }
  void press(LevelDraft& draft, const PointerPress& press) override;
  void moveTo(LevelDraft& draft, std::array<int, 2> cell) override;
  void release(LevelDraft& draft) override;
  bool stroking() const override { return dragging_; }
  void mark(GridMarks& marks) const override;

  const std::optional<CellRect>& selection() const { return selection_; }
  void clearSelection() { selection_.reset(); }
  // The clip floats with its top-left cell under the pointer; a move floats
  // the selection as the pointer holds it and empties its place on landing.
  void floatPaste(const CellClip& clip);
  void floatMove(const LevelDraft& draft);
  bool floating() const { return floating_.has_value(); }
  void dropFloating() { floating_.reset(); }

private:
  struct Floating {
    CellClip clip;
    std::optional<CellRect> liftedFrom;
    std::array<int, 2> grip;   // the clip's cell under the pointer
  };
  std::array<int, 2> floatingCorner() const;

  std::optional<CellRect> selection_;
  bool dragging_ = false;
  std::array<int, 2> anchor_{};
  std::array<int, 2> pointer_{};
  std::optional<Floating> floating_;
};
