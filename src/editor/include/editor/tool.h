// A drawing tool: what a press, a drag and a release of a mouse button on
// the grid do to the level, what it marks on the grid meanwhile, and the
// key that takes it up (a binding of the key table). The editor holds its
// tools and hands the pointer to the one in use; a tool's whole stroke is
// one step of undo, closed by the editor once the tool lets go.
#pragma once

#include "editor/editor_view.h"
#include "editor/key_table.h"
#include "editor/level_draft.h"

#include <array>

struct PointerPress {
  std::array<int, 2> cell;   // on the grid
  bool right;                // the right button
  bool shift;
};

class Tool {
public:
  virtual ~Tool() = default;

  virtual const char* name() const = 0;
  // The command that takes the tool up.
  virtual Command command() const = 0;

  virtual void press(LevelDraft& draft, const PointerPress& press) = 0;
  // The pointer is over this cell, perhaps off the grid, button down or not.
  virtual void moveTo(LevelDraft& draft, std::array<int, 2> cell) = 0;
  // The button came up, or the stroke ends anyway (a key, a play-test).
  virtual void release(LevelDraft& draft) = 0;
  // A button is down and the stroke under way.
  virtual bool stroking() const = 0;
  virtual void mark(GridMarks& marks) const = 0;
};
