// Every key and mouse binding of the editor, in one table: the handlers
// look a key up here, the help overlay (F1) lists it, and a test holds the
// manual's KEYS sections and the README's key tables to it, so a binding
// added here and nowhere else fails that test until it is documented.
//
// A binding's `keys` is the text the help, the manual and the README show
// in their key column; the chords are what the keyboard sends for it. A
// binding without chords is the mouse's, documented but dispatched by the
// pointer's own handling.
#pragma once

#include <optional>
#include <string>
#include <vector>

// Where a binding applies: drawing a level, or the level set's list.
enum class KeyPlace { Drawing, Set };

enum class Command {
  Mouse,   // documented only
  SelectKind, EditTitle, EditNote, GridLines, Undo, Redo, History,
  Save, SaveAs, Open, NewLevel, NewSet,
  PlayTest, PlayFromPointer, EndlessLives, Prove, WatchProof, ShowTrap,
  SelectTool, Copy, Cut, Paste, Move, DeleteSelection, Fill, Mirror,
  ZoomIn, ZoomOut, Help, Quit,
  SetUp, SetDown, SetMoveUp, SetMoveDown, SetEdit, SetAdd, SetRemove, SetProveAll, SetPlay,
};

enum class Modifiers { None, Shift, Control, ControlShift };

struct Chord {
  int scancode;   // the library's KEY_*
  Modifiers modifiers;
};

struct KeyBinding {
  KeyPlace place;
  Command command;
  std::string keys;   // as the help, the manual and the README write them
  const char* help;   // a short line for the help overlay
  std::vector<Chord> chords;
};

const std::vector<KeyBinding>& keyBindings();

struct FoundBinding {
  Command command;
  int chord;   // which of the binding's chords matched: 0 to 6 for the kinds
};
std::optional<FoundBinding> bindingFor(KeyPlace place, int scancode, bool control, bool shift);

// The key text of the first binding of a command, for the status line.
std::string keysOf(KeyPlace place, Command command);
