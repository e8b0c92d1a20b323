// What the panel and the prompt say about the level being drawn: every
// line follows from the draft, the proof and the mode as they are now, so a
// warning goes as soon as it stops being true.
#include "editor/editor.h"

#include "editor/editor_colours.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr int MostNoteRows = 5;
constexpr int MostTitleRows = 2;
constexpr size_t PromptTailChars = 90;

std::string cellName(int index) {
  return "(" + std::to_string(index / GridSize) + ", " + std::to_string(index % GridSize) + ")";
}

}  // namespace

GridMarks Editor::gridMarks() const {
  GridMarks marks;
  marks.gridLines = gridLines_;
  marks.start = draft_.playerStart();
  marks.unreachableGold = draft_.unreachableGold();
  if (proofIsCurrent()) {
    marks.missedGold = proof_->result().missedGold;
  }
  if (deadEndsAreCurrent()) {
    marks.trapCells = deadEnds_->findings().trapCells;
    marks.costlyCells = deadEnds_->findings().costlyCells;
  }
  tool_->mark(marks);
  return marks;
}

PanelContent Editor::panelContent() const {
  PanelContent panel;
  const LevelSource& source = draft_.source();
  const std::string setName = inSet() ? "  (set " + fs::path(set_->path()).filename().string() + ")" : "";
  panel.header = {{shownName() + setName, Dim},
                  {"Title: " + source.title, White, MostTitleRows},
                  {"Note: " + source.note, White, MostNoteRows}};
  panel.selectedKind = paint_.kind();
  panel.facts.push_back({"Gold " + std::to_string(draft_.goldCount()) + "   Enemies " +
                             std::to_string(draft_.enemyCount()) +
                             (pointerCell_ ? "   " + cellName(cellIndex((*pointerCell_)[0], (*pointerCell_)[1])) : ""),
                         White});
  panel.facts.push_back({toolUnderPointer(), White});
  const std::optional<int> start = draft_.playerStart();
  panel.facts.push_back(start ? PanelLine{"Start " + cellName(*start), White} : PanelLine{"No player start!", Warning});
  if (draft_.playerStartCount() > 1) {
    panel.facts.push_back({std::to_string(draft_.playerStartCount()) + " player starts: only " + cellName(*start) +
                               " counts",
                           Warning, 2});
  }
  const size_t unreachable = draft_.unreachableGold().size();
  if (start && unreachable > 0) {
    panel.facts.push_back({std::to_string(unreachable) + " gold out of reach (red)", Warning});
  }
  if (deadEndsAreCurrent()) {
    const DeadEndFindings& found = deadEnds_->findings();
    const bool done = found.state == DeadEndCheckState::Done;
    const int colour = !done ? (found.state == DeadEndCheckState::Running ? Dim : Warning)
                             : (found.traps > 0 ? TrapColour : (found.costly > 0 ? CostlyColour : White));
    panel.facts.push_back({"Dead ends: " + found.line, colour, 2});
    if (found.wayIntoFirstTrap) {
      panel.facts.push_back({"D shows the way in", TrapColour});
    }
  }
  if (endlessLives_) {
    panel.facts.push_back({"Play-tests: endless lives", White});
  }
  if (proof_) {
    const ProofResult& proof = proof_->result();
    const bool cleared = proof.state == ProofState::Cleared;
    panel.facts.push_back({"Proof: " + proof.line,
                           cleared ? Good : (proof.state == ProofState::Running ? White : Warning), 2});
    panel.facts.push_back({proof.effort, Dim});
    if (!proofIsCurrent()) {
      panel.facts.push_back({"(the level changed since)", Dim});
    } else if (proof.replay) {
      panel.facts.push_back({"W watches it", Dim});
    }
  } else {
    panel.facts.push_back({"Proof: press V", Dim});
  }
  panel.facts.push_back({"", White});
  panel.facts.push_back({"F1: every key  U: undo history", Dim});
  panel.facts.push_back({inSet() ? "Esc: back to the set" : "Esc: quit", Dim});
  return panel;
}

std::string Editor::promptText() const {
  switch (mode_) {
    case Mode::Typing: {
      // The end of a long text, where the typing happens, stays in view.
      const std::string shown = typed_.size() > PromptTailChars ? "~" + typed_.substr(typed_.size() - PromptTailChars)
                                                                 : typed_;
      return (typingTitle_ ? "Title: " : "Note: ") + shown + "_  (" +
             (replaceTyped_ ? "typing replaces it, Backspace edits it; " : "") + "Enter keeps, Escape drops)";
    }
    case Mode::Prompting: {
      static const char* const Purposes[] = {"Open", "Save as", "Save the set as", "Add to the set", "New set"};
      const std::string& text = prompt_->text();
      const std::string shown = text.size() > PromptTailChars ? "~" + text.substr(text.size() - PromptTailChars) : text;
      return std::string(Purposes[static_cast<int>(promptFor_)]) + ": " + shown + "_  (Enter takes it, Ctrl+U clears, Escape drops)";
    }
    case Mode::Confirming:
      return confirmQuestion_;
    default:
      return message_;
  }
}
