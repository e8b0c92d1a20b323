// What the level set view shows of one level: its title, gold and enemies,
// whether a proof clears it, and its difficulty figure, measured by playing
// the proof headless through the real rules (which takes over the game's
// process-wide state for a moment: never while a game runs in the window).
//
// A level's proof is NAME.replay in the replays folder beside NAME.txt when
// that folder exists, as for the shipped levels, else beside the level.
#pragma once

#include "level/level.h"

#include <optional>
#include <string>

struct SetLevelFacts {
  std::string title;
  int gold = 0;
  int enemies = 0;
  std::string proof;             // "proven", "no proof", "out of date" (it fails), "never drawn", "cannot be read"
  bool proven = false;
  std::optional<double> figure;  // with a proof that clears the level
  // The human margin of the proof, "12 95%": how late in updates a person
  // may make any press, and the share of presses that may come 15 late.
  // Measured after the rest, by mellow-quarrier-level-check in a process of its own, as it
  // takes seconds; "?" when that failed.
  std::optional<std::string> margin;
};

SetLevelFacts describeSetLevel(const std::string& levelPath);

std::string replayPathFor(const std::string& levelPath);

// Whether the proof kept for the level at levelPath still clears `level`
// (perhaps changed since); none when there is no proof to read.
std::optional<bool> keptProofClears(const std::string& levelPath, const Level& level);
