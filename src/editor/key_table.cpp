#include "editor/key_table.h"

#include "level/cell_kinds.h"

#include <allegro.h>

namespace {

constexpr Modifiers None = Modifiers::None;
constexpr Modifiers Shift = Modifiers::Shift;
constexpr Modifiers Control = Modifiers::Control;
constexpr Modifiers ControlShift = Modifiers::ControlShift;

// The digits of the main keyboard, then those of the keypad: a chord's index
// modulo the palette's size is the kind.
std::vector<Chord> kindDigits() {
  std::vector<Chord> chords;
  for (int first : {KEY_0, KEY_0_PAD}) {
    for (int kind = 0; kind < paletteKindCount(); ++kind) {
      chords.push_back({first + kind, None});
    }
  }
  return chords;
}

std::vector<KeyBinding> makeTable() {
  using P = KeyPlace;
  using C = Command;
  return {
      {P::Drawing, C::Mouse, "Left button", "paints the kind; drag: a line", {}},
      {P::Drawing, C::Mouse, "Right button", "paints Empty; drag: a line", {}},
      {P::Drawing, C::Mouse, "Shift + drag", "fills a rectangle", {}},
      {P::Drawing, C::Mouse, "Click in the palette", "selects a kind", {}},
      {P::Drawing, C::SelectKind, "0 to " + std::to_string(paletteKindCount() - 1), "selects a kind to paint", kindDigits()},
      {P::Drawing, C::Fill, "B", "fills the region under the pointer", {{KEY_B, None}}},
      {P::Drawing, C::SelectTool, "S", "selects a rectangle: drag it", {{KEY_S, None}}},
      {P::Drawing, C::Copy, "Ctrl+C", "copies the selection", {{KEY_C, Control}}},
      {P::Drawing, C::Cut, "Ctrl+X", "cuts the selection", {{KEY_X, Control}}},
      {P::Drawing, C::Paste, "Ctrl+V", "pastes: a click places it", {{KEY_V, Control}}},
      {P::Drawing, C::Move, "M", "moves the selection: a click places it", {{KEY_M, None}}},
      {P::Drawing, C::DeleteSelection, "Delete", "empties the selection", {{KEY_DEL, None}}},
      {P::Drawing, C::Mirror, "X", "mirrors the selection, or the level", {{KEY_X, None}}},
      {P::Drawing, C::EditTitle, "T", "edits the title", {{KEY_T, None}}},
      {P::Drawing, C::EditNote, "N", "edits the note", {{KEY_N, None}}},
      {P::Drawing, C::GridLines, "G", "grid lines on or off", {{KEY_G, None}}},
      {P::Drawing, C::Undo, "Ctrl+Z", "undo", {{KEY_Z, Control}}},
      {P::Drawing, C::Redo, "Ctrl+Y", "redo", {{KEY_Y, Control}}},
      {P::Drawing, C::History, "U", "the undo history", {{KEY_U, None}}},
      {P::Drawing, C::Save, "Ctrl+S", "saves", {{KEY_S, Control}}},
      {P::Drawing, C::SaveAs, "Ctrl+Shift+S", "saves as another file", {{KEY_S, ControlShift}}},
      {P::Drawing, C::Open, "Ctrl+O", "opens a level or a set", {{KEY_O, Control}}},
      {P::Drawing, C::NewLevel, "Ctrl+N", "starts a new level", {{KEY_N, Control}}},
      {P::Drawing, C::NewSet, "Ctrl+Shift+N", "starts a new level set", {{KEY_N, ControlShift}}},
      {P::Drawing, C::PlayTest, "P", "play-tests from the start", {{KEY_P, None}}},
      {P::Drawing, C::PlayFromPointer, "Shift+P", "play-tests from the pointer", {{KEY_P, Shift}}},
      {P::Drawing, C::EndlessLives, "L", "endless lives on or off", {{KEY_L, None}}},
      {P::Drawing, C::Prove, "V", "proves the level (V stops)", {{KEY_V, None}}},
      {P::Drawing, C::WatchProof, "W", "watches the proof (F: fast)", {{KEY_W, None}}},
      {P::Drawing, C::ShowTrap, "D", "shows the way into the first trap", {{KEY_D, None}}},
      {P::Drawing, C::ZoomIn, "Z", "zooms in, as far as the screen allows", {{KEY_Z, None}}},
      {P::Drawing, C::ZoomOut, "Shift+Z", "zooms out", {{KEY_Z, Shift}}},
      {P::Drawing, C::Help, "F1", "every key, here", {{KEY_F1, None}}},
      {P::Drawing, C::Quit, "Escape", "quits, or goes back to the set", {{KEY_ESC, None}}},

      {P::Set, C::Mouse, "A click", "chooses a level; on the chosen one, edits it", {}},
      {P::Set, C::SetUp, "Up", "chooses the level above", {{KEY_UP, None}}},
      {P::Set, C::SetDown, "Down", "chooses the level below", {{KEY_DOWN, None}}},
      {P::Set, C::SetMoveUp, "Shift+Up", "moves it up the play order", {{KEY_UP, Shift}}},
      {P::Set, C::SetMoveDown, "Shift+Down", "moves it down the play order", {{KEY_DOWN, Shift}}},
      {P::Set, C::SetEdit, "Enter, E", "edits it (Escape comes back)", {{KEY_ENTER, None}, {KEY_ENTER_PAD, None}, {KEY_E, None}}},
      {P::Set, C::SetAdd, "A", "adds a new or existing file", {{KEY_A, None}}},
      {P::Set, C::SetRemove, "Delete", "takes it out of the set", {{KEY_DEL, None}}},
      {P::Set, C::SetProveAll, "V", "proves all not yet proven", {{KEY_V, None}}},
      {P::Set, C::SetPlay, "P", "plays the set from it", {{KEY_P, None}}},
      {P::Set, C::EndlessLives, "L", "endless lives on or off", {{KEY_L, None}}},
      {P::Set, C::Save, "Ctrl+S", "saves the list", {{KEY_S, Control}}},
      {P::Set, C::SaveAs, "Ctrl+Shift+S", "saves the list as", {{KEY_S, ControlShift}}},
      {P::Set, C::Open, "Ctrl+O", "opens a level or a set", {{KEY_O, Control}}},
      {P::Set, C::NewLevel, "Ctrl+N", "a new level, saved into the set", {{KEY_N, Control}}},
      {P::Set, C::NewSet, "Ctrl+Shift+N", "starts a new level set", {{KEY_N, ControlShift}}},
      {P::Set, C::Help, "F1", "every key, here", {{KEY_F1, None}}},
      {P::Set, C::Quit, "Escape", "quits", {{KEY_ESC, None}}},
  };
}

Modifiers modifiersOf(bool control, bool shift) {
  return control ? (shift ? ControlShift : Control) : (shift ? Shift : None);
}

}  // namespace

const std::vector<KeyBinding>& keyBindings() {
  static const std::vector<KeyBinding> table = makeTable();
  return table;
}

std::optional<FoundBinding> bindingFor(KeyPlace place, int scancode, bool control, bool shift) {
  const Modifiers held = modifiersOf(control, shift);
  for (const KeyBinding& binding : keyBindings()) {
    if (binding.place != place) {
      continue;
    }
    for (size_t index = 0; index < binding.chords.size(); ++index) {
      if (binding.chords[index].scancode == scancode && binding.chords[index].modifiers == held) {
        return FoundBinding{binding.command, static_cast<int>(index)};
      }
    }
  }
  return std::nullopt;
}

std::string keysOf(KeyPlace place, Command command) {
  for (const KeyBinding& binding : keyBindings()) {
    if (binding.place == place && binding.command == command) {
      return binding.keys;
    }
  }
  return {};
}
