// The level played in the editor's window by the game's own running state:
// the real rules, drawing, status line and sounds, from three lives. The
// Game is built in a scratch folder from a maps.bin holding only this level,
// so the player's own user.bin is never read or written, and no score is
// offered to a table. Escape or game over ends it, as does a press of the
// window's close button.
#pragma once

#include "replay/replay.h"

#include "level/level.h"

#include <functional>

struct PlayWindow {
  std::function<bool()> closeRequested;
  std::function<void()> showFrame;   // backBuffer to the window, at the editor's scale
};

void playTest(const Level& level, const PlayWindow& window);

// The replay's keys held one update after the other, from the replay's seed,
// at the game's speed, FastForwardUpdates updates a frame while F is held.
// Only the replay's keys move the player; of the keyboard, only Escape (back)
// and F count. It ends when the level is cleared, showing it cleared after
// the tally, and answers that it did; or with the keys, or like a play-test.
constexpr int FastForwardUpdates = 8;
bool watchReplay(const Level& level, const Replay& replay, const PlayWindow& window);
