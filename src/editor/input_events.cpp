#include "editor/input_events.h"

#include <allegro.h>

#include <deque>
#include <mutex>

namespace {

constexpr size_t MostQueued = 256;

// Written by the library's input thread, read by the editor.
std::mutex queueLock;
std::deque<InputEvent> queue;

void push(const InputEvent& event) {
  const std::lock_guard<std::mutex> hold(queueLock);
  if (queue.size() < MostQueued) {
    queue.push_back(event);
  }
}

int onKey(int character, int* scancode) {
  push({true, {*scancode, character, (key_shifts & KB_CTRL_FLAG) != 0, (key_shifts & KB_SHIFT_FLAG) != 0}, {}});
  return 0;   // nothing for the library's own buffer
}

void onMouse(int flags) { push({false, {}, {flags, mouse_x, mouse_y}}); }

}  // namespace

void listenToInput() {
  keyboard_ucallback = onKey;
  mouse_callback = onMouse;
}

std::optional<InputEvent> nextInputEvent() {
  const std::lock_guard<std::mutex> hold(queueLock);
  if (queue.empty()) {
    return std::nullopt;
  }
  const InputEvent event = queue.front();
  queue.pop_front();
  return event;
}

void dropInputEvents() {
  const std::lock_guard<std::mutex> hold(queueLock);
  queue.clear();
}
