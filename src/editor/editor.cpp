#include "editor/editor.h"

#include "editor/editor_colours.h"
#include "editor/input_events.h"
#include "editor/typed_text.h"

#include "base/globals.h"

#include <allegro.h>

#include <algorithm>
#include <atomic>
#include <utility>

namespace {

constexpr size_t MostTextChars = 200;

// Set by the library's window thread when the close button is pressed.
std::atomic<bool> closePressed{false};
void onCloseButton() { closePressed = true; }

int clampToGrid(int value) { return std::clamp(value, 0, GridSize - 1); }

}  // namespace

Editor::Editor(const EditorFiles& files, EditorView& view, const std::string& workFolder)
    : files_(files), view_(view), workFolder_(workFolder), draft_(LevelSource{}) {}

void Editor::run() {
  listenToInput();
  set_close_button_callback(onCloseButton);
  view_.invalidate();
  // Everything shown follows from a key, a click or the proofs' progress,
  // so a tick with none of them has nothing to compose.
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
    happened = readInput() || happened;
    happened = checkDeadEnds() || happened;
    if (proof_ && proof_->poll()) {
      happened = true;
      if (proof_->result().state == ProofState::Failed) {
        say(proof_->result().line, Warning);
      }
    }
    const bool unmeasured = std::find(setFacts_.begin(), setFacts_.end(), std::nullopt) != setFacts_.end();
    if (set_ && (setProof_ || !proveQueue_.empty() || unmeasured)) {
      pollProveAll();
      measureOneSetLevel();
      happened = true;
    }
    if (std::exchange(happened, false)) {
      refresh();
    }
  }
}

bool Editor::readInput() {
  bool read = false;
  while (!quit_) {
    const std::optional<InputEvent> event = nextInputEvent();
    if (!event) {
      break;
    }
    read = true;
    if (!event->isKey) {
      onMouse(event->mouse.flags, event->mouse.x, event->mouse.y);
      continue;
    }
    // Ctrl with a letter gives a control code, Ctrl held or not.
    const KeyEvent& key = event->key;
    const bool letter = key.scancode >= KEY_A && key.scancode <= KEY_Z;
    const bool control = key.control || (letter && key.character > 0 && key.character < ' ');
    try {
      onKey({key.scancode, control ? 0 : key.character, control, key.shift});
    } catch (const GameCannotStart& problem) {
      takeWindowBack();
      say(std::string("The game cannot start: ") + problem.what(), Warning);
    }
  }
  return read;
}

void Editor::onKey(const Key& key) {
  refusal_.clear();
  switch (mode_) {
    case Mode::Drawing:
      onDrawingKey(key);
      break;
    case Mode::Typing:
      onTypingKey(key);
      break;
    case Mode::Prompting:
      onPromptKey(key);
      break;
    case Mode::Confirming:
      onConfirmKey(key);
      break;
    case Mode::SetList:
      onSetKey(key);
      break;
  }
}

void Editor::onDrawingKey(const Key& key) {
  if (key.control) {
    switch (key.scancode) {
      case KEY_S:
        key.shift ? startPrompt(PromptFor::SaveAs) : static_cast<void>(save());
        break;
      case KEY_O:
        unlessUnsaved(false, "opening another file", [this] { startPrompt(PromptFor::Open); });
        break;
      case KEY_N:
        unlessUnsaved(false, "starting a new level", [this] { newLevel(); });
        break;
      case KEY_Z:
        endStroke();
        say(draft_.undo() ? "" : "Nothing to undo.", Dim);
        break;
      case KEY_Y:
        endStroke();
        say(draft_.redo() ? "" : "Nothing to redo.", Dim);
        break;
      default:
        break;
    }
    return;
  }
  const int kind = key.character - '0';
  if (kind >= 0 && kind < KindCount) {
    selectedKind_ = kind;
    return;
  }
  switch (key.scancode) {
    case KEY_G: gridLines_ = !gridLines_; break;
    case KEY_T: startTyping(true); break;
    case KEY_N: startTyping(false); break;
    case KEY_P: playTest(key.shift); break;
    case KEY_L: endlessLives_ = !endlessLives_; break;
    case KEY_V: prove(); break;
    case KEY_W: watchProof(); break;
    case KEY_D: watchWayIntoTrap(); break;
    case KEY_ESC:
      if (setLevelOpen_) {
        unlessUnsaved(false, "going back to the set", [this] { backToSet(); });
      } else {
        requestQuit();
      }
      break;
    default: break;
  }
}

