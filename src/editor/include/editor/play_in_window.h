// Levels played in the editor's window by the game's own running state:
// the real rules, drawing, status line and sounds, from three lives. The
// Game is built in a scratch folder from a maps.bin of its own, so the
// player's own user.bin is never read or written, and no score is offered to
// a table. Escape or game over ends it, as does a press of the window's
// close button; a play-test of one level also ends when it is cleared.
#pragma once

#include "replay/replay.h"

#include "level/level.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// Thrown before a game starts when it cannot (no scratch folder, no room for
// its maps.bin), with the reason: nothing has been played or changed.
struct GameCannotStart : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct PlayWindow {
  std::function<bool()> closeRequested;
  std::function<void()> showFrame;   // backBuffer to the window, at the editor's scale
};

struct PlayOptions {
  bool endsWhenCleared = true;   // a play-test; a level set plays on
  bool endlessLives = false;     // a life taken is given back at once
  // The cell the player starts from instead of the level's start, the level
  // otherwise as it is: on a rope he hangs, gold there is his at once.
  std::optional<std::array<int, 2>> startCell;
};

// Where and how the player last died.
struct PlayDeath {
  int cellX = 0;
  int cellY = 0;
  bool buried = false;   // inside brick (a hole that refilled); else caught
};

struct PlayFigures {
  bool cleared = false;
  uint32_t updates = 0;   // game time played, 100 a second
  int livesLost = 0;
  int32_t score = 0;
  std::optional<PlayDeath> lastDeath;
};

PlayFigures playLevels(const std::string& mapsBin, const PlayOptions& options, const PlayWindow& window);


// The replay's keys held one update after the other, from the replay's seed,
// at the game's speed, FastForwardUpdates updates a frame while F is held.
// Only the replay's keys move the player; of the keyboard, only Escape (back)
// and F count. It ends when the level is cleared, showing it cleared after
// the tally, and answers that it did; or with the keys, or like a play-test.
constexpr int FastForwardUpdates = 8;
// A press of the replay to frame while it is watched: the cell the player
// makes it in, framed for MarkShownUpdates before and after it.
struct WatchMark {
  uint32_t update;
  int column;
  int row;
};
constexpr uint32_t MarkShownUpdates = 50;
bool watchReplay(const Level& level, const Replay& replay, const PlayWindow& window,
                 const std::vector<WatchMark>& marks = {});
