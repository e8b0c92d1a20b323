// Play-tests and proofs of the level being drawn: the game's running state
// in the editor's window, and the solver in the background.
#include "editor/editor.h"

#include "editor/editor_colours.h"
#include "editor/input_events.h"

#include "analysis/human_margin.h"
#include "replay/replay_runner.h"

#include "base/globals.h"

#include <allegro.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string cellName(int x, int y) { return "(" + std::to_string(x) + ", " + std::to_string(y) + ")"; }

}  // namespace

void Editor::playTest(bool fromPointer) {
  endStroke();
  Level level = draft_.source().level;
  PlayOptions options{true, endlessLives_, std::nullopt};
  std::string from = "the start";
  if (fromPointer) {
    if (!pointerCell_) {
      say("Shift+P plays from the cell under the pointer: point at the grid.", Warning);
      return;
    }
    const auto [x, y] = *pointerCell_;
    // A level file needs a start; an empty cell given one plays the same.
    if (!draft_.playerStart() && level.cells[cellIndex(x, y)] != Empty) {
      say("A level needs a player start (key 5) to be played, or point at an empty cell.", Warning);
      return;
    }
    if (!draft_.playerStart()) {
      level.cells[cellIndex(x, y)] = PlayerStart;
    }
    options.startCell = *pointerCell_;
    from = cellName(x, y);
  } else if (!draft_.playerStart()) {
    say("A level needs a player start (key 5) to be played.", Warning);
    return;
  }
  showPlaying("Play-test from " + from + (endlessLives_ ? ", endless lives" : "") +
              ": Escape, game over or the level cleared comes back.");
  const PlayFigures figures = playLevels(singleLevelMapsBin(level), options, playWindow());
  takeWindowBack();
  say((figures.cleared ? "Cleared from " : "Played from ") + from + ": " + describeFigures(figures),
      figures.cleared ? Good : Warning);
}

std::string Editor::describeFigures(const PlayFigures& figures) const {
  char time[32];
  std::snprintf(time, sizeof time, "%.1f s", secondsOf(figures.updates));
  std::string text = std::string(time) + ", " + std::to_string(figures.livesLost) +
                     (figures.livesLost == 1 ? " life" : " lives") + " lost, score " + std::to_string(figures.score) +
                     ".";
  if (!figures.cleared && figures.lastDeath) {
    const PlayDeath& death = *figures.lastDeath;
    text += (death.buried ? " Last death: buried in a refilled hole at " : " Last death: caught by an enemy at ") +
            cellName(death.cellX, death.cellY) + ".";
  }
  return text;
}

void Editor::showPlaying(const std::string& what) {
  PanelContent panel;
  panel.palette = false;
  panel.header = {{"", White}, {"", White}, {"", White}};
  panel.facts = {{"", White}, {what, White, 4}};
  view_.showPanel(panel);
  view_.showPrompt("", White);
  view_.present();
}

// Keys pressed and clicks made in the game are not meant for the drawing.
void Editor::takeWindowBack() {
  dropInputEvents();
  view_.invalidate();
}

void Editor::prove() {
  endStroke();
  if (proof_ && proof_->result().state == ProofState::Running) {
    proof_.reset();
    say("Proof stopped.", Dim);
    return;
  }
  if (!draft_.playerStart()) {
    say("A level needs a player start (key 5) to be proved.", Warning);
    return;
  }
  const fs::path folder = fs::path(workFolder_) / ("proof" + std::to_string(++proofsStarted_));
  std::error_code error;
  fs::create_directories(folder, error);
  proof_.reset();
  proofMarginRun_.reset();
  criticalPresses_.clear();
  const std::string name = levelPath_.empty() ? "untitled" : fs::path(levelPath_).stem().string();
  proof_ = std::make_unique<ProofRun>(files_.solverPath, folder.string(), name, draft_.source());
  say("", Dim);
}

void Editor::watchProof() {
  if (!proofIsCurrent() || !proof_->result().replay) {
    say("Nothing to watch: prove the level as it stands first (V).", Warning);
    return;
  }
  showPlaying(criticalPresses_.empty()
                  ? "Watching the proof: hold F to fast-forward, Escape comes back."
                  : "Watching the proof, presses with little room framed in magenta: F fast-forwards, Escape back.");
  const bool cleared = watchReplay(draft_.source().level, *proof_->result().replay, playWindow(), criticalPresses_);
  takeWindowBack();
  say(cleared ? "The proof was watched to its end: the level is cleared." : "", Good);
}

// mellow-quarrier-level-check --min-margin names each press below the margin given; a
// person's room is RoomyMarginUpdates.
void Editor::startProofMargin() {
  proofMarginRun_.reset();
  criticalPresses_.clear();
  if (!proof_->result().replay) {
    return;
  }
  const fs::path folder = fs::path(workFolder_) / ("proof-margin" + std::to_string(proofsStarted_));
  std::error_code error;
  fs::create_directories(folder, error);
  std::string problem;
  if (!saveReplay((folder / "level.replay").string(), *proof_->result().replay, problem)) {
    return;
  }
  proofMarginRun_ = std::make_unique<LevelToolRun>(
      std::vector<std::string>{files_.checkerPath, "--min-margin", std::to_string(RoomyMarginUpdates)},
      folder.string(), "level", draft_.source());
}

bool Editor::pollProofMargin() {
  int exitStatus = 0;
  if (!proofMarginRun_ || !proofMarginRun_->poll(
                              [this](const std::string& line) {
                                WatchMark mark{};
                                if (std::sscanf(line.c_str(), "  press at update %u in (%d, %d)", &mark.update,
                                                &mark.column, &mark.row) == 3) {
                                  criticalPresses_.push_back(mark);
                                }
                              },
                              exitStatus)) {
    return false;
  }
  proofMarginRun_.reset();
  return true;
}

bool Editor::checkDeadEnds() {
  const bool changed = !deadEnds_ || std::memcmp(deadEnds_->level().cells, draft_.source().level.cells, CellCount) != 0;
  if (changed && !tool_->stroking() && mode_ != Mode::SetList && draft_.playerStart()) {
    // One check at a time: a new one ends the old before it takes its folder.
    deadEnds_.reset();
    const fs::path folder = fs::path(workFolder_) / "dead-ends";
    std::error_code error;
    fs::create_directories(folder, error);
    deadEnds_ = std::make_unique<DeadEndRun>(files_.checkerPath, folder.string(), "level", draft_.source());
    return true;
  }
  return deadEnds_ && deadEnds_->poll();
}

bool Editor::deadEndsAreCurrent() const {
  return deadEnds_ && draft_.playerStart() &&
         std::memcmp(deadEnds_->level().cells, draft_.source().level.cells, CellCount) == 0;
}

void Editor::watchWayIntoTrap() {
  if (!deadEndsAreCurrent() || !deadEnds_->findings().wayIntoFirstTrap) {
    say("No trap to show: the dead-end check has found none in the level as it stands.", Dim);
    return;
  }
  showPlaying("The way into the first trap, the enemies left out: hold F to fast-forward, Escape comes back.");
  watchReplay(draft_.source().level, *deadEnds_->findings().wayIntoFirstTrap, playWindow());
  takeWindowBack();
  say("That was the way into the first trap: from there only Escape ends the game.", TrapColour);
}

bool Editor::proofIsCurrent() const {
  return proof_ && std::memcmp(proof_->level().cells, draft_.source().level.cells, CellCount) == 0;
}
