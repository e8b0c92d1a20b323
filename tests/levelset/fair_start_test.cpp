// A player who stands still at the start of a level to look around must not
// lose a life for it: on every shipped level with chasers he lives at least
// FairStartSeconds on every seed. The figures of the whole set are printed
// worst first, so that a designer sees how close each level comes.
#include "level_rating.h"
#include "leveltext/level_set.h"
#include "leveltext/level_text.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

TEST(FairStartTest, EveryLevelWithChasersGivesAPlayerWhoStandsStillThreeSeconds) {
  startHeadlessAllegro();
  const fs::path levels = MQ_LEVELS_DIR;
  std::vector<std::string> names;
  ASSERT_TRUE(readLevelListNames(levels / "levels.txt", names));
  std::vector<std::pair<double, std::string>> starts;
  for (const std::string& name : names) {
    std::ifstream file(levels / name);
    LevelSource source;
    std::string error;
    ASSERT_TRUE(parseLevelSource(file, name, source, error)) << error;
    if (std::count(source.level.cells, source.level.cells + CellCount, EnemyStart) > 0) {
      starts.emplace_back(standStillSeconds(source.level), name);
    }
  }
  std::sort(starts.begin(), starts.end());
  std::printf("standing still at the start, caught after (worst of %u seeds):\n", StandStillSeeds);
  for (const auto& [seconds, name] : starts) {
    std::printf("  %6.2f s  %s\n", seconds, name.c_str());
    EXPECT_GE(seconds, FairStartSeconds) << name << ": a player who stands still is caught too soon";
  }
}

}  // namespace
