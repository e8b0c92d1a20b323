// The figures of the shipped level set, measured through the real rules and
// printed in play order so that a designer sees how close each level comes:
// a player who stands still at the start of a level with chasers lives at
// least FairStartSeconds on every seed, and the difficulty figure of such a
// level owes at least as much to its chasers as to its length.
#include "analysis/level_rating.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

TEST(LevelFiguresTest, EveryChaseStartsFairlyAndRatesItsThreatAboveItsLength) {
  startHeadlessAllegro();
  std::vector<RatedLevel> levels;
  std::string error;
  ASSERT_TRUE(rateLevelList(std::string(MQ_LEVELS_DIR) + "/levels.txt", levels, error)) << error;
  std::printf("pos  level                         figure  length  threat  stand-still-s (worst of %u seeds)\n",
              StandStillSeeds);
  for (size_t index = 0; index < levels.size(); ++index) {
    const LevelRating& rating = levels[index].rating;
    const std::string name = levels[index].file.filename().string();
    std::printf("%3zu  %-28s  %6.1f  %6.1f  %6.1f  %6.2f\n", index + 1, name.c_str(), rating.figure,
                rating.lengthPoints, rating.threatPoints, rating.standStillSeconds);
    if (rating.enemies > 0) {
      EXPECT_GE(rating.standStillSeconds, FairStartSeconds) << name << ": a player who stands still is caught too soon";
      EXPECT_GE(rating.threatPoints, rating.lengthPoints) << name << ": its figure is mostly length";
    }
  }
}

}  // namespace
