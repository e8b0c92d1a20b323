// The search for a key sequence that clears a level, played through the real
// rules (LevelSession), so that what it finds is a replay that the runner
// plays the same way.
//
// The search moves between decision states, the moments when the player's
// update reads the keys, with macro steps: a key held for one update (a move
// then runs its 16 updates and any fall that follows it; a dig happens on
// the spot), a short wait with nothing held, or a wait until the oldest hole
// refills. States are ordered best-first by gold left, then by time spent
// plus a guess of the time to the nearest gold (GoldDistances), so the search
// heads for the gold and falls back on earlier states when a branch leads
// nowhere (a pit, a death). Two states count as the same when the player
// stands in the same place with the same cells (gold taken, holes open),
// holes due to refill in the same span of updates and, with enemies, the
// enemies near the same cells heading the same way: the key is coarser than
// the game, which costs completeness, never correctness, because every step
// is simulated in full. No one coarseness suits every level, so the work is
// shared among a few settings searching side by side; the first keeps one
// hole open at a time and only two enemy layouts per place of the player,
// which is what lets it past chasers instead of enumerating where they might
// be. The first of them is also tried with room for a person: every press it
// takes is also made 15 updates late (see analysis/human_margin.h), and one
// that the player does not live through so counts as a long detour, so the
// way it finds is one a person could follow wherever one is near; it runs
// ahead of the others, which take the machine's way where it finds none.
// Because of the coarseness a search that ends without a way proves nothing;
// only the reachability check (analysis/reachability.h), run first, proves a
// level impossible.
#pragma once

#include "analysis/level_session.h"
#include "replay/replay.h"

#include "level/level.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The work a search may do, counted in states kept, never in time, so that
// the same level and limits find the same proof on any machine under any
// load. The settings share it in growing slices: each searches on from where
// it stopped, with twice the states of the round before.
struct SearchLimits {
  size_t states = 300000;
  // Searches even a level the reachability check proves impossible, which
  // is how the tests hold the check to what the search finds.
  bool searchTheImpossible = false;
  // A way to try first, such as the dead-end check's way out
  // (DeadEndReport::wayOut), which leaves the enemies out. Played through
  // the rules with the search's enemies, it is the proof when it clears;
  // else the searches but the room-first one also start from the moments
  // along it where the player reads the keys, up to where it went wrong,
  // and search on from the furthest.
  std::vector<KeyRun> firstGuess;
  // Told the states explored so far, now and then, for a progress line.
  std::function<void(size_t statesExplored)> onProgress;
};

enum class SearchEnd {
  Cleared,
  ProvenImpossible,   // a player granted more than the rules allow cannot clear it
  OutOfBudget,        // unsure: the states ran out
  SearchedOut,        // unsure: every state the search tells apart was tried
};

struct SearchResult {
  SearchEnd end = SearchEnd::OutOfBudget;
  bool cleared = false;
  std::vector<KeyRun> keys;   // from the level's start to the update that cleared it
  uint32_t ticks = 0;
  size_t statesExplored = 0;
  double seconds = 0.0;   // CPU spent, for reports only: nothing depends on it
  // Why nothing was found, in the level's coordinates, when not cleared.
  std::string explanation;
};

SearchResult searchLevel(const Level& level, bool enemies, unsigned seed, const SearchLimits& limits);

// Whether a moment of play is already known to lead to a clear with no life
// lost; the search counts reaching one as clearing.
using KnownToClear = std::function<bool(const SavedPlay&)>;

// The same search from a moment of play instead of the level's start (a
// player who pressed late, to be saved by any keys from then on), the
// session set up with the same level, enemies and seed. Its keys lead from
// `from` to the clear, or to a moment `knownToClear` names. It takes the
// machine's way: no setting asks for room, and nothing is proven impossible.
SearchResult searchOnFrom(const Level& level, bool enemies, unsigned seed, const SavedPlay& from,
                          const KnownToClear& knownToClear, const SearchLimits& limits);
