// Plays a replay headless through the real Game: no window, no timer, one
// update of the running game per key entry, without sounds or pauses. No
// lives left ends the replay, and so does a cleared level, before its tally;
// a lost life enters the level again. After each update the actors are
// drawn, because drawing is what counts down a crushed enemy's respawn
// delay; unseen by default, which paints nothing and needs no assets.dat.
#pragma once

#include "replay/replay.h"

#include "level/level.h"
#include "level/tile_map.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

class Game;

struct ReplayOutcome {
  ReplayEnd end = ReplayEnd::KeysRanOut;
  uint32_t ticks = 0;      // updates played
  int32_t score = 0;       // without the time bonus
  int32_t timeBonus = 0;   // what the level-end tally adds when cleared
  int lives = 0;
  int32_t goldLeft = 0;
  int deaths = 0;
};

// Called after the rules of every update, before drawing.
using TickObserver = std::function<void(uint32_t tick, const Game& game)>;

struct ReplayError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Holds exactly the given Hold* keys in `keyStates` (the library's key[]
// unless given) and releases the other four.
void holdOnly(uint8_t keys, volatile char* keyStates = nullptr);

// The maps.bin bytes of a single level, with the record that ends the list.
std::string singleLevelMapsBin(const Level& level);

// Writes maps.bin bytes in the working folder, where a game in a window
// reads them. Throws ReplayError when the file cannot be written whole (a
// full disk): the game would end the program on a short one.
void writeMapsBin(const std::string& bytes);

// The level with its EnemyStart cells made Empty, so no enemy is ever created.
Level withoutEnemyStarts(Level level);

// The maps.bin bytes that the replay's level: or maps: line names, read
// relative to its baseDir. Throws ReplayError naming what failed.
std::string replayMapsBin(const Replay& replay);

// The levels of maps.bin bytes. Throws ReplayError when they hold none.
std::vector<Level> levelsOfMapsBin(const std::string& bytes);

// Plays the replay on maps.bin bytes, from memory: no file is read or
// written. Painted, it needs the library running (headless is enough) with
// backBuffer, levelBitmap and assets loaded, and plays exactly as unseen.
// Throws ReplayError when the position lies past the last level.
ReplayOutcome playReplay(const Replay& replay, const std::string& mapsBin, const TickObserver& observer = {},
                         Drawing drawing = Drawing::Unseen);

// "cleared after 245 ticks, score 30 (+118 time bonus), lives 3, gold left 0, deaths 0"
std::string describeOutcome(const ReplayOutcome& outcome);
