// Makes levels one at a time, each proven and checked: a candidate is built
// the way first (level_builder.h), then put through the checks from the
// cheapest to the dearest, each fault mended where a repair exists
// (level_repair.h) and checked again, and only a candidate that passes them
// all is answered:
//
//   reach      every piece of gold can be reached (the quick check)
//   fair start a player who stands still lives FairStartSeconds on every
//              one of StandStillSeeds seeds
//   dead ends  none: neither a trap nor a place that costs a life
//   distinct   a quarter of its cells differ from every level made before
//              in the run, and from its mirror image (looked at first,
//              as it costs nothing, and again after the repairs)
//   proof      the solver clears it with its enemies, and the proof replays
//              to a clear with no life lost
//   margin     each press of the proof may come 10 updates late and
//              a way still clears the level (the human margin); a chaser
//              moved farther off mends a proof too tight
//   rating     its difficulty figure, from the proof
//
// Every budget is counted in work (states, situations, updates), never in
// time, so one seed and one set of options make the same levels on any
// machine at any load.
#pragma once

#include "generate/level_builder.h"

#include "analysis/level_rating.h"
#include "leveltext/level_text.h"
#include "replay/replay.h"

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

struct MakeOptions {
  uint64_t seed = 1;
  int difficulty = 3;                 // 1 to 5
  // The chasers per level; negative takes the difficulty's own range.
  int fewestEnemies = -1;
  int mostEnemies = -1;
  // Asked between the steps of a candidate and during its search; true
  // stops the maker with MakeInterrupted.
  std::function<bool()> stopRequested;
  // Told each candidate turned away, with the check it failed.
  std::function<void(uint64_t candidate, const std::string& reason)> onRejected;
};

struct MakeInterrupted : std::runtime_error {
  MakeInterrupted() : std::runtime_error("interrupted") {}
};

struct MadeLevel {
  LevelSource source;        // titled and noted
  std::vector<KeyRun> proof; // from the start to the clear, enemies on, seed ProofSeed
  LevelRating rating;
  uint64_t candidate = 0;    // which candidate of the run it was
  int chambers = 0;          // dig puzzles in it
};

// The game's seed the proofs are found and replayed with.
constexpr unsigned ProofSeed = 1;

class LevelMaker {
public:
  explicit LevelMaker(const MakeOptions& options);

  // Builds candidates until one passes every check.
  MadeLevel makeLevel();

  // The candidates turned away so far, counted by the check that failed.
  const std::map<std::string, int>& rejections() const { return rejections_; }
  uint64_t candidatesTried() const { return nextCandidate_; }

private:
  // Empty when the candidate passed; else the name of the check it failed.
  std::string tryCandidate(uint64_t candidate, MadeLevel& made);
  std::string checkFairStart(Level& level, std::vector<int>& spareEnemyCells) const;
  std::string checkDeadEnds(Level& level) const;
  std::string prove(const Level& level, MadeLevel& made) const;
  bool distinct(const Level& level) const;
  std::string uniqueTitle(LevelRandom& random);
  void checkStop() const;

  MakeOptions options_;
  ShapeRanges ranges_;
  uint64_t nextCandidate_ = 0;
  std::vector<Level> made_;
  std::set<std::string> titles_;
  std::map<std::string, int> rejections_;
};

// Whether two levels differ in at least a quarter of their cells, the
// second also taken mirrored left to right.
bool levelsDistinct(const Level& one, const Level& other);
