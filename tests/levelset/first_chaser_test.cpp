// The first level with a chaser is where a newcomer meets one: standing
// still to look around must not cost a life within five seconds, and the
// trap the level teaches must work without taking a step from the start.
// The opening brings that chaser early, mixes calm levels between chases,
// and has no place where a careless step costs a life or the run.
#include "analysis/dead_ends.h"
#include "analysis/level_session.h"
#include "leveltext/level_set.h"
#include "leveltext/level_text.h"
#include "replay/replay.h"
#include "support/headless.h"

#include "game/enemy.h"
#include "game/player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int FiveSeconds = 500;      // updates
constexpr int DigWhenCells = 3;       // how near the chaser comes before the dig
constexpr int HoleOpenUpdates = 160;  // the hole's 100 and the chaser's drop into it, with room

int chasersIn(const Level& level) {
  return static_cast<int>(std::count(level.cells, level.cells + CellCount, EnemyStart));
}

std::vector<Level> levelsInPlayOrder() {
  const fs::path levels = MQ_LEVELS_DIR;
  std::vector<std::string> names;
  readLevelListNames(levels / "levels.txt", names);
  std::vector<Level> ordered;
  for (const std::string& name : names) {
    std::ifstream file(levels / name);
    LevelSource source;
    std::string error;
    EXPECT_TRUE(parseLevelSource(file, name, source, error)) << error;
    ordered.push_back(source.level);
  }
  return ordered;
}

Level firstLevelWithAChaser() {
  for (const Level& level : levelsInPlayOrder()) {
    if (chasersIn(level) > 0) {
      return level;
    }
  }
  ADD_FAILURE() << "no listed level has a chaser";
  return Level{};
}

TEST(FirstChaserTest, ANewcomerStandingStillLivesFiveSecondsAndTrapsItWithOneDig) {
  startHeadlessAllegro();
  LevelSession session(firstLevelWithAChaser(), true, 1);
  const Game& game = session.game();
  for (int update = 0; update < FiveSeconds; ++update) {
    ASSERT_EQ(session.advance(0), UpdateResult::Playing) << "caught after " << update << " updates";
  }
  const Enemy& chaser = *game.enemies[0];
  const Player& player = *game.player;
  int waited = 0;
  while (std::abs(chaser.x - player.x) > DigWhenCells * CellPixels || chaser.y != player.y) {
    ASSERT_LT(++waited, 3000) << "the chaser never comes along the player's floor";
    ASSERT_EQ(session.advance(0), UpdateResult::Playing);
  }
  ASSERT_EQ(session.advance(chaser.x > player.x ? HoldDigRight : HoldDigLeft), UpdateResult::Playing);
  for (int update = 0; update < HoleOpenUpdates; ++update) {
    ASSERT_EQ(session.advance(0), UpdateResult::Playing);
  }
  EXPECT_EQ(player.score, 15) << "the chaser was not crushed in the hole";
}

// A chaser comes early, and practice levels without one are mixed in among
// the early chases rather than all before them: the opening alternates a new
// threat with a calm level that drills a move.
TEST(FirstChaserTest, AChaserComesByLevelEightWithPracticeLevelsBetweenTheEarlyChases) {
  constexpr size_t ChaserByLevel = 8;
  constexpr size_t OpeningLevels = 20;
  const std::vector<Level> levels = levelsInPlayOrder();
  ASSERT_GE(levels.size(), OpeningLevels);
  const auto opening = levels.begin() + OpeningLevels;
  const auto first = std::find_if(levels.begin(), opening, [](const Level& level) { return chasersIn(level) > 0; });
  ASSERT_LT(static_cast<size_t>(first - levels.begin()), ChaserByLevel) << "no chaser in the first eight levels";
  const auto chases = std::count_if(first, opening, [](const Level& level) { return chasersIn(level) > 0; });
  const auto practice = (opening - first) - chases;
  EXPECT_GE(chases, 4) << "the opening has too few chases";
  EXPECT_GE(practice, 4) << "the practice levels all come before the first chaser";
}

// Cellar Doors is the first lesson in digging: whichever side the newcomer
// digs from the start, the hole he steps into leads on into a cellar
// instead of closing over him.
TEST(FirstChaserTest, TheFirstDiggingLessonIsSafeOnBothSidesOfTheStart) {
  constexpr int RefillAndMore = 300;  // updates: the hole's 100 and the fall, with room
  startHeadlessAllegro();
  std::ifstream file(fs::path(MQ_LEVELS_DIR) / "005-cellar-doors.txt");
  LevelSource source;
  std::string error;
  ASSERT_TRUE(parseLevelSource(file, "005-cellar-doors.txt", source, error)) << error;
  for (const auto& [dig, step] : {std::pair{HoldDigLeft, HoldLeft}, std::pair{HoldDigRight, HoldRight}}) {
    LevelSession session(source.level, true, 1);
    const int startRow = session.game().player->y / CellPixels;
    ASSERT_EQ(session.advance(dig), UpdateResult::Playing);
    for (int update = 0; update < RefillAndMore; ++update) {
      ASSERT_EQ(session.advance(update < CellPixels ? step : 0), UpdateResult::Playing)
          << (dig == HoldDigLeft ? "left" : "right") << ": the hole closed over the player";
    }
    EXPECT_GT(session.game().player->y / CellPixels, startRow + 1) << "the player did not drop into a cellar";
  }
}

TEST(FirstChaserTest, NoLevelOfTheOpeningHasADeadEnd) {
  constexpr size_t OpeningLevels = 20;
  startHeadlessAllegro();
  const std::vector<Level> levels = levelsInPlayOrder();
  for (size_t index = 0; index < std::min(levels.size(), OpeningLevels); ++index) {
    const DeadEndReport report = findDeadEnds(levels[index]);
    EXPECT_TRUE(report.complete) << "level " << index + 1 << " was not searched to the end";
    EXPECT_EQ(report.count(DeadEndKind::Trap), 0u) << "level " << index + 1 << " has a trap";
    EXPECT_EQ(report.count(DeadEndKind::CostsLife), 0u) << "level " << index + 1 << " has a place that costs a life";
  }
}

}  // namespace
