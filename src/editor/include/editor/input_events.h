// Key presses and mouse changes as the library reports them, in the order
// they happened. A click can come and go between two updates of the
// editor, so the buttons are not read as held states; and by the time the
// editor reads a key, a quick Ctrl+O may be over and Ctrl let go. So the
// library's callbacks queue each press with the Ctrl and Shift keys held at
// that moment, and each mouse change with the pointer's place, in one queue:
// a key pressed after a click is never taken before it (a kind chosen after
// a click must not paint that click).
#pragma once

#include <optional>

struct KeyEvent {
  int scancode;    // the library's KEY_*
  int character;   // Unicode; control codes for Ctrl with a letter
  bool control;
  bool shift;
};

struct MouseEvent {
  int flags;   // the library's MOUSE_FLAG_* bits
  int x;
  int y;
};

struct InputEvent {
  bool isKey;
  KeyEvent key;
  MouseEvent mouse;
};

// Installs the callbacks; events that do not fit in the queue are dropped.
void listenToInput();
std::optional<InputEvent> nextInputEvent();
// Drops what is queued (keys pressed and clicks made during a play-test).
void dropInputEvents();
