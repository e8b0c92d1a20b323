#include "editor/mouse_events.h"

#include <allegro.h>

#include <array>
#include <atomic>

namespace {

constexpr unsigned QueueSize = 256;

// One writer (the library's input thread) and one reader (the editor).
std::array<MouseEvent, QueueSize> queue;
std::atomic<unsigned> written{0};
std::atomic<unsigned> taken{0};

void onMouse(int flags) {
  const unsigned at = written.load(std::memory_order_relaxed);
  if (at - taken.load(std::memory_order_acquire) < QueueSize) {
    queue[at % QueueSize] = {flags, mouse_x, mouse_y};
    written.store(at + 1, std::memory_order_release);
  }
}

}  // namespace

void listenToMouse() { mouse_callback = onMouse; }

std::optional<MouseEvent> nextMouseEvent() {
  const unsigned at = taken.load(std::memory_order_relaxed);
  if (at == written.load(std::memory_order_acquire)) {
    return std::nullopt;
  }
  const MouseEvent event = queue[at % QueueSize];
  taken.store(at + 1, std::memory_order_release);
  return event;
}
