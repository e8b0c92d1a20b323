// One level made by level-make for the set view, into a folder of its own,
// and read back with its proof. The run is waited for: a level takes a
// second or two, and the set cannot change meanwhile.
#pragma once

#include "leveltext/level_text.h"
#include "replay/replay.h"

#include <cstdint>
#include <string>

struct MadeForSet {
  LevelSource source;
  Replay proof;
  std::string fileName;   // the name level-make gave it, without its number
  std::string error;      // empty when the level was made
};

MadeForSet makeOneLevel(const std::string& makerPath, const std::string& assetsPath, const std::string& workFolder,
                        int difficulty, uint64_t seed);