void Editor::onTypingKey(const Key& key) {
  if (key.scancode == KEY_ENTER || key.scancode == KEY_ENTER_PAD) {
    const std::string text = typed_.substr(std::min(typed_.find_first_not_of(' '), typed_.size()));
    if (typingTitle_) {
      draft_.setTitle(text);
    } else {
      draft_.setNote(text);
    }
    draft_.endStroke();
    mode_ = Mode::Drawing;
    say("", Dim);
  } else if (key.scancode == KEY_ESC) {
    mode_ = Mode::Drawing;
  } else if (key.scancode == KEY_BACKSPACE) {
    replaceTyped_ = false;
    typed_ = typed_.substr(0, typed_.empty() ? 0 : typed_.size() - 1);
  } else if (key.character >= ' ' && !key.control) {
    if (!fontDraws(key.character)) {
      refusal_ = refusalOf(key.character);
      return;
    }
    if (std::exchange(replaceTyped_, false)) {
      typed_.clear();
    }
    if (typed_.size() < MostTextChars) {
      typed_ += static_cast<char>(key.character);
    } else {
      refusal_ = "At most " + std::to_string(MostTextChars) + " characters.";
    }
  }
}

void Editor::startTyping(bool title) {
  endStroke();
  mode_ = Mode::Typing;
  typingTitle_ = title;
  typed_ = title ? draft_.source().title : draft_.source().note;
  replaceTyped_ = true;
}

void Editor::onMouse(int flags, int x, int y) {
  pointerCell_ = mode_ == Mode::SetList ? std::nullopt : view_.cellAt(x, y);
  const bool down = (flags & (MOUSE_FLAG_LEFT_DOWN | MOUSE_FLAG_RIGHT_DOWN)) != 0;
  if (down && mode_ == Mode::SetList) {
    onSetMouse(x, y);
    return;
  }
  if (down && !stroking_ && mode_ == Mode::Drawing) {
    if (pointerCell_) {
      // What was said of the level before ("does not exist yet", "saved",
      // "needs a player start") may stop being true with this change.
      say("", Dim);
      stroking_ = true;
      rectangle_ = (key_shifts & KB_SHIFT_FLAG) != 0;
      strokeCode_ = static_cast<int8_t>((flags & MOUSE_FLAG_LEFT_DOWN) ? selectedKind_ : Empty);
      anchor_ = last_ = *pointerCell_;
      if (!rectangle_) {
        draft_.paint(anchor_[0], anchor_[1], strokeCode_);
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

// A proof under way goes on during a play-test; its output is read meanwhile
// so that the solver never waits on a full pipe.
PlayWindow Editor::playWindow() {
  return {[this] {
            if (proof_) {
              proof_->poll();
            }
            if (setProof_) {
              setProof_->poll();
            }
            return closePressed.load();
          },
          [this] { view_.presentGameFrame(); }};
}

void Editor::say(const std::string& text, int colour) {
  message_ = text;
  messageColour_ = colour;
}

void Editor::refresh() {
  if (mode_ == Mode::SetList || (mode_ == Mode::Confirming && returnMode_ == Mode::SetList)) {
    view_.showList(setListContent());
    view_.showPanel(setPanelContent());
  } else if (mode_ == Mode::Prompting) {
    ListContent choices;
    choices.heading = "In the folder (Tab completes, Up and Down pick):";
    for (const std::string& name : prompt_->choices()) {
      choices.rows.push_back({name, name.back() == '/' ? Dim : White});
    }
    choices.selected = prompt_->picked().value_or(-1);
    choices.firstShown = std::max(0, choices.selected - ListRowsShown + 1);
    view_.showList(choices);
    view_.showPanel(panelContent());
  } else {
    view_.showGrid(draft_, draft_.takeChangedCells(), gridMarks());
    view_.showPanel(panelContent());
  }
  const bool plain = mode_ == Mode::Drawing || mode_ == Mode::SetList;
  view_.showPrompt(refusal_.empty() ? promptText() : refusal_,
                   !refusal_.empty() ? Warning : plain ? messageColour_ : White);
  updateWindowTitle();
  view_.present();
}
