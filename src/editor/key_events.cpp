#include "editor/key_events.h"

#include <allegro.h>

#include <array>
#include <atomic>

namespace {

constexpr unsigned QueueSize = 256;

// One writer (the library's input thread) and one reader (the editor).
std::array<KeyEvent, QueueSize> queue;
std::atomic<unsigned> written{0};
std::atomic<unsigned> taken{0};

int onKey(int character, int* scancode) {
  const unsigned at = written.load(std::memory_order_relaxed);
  if (at - taken.load(std::memory_order_acquire) < QueueSize) {
    queue[at % QueueSize] = {*scancode, character, (key_shifts & KB_CTRL_FLAG) != 0,
                             (key_shifts & KB_SHIFT_FLAG) != 0};
    written.store(at + 1, std::memory_order_release);
  }
  return 0;   // nothing for the library's own buffer
}

}  // namespace

void listenToKeys() { keyboard_ucallback = onKey; }

std::optional<KeyEvent> nextKeyEvent() {
  const unsigned at = taken.load(std::memory_order_relaxed);
  if (at == written.load(std::memory_order_acquire)) {
    return std::nullopt;
  }
  const KeyEvent event = queue[at % QueueSize];
  taken.store(at + 1, std::memory_order_release);
  return event;
}

void dropKeyEvents() {
  while (nextKeyEvent()) {
  }
}
