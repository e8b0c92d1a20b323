#include "editor/editor.h"

#include "editor/mouse_events.h"
#include "editor/play_in_window.h"

#include "base/globals.h"

#include <allegro.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <utility>

namespace fs = std::filesystem;

namespace {

constexpr int White = 0xFFFFFF;
constexpr int Dim = 0x888888;
constexpr int Warning = 0xFF4040;
constexpr int Good = 0x40FF40;
constexpr size_t MostTextChars = 200;
// Enough for a typed note of MostTextChars, and still room for every fact
// below the palette.
constexpr int MostNoteRows = 10;

constexpr int CtrlS = 19;
constexpr int CtrlY = 25;
constexpr int CtrlZ = 26;

// Set by the library's window thread when the close button is pressed.
std::atomic<bool> closePressed{false};
void onCloseButton() { closePressed = true; }

std::string cellName(int index) {
  return "(" + std::to_string(index / GridSize) + ", " + std::to_string(index % GridSize) + ")";
}

int clampToGrid(int value) { return std::clamp(value, 0, GridSize - 1); }

const char* const KeyHelp[] = {
    "Left button: paint",   "Right button: empty",   "Shift+drag: rectangle", "0-6 kind   G grid",
    "T title    N note",    "Ctrl+Z undo Ctrl+Y redo", "Ctrl+S save Esc quit",  "P play     V prove",
    "W watch the proof",    "  (hold F: fast)",
};

}  // namespace

Editor::Editor(const EditorFiles& files, const OpenedLevel& opened, EditorView& view, const std::string& workFolder)
    : files_(files), view_(view), workFolder_(workFolder), draft_(opened.source) {
  if (opened.isNew) {
    say("New level: " + files_.displayName + " does not exist yet.", Dim);
  }
}

void Editor::run() {
  listenToMouse();
  set_close_button_callback(onCloseButton);
  view_.invalidate();
  // Everything shown follows from a key, a click or the proof's progress, so
  // a tick with none of them has nothing to compose.
  bool happened = true;   // the first picture
  while (!quit_) {
    while (tickCount == 0) {
      rest(1);
    }
    tickCount = 0;
    if (closePressed.exchange(false)) {
      requestQuit();
      happened = true;
    }
    happened = readKeys() || happened;
    happened = readMouse() || happened;
    if (proof_ && proof_->poll()) {
      happened = true;
      if (proof_->result().state == ProofState::Failed) {
        say(proof_->result().line, Warning);
      }
    }
    if (std::exchange(happened, false)) {
      refresh();
    }
  }
}

bool Editor::readKeys() {
  bool read = false;
  while (!quit_ && keypressed()) {
    const int pressed = readkey();
    onKey(pressed >> 8, pressed & 0xFF, (key_shifts & KB_CTRL_FLAG) != 0);
    read = true;
  }
  return read;
}

void Editor::onKey(int scancode, int ascii, bool control) {
  switch (mode_) {
    case Mode::Drawing:
      onDrawingKey(scancode, ascii, control);
      break;
    case Mode::Typing:
      onTypingKey(scancode, ascii);
      break;
    case Mode::ConfirmingQuit:
      onQuitKey(scancode, ascii);
      break;
  }
}

void Editor::onDrawingKey(int scancode, int ascii, bool control) {
  if (ascii == CtrlS || (control && scancode == KEY_S)) {
    save();
  } else if (ascii == CtrlZ || (control && scancode == KEY_Z)) {
    endStroke();
    say(draft_.undo() ? "" : "Nothing to undo.", Dim);
  } else if (ascii == CtrlY || (control && scancode == KEY_Y)) {
    endStroke();
    say(draft_.redo() ? "" : "Nothing to redo.", Dim);
  } else if (ascii >= '0' && ascii < '0' + KindCount) {
    selectedKind_ = ascii - '0';
  } else if (scancode == KEY_G) {
    gridLines_ = !gridLines_;
  } else if (scancode == KEY_T || scancode == KEY_N) {
    startTyping(scancode == KEY_T);
  } else if (scancode == KEY_P) {
    playTest();
  } else if (scancode == KEY_V) {
    prove();
  } else if (scancode == KEY_W) {
    watchProof();
  } else if (scancode == KEY_ESC) {
    requestQuit();
  }
}

void Editor::requestQuit() {
  endStroke();
  mode_ = draft_.modified() ? Mode::ConfirmingQuit : Mode::Drawing;
  quit_ = !draft_.modified();
}

