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
      startProofMargin();
    }
    happened = pollProofMargin() || happened;
    happened = pollLevelMake() || happened;
    const bool unmeasured = std::find(setFacts_.begin(), setFacts_.end(), std::nullopt) != setFacts_.end();
    if (set_ && (setProof_ || !proveQueue_.empty() || unmeasured)) {
      pollProveAll();
      measureOneSetLevel();
      happened = true;
    }
    happened = measureSetInBackground() || happened;
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
  if (overlay_ != Overlay::None && onOverlayKey(key)) {
    return;
  }
  if (const std::optional<FoundBinding> found = bindingFor(KeyPlace::Drawing, key.scancode, key.control, key.shift)) {
    onDrawingCommand(*found);
  }
}

void Editor::onDrawingCommand(const FoundBinding& found) {
  switch (found.command) {
    case Command::SelectKind:
      paint_.setKind(found.chord % KindCount);
      useTool(paint_);
      break;
    case Command::Save: save(); break;
    case Command::SaveAs: startPrompt(PromptFor::SaveAs); break;
    case Command::Open: unlessUnsaved(false, "opening another file", [this] { startPrompt(PromptFor::Open); }); break;
    case Command::NewLevel: unlessUnsaved(false, "starting a new level", [this] { newLevel(); }); break;
    case Command::NewSet: unlessUnsaved(true, "starting a new set", [this] { startPrompt(PromptFor::NewSet); }); break;
    case Command::Undo:
      endStroke();
      say(draft_.undo() ? "" : "Nothing to undo.", Dim);
      break;
    case Command::Redo:
      endStroke();
      say(draft_.redo() ? "" : "Nothing to redo.", Dim);
      break;
    case Command::History: overlay_ = Overlay::History; break;
    case Command::Help: overlay_ = Overlay::Help; break;
    case Command::ZoomIn: zoom(1); break;
    case Command::ZoomOut: zoom(-1); break;
    case Command::GridLines: gridLines_ = !gridLines_; break;
    case Command::EditTitle: startTyping(true); break;
    case Command::EditNote: startTyping(false); break;
    case Command::PlayTest: playTest(false); break;
    case Command::PlayFromPointer: playTest(true); break;
    case Command::EndlessLives: endlessLives_ = !endlessLives_; break;
    case Command::Prove: prove(); break;
    case Command::WatchProof: watchProof(); break;
    case Command::ShowTrap: watchWayIntoTrap(); break;
    case Command::SelectTool: useTool(tool_ == &select_ ? static_cast<Tool&>(paint_) : select_); break;
    case Command::Fill: fillUnderPointer(); break;
    case Command::Mirror: mirror(); break;
    case Command::Copy: copySelection(false); break;
    case Command::Cut: copySelection(true); break;
    case Command::Paste: paste(); break;
    case Command::Move: moveSelection(); break;
    case Command::DeleteSelection: deleteSelection(); break;
    case Command::Quit:
      if (dropSelection()) {
        break;
      }
      if (inSet()) {
        unlessUnsaved(false, "going back to the set", [this] { backToSet(); });
      } else {
        requestQuit();
      }
      break;
    default: break;
  }
}

bool Editor::onOverlayKey(const Key& key) {
  const std::optional<FoundBinding> found = bindingFor(KeyPlace::Drawing, key.scancode, key.control, key.shift);
  const bool stepping = overlay_ == Overlay::History &&
                        (key.scancode == KEY_UP || key.scancode == KEY_DOWN ||
                         (found && (found->command == Command::Undo || found->command == Command::Redo)));
  if (!stepping) {
    overlay_ = Overlay::None;
    view_.invalidate();
    return true;
  }
  const bool back = key.scancode == KEY_UP || found->command == Command::Undo;
  say((back ? draft_.undo() : draft_.redo()) ? "" : back ? "Nothing to undo." : "Nothing to redo.", Dim);
  return true;
}

