// What the level set view shows of one level: its title, gold and enemies,
// and whether a proof clears it, read and played at once (a proof plays in
// a moment, headless through the real rules, which takes over the game's
// process-wide state: never while a game runs in the window). The figures
// that take seconds come later, from SetLevelMeasure.
//
// A level's proof is NAME.replay in the replays folder beside NAME.txt when
// that folder exists, as for the shipped levels, else beside the level.
#pragma once

#include "level/level.h"

#include <optional>
#include <string>

// The figures of a level that take seconds, measured in the background by
// SetLevelMeasure; each none while not yet measured, "?" when its measure
// failed.
struct LevelMeasures {
  // With a proof only: the difficulty figure, and the human margin of the
  // proof, "12 95%": how late in updates a person may make any press, and
  // the share of presses that may come 15 late.
  std::optional<std::string> figure;
  std::optional<std::string> margin;
  // "fair" or "unfair": whether a player who stands still at the start lives
  // long enough to look around.
  std::optional<std::string> start;
  // "none", "2 traps", "1 costly" (places that cost a life), or "unsure".
  std::optional<std::string> deadEnds;
  bool faulty = false;   // a trap, a place that costs a life, or an unfair start
};

struct SetLevelFacts {
  std::string title;
  int gold = 0;
  int enemies = 0;
  std::string proof;             // "proven", "no proof", "out of date" (it fails), "never drawn", "cannot be read"
  bool proven = false;
  bool drawn = false;            // read, so measured in the background
  LevelMeasures measured;
};

SetLevelFacts describeSetLevel(const std::string& levelPath);

std::string replayPathFor(const std::string& levelPath);

// Whether the proof kept for the level at levelPath still clears `level`
// (perhaps changed since); none when there is no proof to read.
std::optional<bool> keptProofClears(const std::string& levelPath, const Level& level);
