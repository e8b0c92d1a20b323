// A replay: one attempt at a level written as a small text file, so that a
// run of play can be kept under version control, replayed headless through
// the real rules, and written by a program (a solver) as easily as by hand.
//
//   # comments and blank lines are ignored
//   level: ../levels/01_quarry.txt    level file in the text format, relative to the replay
//   maps: ../build/run/maps.bin       ... or a maps.bin, relative to the replay,
//   position: 2                       ... with a position in the play sequence (default 0)
//   order: random                     ... and an order, linear (default) or random
//   seed: 1234                        srand seed of the game (default 1)
//   enemies: off                      on (default) or off: EnemyStart cells count as empty
//   expect: cleared                   optional: cleared, game over or keys ran out
//   40 R                              hold Right for 40 updates
//   16 J                              hold J (dig left) for 16 updates
//   5 -                               nothing held for 5 updates
//   3 RJ                              Right and J together for 3 updates
//
// Key letters: U up, D down, L left, R right, J dig left, K dig right; '-'
// alone holds nothing. Exactly one of level and maps is given. Header lines
// and key lines may be mixed; key lines are played in file order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

enum HeldKey : uint8_t {
  HoldUp = 1,
  HoldDown = 2,
  HoldLeft = 4,
  HoldRight = 8,
  HoldDigLeft = 16,
  HoldDigRight = 32
};

struct KeyRun {
  uint32_t updates;
  uint8_t keys;  // HeldKey bits
};

enum class ReplayEnd { Cleared, GameOver, KeysRanOut };

struct Replay {
  std::string levelFile;   // as written, relative to baseDir
  std::string mapsFile;    // as written, relative to baseDir
  std::string baseDir = ".";
  uint8_t position = 0;
  uint8_t orderMode = 0;   // 0 linear, 1 random, as Game::orderMode
  unsigned seed = 1;
  bool enemies = true;
  bool hasExpectation = false;
  ReplayEnd expected = ReplayEnd::Cleared;
  std::vector<KeyRun> keys;
};

// "cleared", "game over", "keys ran out".
const char* replayEndName(ReplayEnd end);

// "RJ" for Right with J, "-" for nothing held.
std::string heldKeyLetters(uint8_t keys);

// Reads a replay. On failure returns false and sets error to
// "NAME:LINE: what is wrong". baseDir is left for the caller to set.
bool parseReplay(std::istream& in, const std::string& name, Replay& out, std::string& error);

// The most bytes of a replay file read: a proof of a whole level clock for
// each life, one key change an update, stays well below it.
constexpr std::size_t ReplayFileMostBytes = std::size_t{4} << 20;

// Reads a replay file through the bounded reader (a FIFO, a device or a
// huge file is refused by name); baseDir becomes the file's folder.
bool loadReplay(const std::string& path, Replay& out, std::string& error);

// The most updates a proof of one level may hold: the level's clock for
// each of the three lives. A proof is a way through the level in its time;
// one far past it is a mistake or an attack (a single line can hold four
// billion updates, over an hour of headless play), and is refused unplayed.
std::uint64_t replayUpdates(const Replay& replay);
bool proofFitsTheClock(const Replay& replay);

// The recorder: appends updates with these keys held, merging with the last
// run when it holds the same keys.
void holdKeys(Replay& replay, uint8_t keys, uint32_t updates);

// Writes the replay in the form parseReplay reads.
void writeReplay(std::ostream& out, const Replay& replay);
bool saveReplay(const std::string& path, const Replay& replay, std::string& error);
