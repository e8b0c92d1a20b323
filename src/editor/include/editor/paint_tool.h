// Painting: the left button paints the chosen kind, the right one Empty; a
// drag paints the line of cells the pointer crossed, and with Shift held it
// spans a rectangle, filled when the button comes up.
#pragma once

#include "editor/tool.h"

class PaintTool : public Tool {
public:
  const char* name() const override { return "Paint"; }
  Command command() const override { return Command::SelectKind; }
  void press(LevelDraft& draft, const PointerPress& press) override;
  void moveTo(LevelDraft& draft, std::array<int, 2> cell) override;
  void release(LevelDraft& draft) override;
  bool stroking() const override { return stroking_; }
  void mark(GridMarks& marks) const override;

  int kind() const { return kind_; }
  void setKind(int kind) { kind_ = kind; }

private:
  int kind_ = 1;
  bool stroking_ = false;
  bool rectangle_ = false;
  int8_t code_ = 0;
  std::array<int, 2> anchor_{};
  std::array<int, 2> last_{};
};
