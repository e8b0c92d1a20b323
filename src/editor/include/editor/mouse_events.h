// Mouse presses, moves and releases as the library reports them, in order.
// A click can come and go between two updates of the editor, so the buttons
// are not read as held states: the library's mouse callback queues each
// change, and the editor takes them from the queue once per update.
#pragma once

#include <optional>

struct MouseEvent {
  int flags;   // the library's MOUSE_FLAG_* bits
  int x;
  int y;
};

// Installs the callback; events that do not fit in the queue are dropped.
void listenToMouse();
std::optional<MouseEvent> nextMouseEvent();
