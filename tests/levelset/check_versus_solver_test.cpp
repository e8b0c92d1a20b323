// The reachability check against the solver. The check grants the player
// more than the rules do, so gold it calls out of reach must stay out of the
// solver's reach too: a clear of a level holding such gold proves the check
// wrong. Run over the shipped levels and over generated and mutated ones.
#include "analysis/reachability.h"
#include "leveltext/level_set.h"
#include "leveltext/level_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path LevelsDir = MQ_LEVELS_DIR;

std::vector<LevelSource> shippedLevels() {
  std::vector<std::string> names;
  readLevelListNames(LevelsDir / "levels.txt", names);
  std::vector<LevelSource> levels;
  for (const std::string& name : names) {
    std::ifstream file(LevelsDir / name);
    LevelSource source;
    std::string error;
    EXPECT_TRUE(parseLevelSource(file, name, source, error)) << error;
    EXPECT_FALSE(source.note.empty()) << name;
    levels.push_back(source);
  }
  return levels;
}

TEST(ShippedLevelsCheck, NoneHasGoldOutOfReachOrPiecesThatShutEachOtherOut) {
  const std::vector<LevelSource> levels = shippedLevels();
  EXPECT_GE(levels.size(), 8u);
  for (const LevelSource& source : levels) {
    for (const std::string& fault : findLevelFaults(source.level)) {
      ADD_FAILURE() << source.title << ": " << fault;
    }
  }
}

}  // namespace