void Editor::onTypingKey(const Key& key) {
  if (key.scancode == KEY_ENTER || key.scancode == KEY_ENTER_PAD) {
    const std::string text = typed_.substr(std::min(typed_.find_first_not_of(' '), typed_.size()));
    if (typingGenerate_) {
      mode_ = Mode::SetList;
      generateAfterChosen(text);
      return;
    }
    if (typingTitle_) {
      draft_.setTitle(text);
    } else {
      draft_.setNote(text);
    }
    draft_.endStroke();
    mode_ = Mode::Drawing;
    say("", Dim);
  } else if (key.scancode == KEY_ESC) {
    mode_ = typingGenerate_ ? Mode::SetList : Mode::Drawing;
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
  typingGenerate_ = false;
  typed_ = title ? draft_.source().title : draft_.source().note;
  replaceTyped_ = true;
}

void Editor::onMouse(int flags, int x, int y) {
  pointerPixel_ = {x, y};
  pointerCell_ = mode_ == Mode::SetList || overlay_ != Overlay::None ? std::nullopt : view_.cellAt(x, y);
  const bool down = (flags & (MOUSE_FLAG_LEFT_DOWN | MOUSE_FLAG_RIGHT_DOWN)) != 0;
  if (down && mode_ == Mode::SetList && overlay_ == Overlay::None) {
    onSetMouse(x, y);
    return;
  }
  if (down && !tool_->stroking() && mode_ == Mode::Drawing && overlay_ == Overlay::None) {
    if (pointerCell_) {
      onGridPress(flags);
    } else if (const auto kind = view_.paletteKindAt(x, y)) {
      paint_.setKind(*kind);
      useTool(paint_);
    } else if (const auto line = view_.headerLineAt(x, y); line && *line > 0) {
      startTyping(*line == 1);
    }
    return;
  }
  if (flags & MOUSE_FLAG_MOVE) {
    tool_->moveTo(draft_, view_.cellUnder(x, y));
  }
  if (tool_->stroking() && (flags & (MOUSE_FLAG_LEFT_UP | MOUSE_FLAG_RIGHT_UP))) {
    tool_->moveTo(draft_, view_.cellUnder(x, y));
    endStroke();
  }
}

void Editor::onGridPress(int flags) {
  // What was said of the level before ("does not exist yet", "saved",
  // "needs a player start") may stop being true with this change.
  say("", Dim);
  const bool right = (flags & MOUSE_FLAG_LEFT_DOWN) == 0;
  tool_->press(draft_, {*pointerCell_, right, (key_shifts & KB_SHIFT_FLAG) != 0});
}

void Editor::endStroke() {
  tool_->release(draft_);
  draft_.endStroke();
}

void Editor::zoom(int step) {
  endStroke();
  int desktopWidth = 0;
  int desktopHeight = 0;
  if (get_desktop_resolution(&desktopWidth, &desktopHeight) != 0) {
    desktopWidth = desktopHeight = 0;
  }
  const int largest = desktopWidth > 0 ? fittingScale(desktopWidth, desktopHeight) : MostScale;
  const int scale = std::clamp(view_.scale() + step, 1, largest);
  if (scale == view_.scale()) {
    say(step > 0 ? "As large as the screen allows." : "As small as it gets.", Dim);
    return;
  }
  const std::string problem = view_.rescale(scale);
  // A new window has the library's title until it is given ours again.
  windowTitle_.clear();
  say(problem.empty() ? "" : "Cannot zoom: " + problem, problem.empty() ? Dim : Warning);
}

void Editor::useTool(Tool& tool) {
  endStroke();
  if (&tool != tool_) {
    select_.dropFloating();
  }
  tool_ = &tool;
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
  if (overlay_ != Overlay::None && (mode_ == Mode::Drawing || mode_ == Mode::SetList)) {
    view_.showList(overlayContent());
    view_.showPanel(mode_ == Mode::SetList ? setPanelContent() : panelContent());
  } else if (mode_ == Mode::SetList || (mode_ == Mode::Confirming && returnMode_ == Mode::SetList)) {
    view_.showList(setListContent());
    view_.showPanel(setPanelContent());
  } else if (mode_ == Mode::Prompting) {
    ListContent choices;
    choices.heading = prompt_->news().empty() ? "Tab completes, Up and Down pick, NAME/ makes a folder:"
                                              : prompt_->news();
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