void Editor::onTypingKey(int scancode, int ascii) {
  if (scancode == KEY_ENTER || scancode == KEY_ENTER_PAD) {
    const std::string text = typed_.substr(std::min(typed_.find_first_not_of(' '), typed_.size()));
    if (typingTitle_) {
      draft_.setTitle(text);
    } else {
      draft_.setNote(text);
    }
    draft_.endStroke();
    mode_ = Mode::Drawing;
  } else if (scancode == KEY_ESC) {
    mode_ = Mode::Drawing;
  } else if (scancode == KEY_BACKSPACE) {
    replaceTyped_ = false;
    typed_ = typed_.substr(0, typed_.empty() ? 0 : typed_.size() - 1);
  } else if (ascii >= ' ' && ascii < 127) {
    if (std::exchange(replaceTyped_, false)) {
      typed_.clear();
    }
    if (typed_.size() < MostTextChars) {
      typed_ += static_cast<char>(ascii);
    }
  }
}

void Editor::onQuitKey(int scancode, int ascii) {
  if (ascii == 'y' || ascii == 'Y') {
    mode_ = Mode::Drawing;
    quit_ = save();
  } else if (ascii == 'n' || ascii == 'N') {
    quit_ = true;
  } else if (scancode == KEY_ESC) {
    mode_ = Mode::Drawing;
  }
}

void Editor::startTyping(bool title) {
  endStroke();
  mode_ = Mode::Typing;
  typingTitle_ = title;
  typed_ = title ? draft_.source().title : draft_.source().note;
  replaceTyped_ = true;
}

bool Editor::readMouse() {
  bool read = false;
  while (const std::optional<MouseEvent> event = nextMouseEvent()) {
    onMouse(event->flags, event->x, event->y);
    read = true;
  }
  return read;
}

void Editor::onMouse(int flags, int x, int y) {
  const bool down = (flags & (MOUSE_FLAG_LEFT_DOWN | MOUSE_FLAG_RIGHT_DOWN)) != 0;
  if (down && !stroking_ && mode_ == Mode::Drawing) {
    if (const auto cell = view_.cellAt(x, y)) {
      stroking_ = true;
      rectangle_ = (key_shifts & KB_SHIFT_FLAG) != 0;
      strokeCode_ = static_cast<int8_t>((flags & MOUSE_FLAG_LEFT_DOWN) ? selectedKind_ : Empty);
      anchor_ = last_ = *cell;
      if (!rectangle_) {
        draft_.paint(cell->at(0), cell->at(1), strokeCode_);
      }
    } else if (const auto kind = view_.paletteKindAt(x, y)) {
      selectedKind_ = *kind;
    } else if (const auto line = view_.headerLineAt(x, y); line && *line > 0) {
      startTyping(*line == 1);
    }
    return;
  }
  if (stroking_ && (flags & MOUSE_FLAG_MOVE)) {
    strokeTo(x, y);
  }
  if (stroking_ && (flags & (MOUSE_FLAG_LEFT_UP | MOUSE_FLAG_RIGHT_UP))) {
    strokeTo(x, y);
    endStroke();
  }
}

void Editor::strokeTo(int x, int y) {
  std::array<int, 2> cell = view_.cellUnder(x, y);
  if (rectangle_) {
    last_ = {clampToGrid(cell[0]), clampToGrid(cell[1])};
  } else if (cell != last_) {
    draft_.paintLine(last_[0], last_[1], cell[0], cell[1], strokeCode_);
    last_ = cell;
  }
}

void Editor::endStroke() {
  if (stroking_ && rectangle_) {
    draft_.fillRectangle(anchor_[0], anchor_[1], last_[0], last_[1], strokeCode_);
  }
  stroking_ = false;
  draft_.endStroke();
}

bool Editor::save() {
  endStroke();
  if (!draft_.playerStart()) {
    say("Not saved: a level needs a player start (key 5).", Warning);
    return false;
  }
  std::ostringstream text;
  writeLevelSource(text, draft_.source());
  const std::string error = writeFileAtomically(files_.levelPath, text.str());
  if (!error.empty()) {
    say(error + ". The level is not saved.", Warning);
    return false;
  }
  draft_.markSaved();
  say("Saved " + files_.displayName + ".", Good);
  if (proofIsCurrent() && proof_->result().replay) {
    Replay replay = *proof_->result().replay;
    replay.levelFile = fs::path(files_.levelPath).filename().string();
    std::ostringstream replayText;
    replayText << proof_->result().replayComment << "\n";
    writeReplay(replayText, replay);
    const std::string replayPath = replayPathBeside(files_.levelPath);
    const std::string replayError = writeFileAtomically(replayPath, replayText.str());
    say(replayError.empty() ? "Saved " + files_.displayName + " and its proof " +
                                  fs::path(replayPath).filename().string() + "."
                            : "Saved the level, but not its proof: " + replayError,
        replayError.empty() ? Good : Warning);
  }
  return true;
}

