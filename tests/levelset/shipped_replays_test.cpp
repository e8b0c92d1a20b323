// Every level the game ships is proven clearable with its enemies:
// levels/replays holds a replay per level of levels.txt, and each one,
// played headless through the real rules with the level's chasers about,
// clears its level. And none has a trap, nor a press a person cannot make
// a little late.
#include "analysis/dead_ends.h"
#include "analysis/human_margin.h"
#include "leveltext/level_set.h"
#include "leveltext/level_text.h"
#include "replay/replay.h"
#include "replay/replay_runner.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path LevelsDir = MQ_LEVELS_DIR;
constexpr size_t ShippedLevelsAtLeast = 40;
constexpr size_t TeachingLevels = 20;
// A proof is played by a machine that presses each key at the exact update;
// a person presses late. Every press of a shipped proof may come a tenth of
// a second late, and nine in ten of them a quick person's reaction late,
// with the level still cleared and no life lost.
constexpr int MarginFloorUpdates = 10;
constexpr double RoomyShareFloor = 0.9;
std::vector<std::string> listedLevels() {
  std::vector<std::string> names;
  readLevelListNames(LevelsDir / "levels.txt", names);
  return names;
}

std::string testNameOf(const std::string& fileName) {
  std::string name = fs::path(fileName).stem().string();
  for (char& c : name) {
    c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  }
  return "level_" + name;
}

class ShippedLevel : public ::testing::TestWithParam<std::string> {
protected:
  void SetUp() override { startHeadlessAllegro(); }

  LevelSource source() const {
    std::ifstream in(LevelsDir / GetParam());
    LevelSource parsed;
    std::string error;
    EXPECT_TRUE(parseLevelSource(in, GetParam(), parsed, error)) << error;
    return parsed;
  }
};

std::string describePresses(const std::vector<PressMargin>& presses) {
  std::ostringstream text;
  for (const PressMargin& press : presses) {
    text << "\n  update " << press.update << " at (" << press.column << ", " << press.row << ") "
         << heldKeyLetters(press.keys) << ": " << press.marginUpdates << " updates late at most";
  }
  return text.str();
}

TEST_P(ShippedLevel, HasAReplayThatClearsIt) {
  const fs::path levelFile = LevelsDir / GetParam();
  const fs::path replayFile = LevelsDir / "replays" / (levelFile.stem().string() + ".replay");
  ASSERT_TRUE(fs::exists(replayFile)) << GetParam() << " has no replay " << replayFile
                                      << "; write one with mellow-quarrier-level-solve --out levels/replays " << levelFile;
  Replay replay;
  std::string error;
  ASSERT_TRUE(loadReplay(replayFile.string(), replay, error)) << error;
  ASSERT_FALSE(replay.levelFile.empty()) << "the replay must name its level file";
  EXPECT_TRUE(fs::equivalent(fs::path(replay.baseDir) / replay.levelFile, levelFile))
      << replayFile << " plays " << replay.levelFile;
  EXPECT_TRUE(replay.enemies) << replayFile << " leaves the enemies out; a level is proven with them";
  const ReplayOutcome outcome = playReplay(replay, replayMapsBin(replay));
  EXPECT_EQ(outcome.end, ReplayEnd::Cleared) << GetParam() << ": " << describeOutcome(outcome);
  EXPECT_EQ(outcome.deaths, 0) << GetParam();
}

// Only Escape ends a trap, and with it the run: no shipped level may have
// one. The levels that teach the game, the first twenty in play order, do
// not cost a life by a place the player cannot come back from either.
TEST_P(ShippedLevel, HasNoTrapAndTeachesWithoutDeadEnds) {
  const std::vector<std::string> order = listedLevels();
  const auto teaching = order.begin() + static_cast<std::ptrdiff_t>(std::min(TeachingLevels, order.size()));
  const bool teaches = std::find(order.begin(), teaching, GetParam()) != teaching;
  const DeadEndReport report = findDeadEnds(source().level);
  EXPECT_TRUE(report.complete) << GetParam() << ": the analysis stopped at " << report.situations << " situations";
  for (const DeadEnd& deadEnd : report.deadEnds) {
    if (deadEnd.kind == DeadEndKind::Trap || teaches) {
      ADD_FAILURE() << GetParam() << (deadEnd.kind == DeadEndKind::Trap ? " has a trap" : " costs a life")
                    << " at cell index " << deadEnd.cells.front() << "; mellow-quarrier-level-check " << GetParam()
                    << " names its cells and a way in";
    }
  }
}

TEST_P(ShippedLevel, LeavesAPersonRoomAtEveryPress) {
  Replay proof;
  std::string error;
  ASSERT_TRUE(loadReplay((LevelsDir / "replays" / (fs::path(GetParam()).stem().string() + ".replay")).string(), proof,
                         error))
      << error;
  const HumanMargin margin = measureHumanMargin(source().level, proof);
  EXPECT_GE(margin.marginUpdates, MarginFloorUpdates) << GetParam() << describePresses(margin.criticalPresses());
  EXPECT_GE(margin.roomyShare(), RoomyShareFloor) << GetParam() << describePresses(margin.criticalPresses());
}

INSTANTIATE_TEST_SUITE_P(LevelSet, ShippedLevel, ::testing::ValuesIn(listedLevels()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return testNameOf(info.param); });

TEST(LevelSetTest, TheBuildsMapsBinHoldsEveryListedLevelAndEnoughOfThem) {
  const std::vector<std::string> names = listedLevels();
  EXPECT_GE(names.size(), ShippedLevelsAtLeast);
  std::ifstream mapsBin(runFile("maps.bin"), std::ios::binary);
  ASSERT_TRUE(mapsBin) << "no maps.bin in the run folder";
  const std::vector<LevelSource> loaded = levelSourcesOf(mapsBin);
  EXPECT_EQ(loaded.size(), names.size());
}

TEST(LevelSetTest, EveryReplayBelongsToAListedLevel) {
  std::vector<std::string> stems;
  for (const std::string& name : listedLevels()) {
    stems.push_back(fs::path(name).stem().string());
  }
  for (const auto& entry : fs::directory_iterator(LevelsDir / "replays")) {
    if (entry.path().extension() != ".replay") {
      continue;
    }
    const std::string stem = entry.path().stem().string();
    EXPECT_NE(std::find(stems.begin(), stems.end(), stem), stems.end())
        << entry.path() << " replays no level of levels.txt";
  }
}

}  // namespace
