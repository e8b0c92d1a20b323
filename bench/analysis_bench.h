// What the benchmarks of the level analyses share: the shipped levels of
// levels/levels.txt in play order, each with its proof from levels/replays
// when it has one, and the library started without a window.
#pragma once

#include "replay/replay.h"

#include "level/level.h"

#include <string>
#include <vector>

struct ShippedLevel {
  std::string name;
  Level level;
  bool proven = false;
  Replay proof;
};

std::vector<ShippedLevel> shippedLevels();

// Starts the library without a window on the build's assets.dat; answers
// false after saying why it could not.
bool startAnalysisBench(const char* program);

// Runs the benchmarks registered so far, taking Google Benchmark's options.
int runRegisteredBenchmarks(int argc, char** argv);