void Editor::playTest() {
  if (!draft_.playerStart()) {
    say("A level needs a player start (key 5) to be played.", Warning);
    return;
  }
  view_.showPrompt("Play-test: Escape, or the end of the game, returns to the editor.", White);
  view_.present();
  ::playTest(draft_.source().level, playWindow());
  takeWindowBack();
}

// A proof under way goes on during a play-test; its output is read meanwhile
// so that the solver never waits on a full pipe.
PlayWindow Editor::playWindow() {
  return {[this] {
            if (proof_) {
              proof_->poll();
            }
            return closePressed.load();
          },
          [this] { view_.presentGameFrame(); }};
}

// Keys pressed and clicks made in the game are not meant for the drawing.
void Editor::takeWindowBack() {
  clear_keybuf();
  while (nextMouseEvent()) {
  }
  view_.invalidate();
  say("", Dim);
}

void Editor::prove() {
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
  proof_ = std::make_unique<ProofRun>(files_.solverPath, files_.assetsPath, folder.string(),
                                      fs::path(files_.levelPath).stem().string(), draft_.source());
  say("", Dim);
}

void Editor::watchProof() {
  if (!proofIsCurrent() || !proof_->result().replay) {
    say("Nothing to watch: prove the level as it stands first (V).", Warning);
    return;
  }
  view_.showPrompt("Watching the proof: hold F to fast-forward, Escape returns.", White);
  view_.present();
  const bool cleared = watchReplay(draft_.source().level, *proof_->result().replay, playWindow());
  takeWindowBack();
  if (cleared) {
    say("The proof was watched to its end: the level is cleared.", Good);
  }
}

bool Editor::proofIsCurrent() const {
  return proof_ && std::memcmp(proof_->level().cells, draft_.source().level.cells, CellCount) == 0;
}

void Editor::say(const std::string& text, int colour) {
  message_ = text;
  messageColour_ = colour;
}

void Editor::refresh() {
  view_.showGrid(draft_, draft_.takeChangedCells(), gridMarks());
  view_.showPanel(panelContent());
  view_.showPrompt(promptText(), mode_ == Mode::Drawing ? messageColour_ : White);
  view_.present();
}

GridMarks Editor::gridMarks() const {
  GridMarks marks;
  marks.gridLines = gridLines_;
  marks.start = draft_.playerStart();
  marks.unreachableGold = draft_.unreachableGold();
  if (proofIsCurrent()) {
    marks.missedGold = proof_->result().missedGold;
  }
  if (stroking_ && rectangle_) {
    marks.rectangle = CellRect{std::min(anchor_[0], last_[0]), std::min(anchor_[1], last_[1]),
                               std::max(anchor_[0], last_[0]), std::max(anchor_[1], last_[1])};
  }
  return marks;
}

PanelContent Editor::panelContent() const {
  PanelContent panel;
  const LevelSource& source = draft_.source();
  panel.header = {{fs::path(files_.displayName).filename().string() + (draft_.modified() ? " *" : ""), Dim},
                  {"Title: " + source.title, White},
                  {"Note: " + source.note, White, MostNoteRows}};
  panel.selectedKind = selectedKind_;
  panel.facts.push_back({"Gold " + std::to_string(draft_.goldCount()) + "   Enemies " +
                             std::to_string(draft_.enemyCount()),
                         White});
  const std::optional<int> start = draft_.playerStart();
  panel.facts.push_back(start ? PanelLine{"Start " + cellName(*start), White} : PanelLine{"No player start!", Warning});
  const size_t unreachable = draft_.unreachableGold().size();
  if (start && unreachable > 0) {
    panel.facts.push_back({std::to_string(unreachable) + " gold out of reach", Warning});
  }
  panel.facts.push_back({"", White});
  if (proof_) {
    const ProofResult& proof = proof_->result();
    const bool cleared = proof.state == ProofState::Cleared;
    panel.facts.push_back({"Proof:", White});
    panel.facts.push_back({proof.line, cleared ? Good : (proof.state == ProofState::Running ? White : Warning)});
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
  for (const char* help : KeyHelp) {
    panel.facts.push_back({help, Dim});
  }
  return panel;
}

std::string Editor::promptText() const {
  switch (mode_) {
    case Mode::Typing:
      return (typingTitle_ ? "Title: " : "Note: ") + typed_ + "_  (" +
             (replaceTyped_ ? "typing replaces it, Backspace edits it; " : "") + "Enter keeps, Escape drops)";
    case Mode::ConfirmingQuit:
      return "Unsaved changes. Y: save and quit  N: quit without saving  Escape: go on editing";
    default:
      return message_;
  }
}
