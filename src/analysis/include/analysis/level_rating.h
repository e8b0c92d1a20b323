// A difficulty figure for a level, measured by playing it through the real
// rules: its proof (the replay that clears it) and a player who stands still
// at the start. The parts are what makes a level hard to a person: how long
// the way through is, how much digging it takes, how many chasers there
// are, how soon they arrive if the player only looks, and how long the way
// through keeps a chaser at arm's length. One number orders the level set;
// the parts are kept so that a designer can see where it comes from.
#pragma once

#include "leveltext/level_text.h"
#include "replay/replay.h"

#include "level/level.h"

#include <filesystem>
#include <string>
#include <vector>

struct LevelRating {
  int enemies = 0;
  int gold = 0;
  double proofSeconds = 0.0;      // the replay's length at 100 updates a second
  int digs = 0;                   // holes dug on the way
  double standStillSeconds = 0.0; // until a chaser catches a player holding nothing, on the worst seed
  double closeSeconds = 0.0;      // time on the way with an active chaser in a cell next to the player's
  double lengthPoints = 0.0;      // the part of the figure from the way's length and its holes
  double threatPoints = 0.0;      // the part from the chasers: how many, how soon, how close
  double figure = 0.0;            // lengthPoints + threatPoints
};

// A player who stands still this long is safe; also the figure for a level
// without enemies.
constexpr double StandStillCapSeconds = 30.0;

// A chaser's first way depends on the seed (an enemy level with the player
// turns at random), so a start is timed on this many seeds and the worst
// counts.
constexpr unsigned StandStillSeeds = 20;

// A fair start: a player who stands still to look around lives this long on
// every seed.
constexpr double FairStartSeconds = 3.0;

// Seconds until a chaser catches a player who holds nothing from the start,
// on the worst of seeds 1 to StandStillSeeds; StandStillCapSeconds when none
// does within it.
double standStillSeconds(const Level& level);

// Plays the level with nothing held, then the proof. Throws ReplayError when
// the proof does not clear the level without a death.
LevelRating rateLevel(const Level& level, const Replay& proof);

struct RatedLevel {
  std::filesystem::path file;
  LevelSource source;
  Replay proof;
  LevelRating rating;
};

// Reads every level of a level list (levels.txt) and rates it with its
// proof, NAME.replay in the replays folder beside the level file. On failure
// returns false with "FILE: what is wrong" in error.
bool rateLevelList(const std::filesystem::path& listPath, std::vector<RatedLevel>& levels, std::string& error);
