// The drawing tools' commands: fill, mirror, and the selection's copy, cut,
// paste, move and delete; and the overlays that list the keys and the undo
// history in the grid's place.
#include "editor/editor.h"

#include "editor/editor_colours.h"

#include <algorithm>

namespace {

constexpr int KeysColumnChars = 22;

std::string padded(const std::string& text, size_t width) {
  return text.size() >= width ? text + " " : text + std::string(width - text.size(), ' ');
}

}  // namespace

void Editor::fillUnderPointer() {
  if (!pointerCell_) {
    say("B fills the region under the pointer: point at the grid.", Warning);
    return;
  }
  endStroke();
  draft_.floodFill((*pointerCell_)[0], (*pointerCell_)[1], static_cast<int8_t>(paint_.kind()));
  draft_.endStroke();
}

void Editor::mirror() {
  endStroke();
  draft_.mirror(select_.selection().value_or(CellRect::wholeGrid()));
  draft_.endStroke();
}

void Editor::copySelection(bool cut) {
  const std::optional<CellRect>& selection = select_.selection();
  if (!selection) {
    say("Nothing selected: S, then drag over the cells.", Warning);
    return;
  }
  endStroke();
  clipboard_ = draft_.copy(*selection);
  if (cut) {
    draft_.nameStep("Cut");
    draft_.fillRectangle(selection->left, selection->top, selection->right, selection->bottom, Empty);
    draft_.endStroke();
  }
  say(std::string(cut ? "Cut " : "Copied ") + std::to_string(selection->width()) + " by " +
          std::to_string(selection->height()) + " cells: Ctrl+V pastes them.",
      Dim);
}

void Editor::paste() {
  if (!clipboard_) {
    say("Nothing to paste: Ctrl+C copies a selection.", Warning);
    return;
  }
  useTool(select_);
  select_.floatPaste(*clipboard_);
  say("A click puts the cells down; Escape drops them.", Dim);
}

void Editor::moveSelection() {
  if (tool_ != &select_ || !select_.selection()) {
    say("Nothing selected: S, then drag over the cells.", Warning);
    return;
  }
  endStroke();
  select_.floatMove(draft_);
  say("A click puts the cells down; Escape puts them back.", Dim);
}

void Editor::deleteSelection() {
  const std::optional<CellRect>& selection = select_.selection();
  if (tool_ != &select_ || !selection) {
    say("Nothing selected: S, then drag over the cells.", Warning);
    return;
  }
  endStroke();
  draft_.nameStep("Delete");
  draft_.fillRectangle(selection->left, selection->top, selection->right, selection->bottom, Empty);
  draft_.endStroke();
}

// Escape first lets go of floating cells, then of the selection.
bool Editor::dropSelection() {
  if (tool_ != &select_ || (!select_.floating() && !select_.selection())) {
    return false;
  }
  endStroke();
  if (select_.floating()) {
    select_.dropFloating();
  } else {
    select_.clearSelection();
  }
  say("", Dim);
  return true;
}

ListContent Editor::overlayContent() const {
  ListContent list;
  if (overlay_ == Overlay::Help) {
    const KeyPlace place = mode_ == Mode::SetList ? KeyPlace::Set : KeyPlace::Drawing;
    list.heading = "Every key (any key closes this):";
    for (const KeyBinding& binding : keyBindings()) {
      if (binding.place == place) {
        list.rows.push_back({padded(binding.keys, KeysColumnChars) + binding.help, White});
      }
    }
    list.selected = -1;
    return list;
  }
  list.heading = "Undo history: Up undoes, Down redoes, any other key closes";
  list.rows.push_back({"  0 the level as opened", Dim});
  const std::vector<HistoryEntry> steps = draft_.history();
  for (size_t index = 0; index < steps.size(); ++index) {
    const bool applied = index < draft_.stepsApplied();
    const std::string cells = steps[index].cells > 0 ? ", " + std::to_string(steps[index].cells) + " cells" : "";
    const std::string number = std::to_string(index + 1);
    list.rows.push_back({std::string(3 - std::min<size_t>(3, number.size()), ' ') + number + " " + steps[index].what + cells,
                         applied ? White : Dim});
  }
  list.selected = static_cast<int>(draft_.stepsApplied());
  list.firstShown = std::max(0, list.selected - ListRowsShown / 2);
  return list;
}

std::string Editor::toolUnderPointer() const {
  if (pointerCell_) {
    if (select_.floating() && tool_ == &select_) {
      return "Placing: a click puts it down";
    }
    return std::string("Tool: ") + tool_->name() + " (" + keysOf(KeyPlace::Drawing, tool_->command()) + ")";
  }
  if (view_.paletteKindAt(pointerPixel_[0], pointerPixel_[1])) {
    return "Palette (" + keysOf(KeyPlace::Drawing, Command::SelectKind) + ")";
  }
  if (const auto line = view_.headerLineAt(pointerPixel_[0], pointerPixel_[1]); line && *line > 0) {
    return *line == 1 ? "Title (" + keysOf(KeyPlace::Drawing, Command::EditTitle) + ")"
                      : "Note (" + keysOf(KeyPlace::Drawing, Command::EditNote) + ")";
  }
  return "F1: every key";
}
