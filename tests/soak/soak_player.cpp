#include "soak_player.h"

#include "base/globals.h"
#include "app/state_game_running.h"
#include "game/game.h"

#include <allegro.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

constexpr int PlayKeys[] = {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN, KEY_J, KEY_K};
constexpr int MenuKeyDelayTicks = 21;      // a menu ignores keys for 20 updates when new, 15 after a key
constexpr uint64_t LongestGameTicks = 20000;
constexpr int LongestHold = 48;
constexpr int EscapeOneIn = 600;           // per run of held keys
constexpr int NameKeysMost = 24;
constexpr int KeyEnter = 13;
constexpr int KeyBackspace = 8;

}  // namespace

SoakPlayer::SoakPlayer(Game& game, unsigned seed) : game_(game), random_(seed) {
  game_.gameSeed = [this] { return static_cast<unsigned>(random_()); };
  game_.readKey = [this] { return typedKey(); };
}

void SoakPlayer::play(uint64_t ticks) {
  while (counts_.ticks < ticks) {
    if (inGame()) {
      playHeldKeys();
    } else {
      playMenu();
    }
  }
}

// Escape is let go 2 ms after the pass starts, which on a busy machine may
// come before the game reads it: it is pressed until the game has ended.
void SoakPlayer::exitFromMenu() {
  while (inGame()) {
    escape();
  }
  press(KEY_DOWN);
  press(KEY_DOWN);
  press(KEY_J);
}

bool SoakPlayer::inGame() const { return dynamic_cast<State_GameRunning*>(currentState) != nullptr; }

// Half the games switch the level order first; then "Start game".
void SoakPlayer::playMenu() {
  if (random_() % 2 == 0) {
    press(KEY_DOWN);
    press(KEY_J);
    press(KEY_UP);
  }
  press(KEY_J);
}

// Mostly one key, sometimes none or two, held for up to LongestHold ticks.
void SoakPlayer::playHeldKeys() {
  if (gameTicks_ >= LongestGameTicks || random_() % EscapeOneIn == 0) {
    escape();
    return;
  }
  std::vector<int> held;
  const unsigned draw = random_() % 10;
  const unsigned keyCount = draw == 0 ? 0 : draw < 8 ? 1 : 2;
  for (unsigned i = 0; i < keyCount; ++i) {
    held.push_back(PlayKeys[random_() % std::size(PlayKeys)]);
  }
  const int holdTicks = 1 + static_cast<int>(random_() % LongestHold);
  for (int tick = 0; tick < holdTicks && inGame(); ++tick) {
    pass(held);
  }
}

void SoakPlayer::press(int scancode) {
  for (int tick = 0; tick < MenuKeyDelayTicks; ++tick) {
    pass({});
  }
  pass({scancode});
}

// The running game waits for Escape to be let go, as a player's finger
// would; a second thread lets go of it.
void SoakPlayer::escape() {
  pass({}, true);
}

void SoakPlayer::pass(const std::vector<int>& heldKeys, bool escapeHeld) {
  std::fill(key, key + KEY_MAX, 0);
  for (int scancode : heldKeys) {
    key[scancode] = 1;
  }
  std::thread releaser;
  if (escapeHeld) {
    key[KEY_ESC] = 1;
    releaser = std::thread([] {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      key[KEY_ESC] = 0;
    });
  }
  auto* running = dynamic_cast<State_GameRunning*>(currentState);
  const int livesBefore = game_.livesLeft();
  const int sequenceBefore = running != nullptr ? running->sequenceIndex : -1;
  tickCount = 1;
  runPass();
  ++counts_.ticks;
  if (releaser.joinable()) {
    releaser.join();
  }
  noteProgress(running, livesBefore, sequenceBefore);
}

// Compares the running state before and after one pass. The state before may
// have been destroyed by the pass, so it is only compared, never used.
void SoakPlayer::noteProgress(const State* runningBefore, int livesBefore, int sequenceBefore) {
  auto* running = dynamic_cast<State_GameRunning*>(currentState);
  if (running == nullptr) {
    return;
  }
  if (running != runningBefore) {
    ++counts_.games;
    gameTicks_ = 0;
    notePosition();
    return;
  }
  ++gameTicks_;
  if (game_.livesLeft() < livesBefore) {
    ++counts_.deaths;
  }
  if (running->sequenceIndex != sequenceBefore) {
    ++counts_.clears;
    notePosition();
  }
}

void SoakPlayer::notePosition() {
  const auto* running = dynamic_cast<State_GameRunning*>(currentState);
  const uint8_t position = running->sequenceIndex;
  counts_.storedLevelsPlayed.insert(game_.orderMode == Random ? game_.map.order[position] : position);
}

// A name of random keys, backspaces among them, then Enter.
int SoakPlayer::typedKey() {
  if (keysLeftInName_ < 0) {
    keysLeftInName_ = static_cast<int>(random_() % NameKeysMost);
  }
  if (keysLeftInName_ == 0) {
    keysLeftInName_ = -1;
    ++counts_.nameEntries;
    return KeyEnter;
  }
  --keysLeftInName_;
  const unsigned draw = random_() % 16;
  if (draw == 0) {
    return KeyBackspace;
  }
  if (draw == 1) {
    // Any scancode with any byte but Enter, which would end the name early.
    const int code = static_cast<int>(random_() % 0x10000);
    return (code & 0xFF) == KeyEnter ? code & 0xFF00 : code;
  }
  return ' ' + static_cast<int>(random_() % 95);
}
