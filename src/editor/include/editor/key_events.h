// Keys as they are pressed, with the Ctrl and Shift keys held at that
// moment. The library's buffer keeps only the character, and by the time
// the editor reads it a quick Ctrl+O may be over, Ctrl let go, and the O
// taken for a bare O; so the library's key callback queues each press with
// its modifiers, and the editor takes them from the queue once per update.
#pragma once

#include <optional>

struct KeyEvent {
  int scancode;    // the library's KEY_*
  int character;   // Unicode; control codes for Ctrl with a letter
  bool control;
  bool shift;
};

// Installs the callback; presses that do not fit in the queue are dropped.
void listenToKeys();
std::optional<KeyEvent> nextKeyEvent();
// Drops what is queued (keys pressed during a play-test, say).
void dropKeyEvents();
