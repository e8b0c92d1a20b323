// The levels that ship with the game, the build's maps.bin made from them,
// and the level tools run as the build runs them.
#include "level_builders.h"
#include "level_check.h"
#include "leveltext/level_set.h"
#include "leveltext/level_text.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path LevelsFolder = fs::path(__FILE__).parent_path().parent_path().parent_path() / "levels";

// The build puts the tools next to the run folder: <build>/tools/levelkit.
std::string toolPath(const std::string& name) { return runFile("../tools/levelkit/" + name); }

std::vector<std::string> listedLevelFiles() {
  std::ifstream list(LevelsFolder / "levels.txt");
  std::vector<std::string> names;
  for (std::string line; std::getline(list, line);) {
    if (!line.empty() && line[0] != '#') {
      names.push_back(line);
    }
  }
  return names;
}

std::vector<std::string> floorRows() {
  std::vector<std::string> rows(GridSize, std::string(GridSize, '.'));
  rows[30] = rows[31] = std::string(GridSize, '#');
  rows[29][1] = 'P';
  return rows;
}

TEST(StarterLevelsTest, EveryListedLevelCanBeFinished) {
  const std::vector<std::string> names = listedLevelFiles();
  EXPECT_GE(names.size(), 8u);
  for (const std::string& name : names) {
    std::ifstream file(LevelsFolder / name);
    LevelSource source;
    std::string error;
    ASSERT_TRUE(parseLevelSource(file, name, source, error)) << error;
    EXPECT_FALSE(source.note.empty()) << name;
    for (const std::string& fault : findLevelFaults(source.level)) {
      ADD_FAILURE() << name << ": " << fault;
    }
  }
}

TEST(StarterLevelsTest, TheBuildsMapsBinHoldsTheListedLevels) {
  std::string compiled;
  std::string error;
  ASSERT_TRUE(compileLevelList((LevelsFolder / "levels.txt").string(), compiled, error)) << error;
  std::ifstream built(runFile("maps.bin"), std::ios::binary);
  const std::string builtBytes((std::istreambuf_iterator<char>(built)), std::istreambuf_iterator<char>());
  EXPECT_EQ(compiled, builtBytes);
}

std::string joined(const std::vector<std::string>& faults) {
  std::string text;
  for (const std::string& fault : faults) {
    text += fault + "\n";
  }
  return text;
}

TEST(LevelCheckTest, GoldSealedInBrickIsFoundAndGoldBelowADigIsNot) {
  std::vector<std::string> rows = floorRows();
  rows[29][10] = '$';
  rows[31][20] = '$';  // under the floor: dig down to it
  EXPECT_EQ("", joined(findLevelFaults(levelFromRows(rows))));

  rows[5] = "..........###...................";
  rows[6] = "..........#$#...................";
  rows[7] = "..........###...................";
  EXPECT_EQ("gold at (11, 6) cannot be reached from the start\n", joined(findLevelFaults(levelFromRows(rows))));
}

TEST(LevelCheckTest, TheBottomRowLeadsToTheTopOfItsColumn) {
  std::vector<std::string> rows = floorRows();
  for (int y = 0; y < 4; ++y) {
    rows[y][10] = rows[y][12] = '#';
  }
  rows[4].replace(10, 3, "###");
  rows[3][11] = '$';  // in a cup that only the sky opens into
  EXPECT_EQ("gold at (11, 3) cannot be reached from the start\n", joined(findLevelFaults(levelFromRows(rows))));

  rows[30][11] = rows[31][11] = '.';
  EXPECT_EQ("", joined(findLevelFaults(levelFromRows(rows))));

  rows[0][11] = '#';  // the player coming through the bottom is held outside
  EXPECT_EQ("gold at (11, 3) cannot be reached from the start\n", joined(findLevelFaults(levelFromRows(rows))));
}

TEST(LevelCheckTest, TwoOneWayPitsShutEachOtherOut) {
  std::vector<std::string> rows(GridSize, "#......#################.......#");
  rows[9] = std::string(GridSize, '.');
  rows[9][15] = 'P';
  rows[10] = "#####.###################.######";
  rows[30] = rows[31] = std::string(GridSize, '#');
  for (int y = 0; y < 9; ++y) {
    rows[y] = std::string(GridSize, '.');
  }
  rows[29][3] = '$';
  rows[29][27] = '$';
  EXPECT_EQ("gold at (3, 29) and at (27, 29) shut each other out\n", joined(findLevelFaults(levelFromRows(rows))));
}

TEST(LevelToolsTest, LevelcStopsTheBuildOnAFaultyLevel) {
  ScopedWorkDir dir;
  std::vector<std::string> rows = floorRows();
  rows[7][4] = '%';
  std::string text = "title: Broken\n";
  for (const std::string& row : rows) {
    text += row + "\n";
  }
  dir.writeFile("broken.txt", text);
  dir.writeFile("list.txt", "broken.txt\n");
  const std::string command = toolPath("levelc") + " list.txt out.bin 2>err.txt";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(1, WEXITSTATUS(status));
  EXPECT_EQ("broken.txt:9:5: unknown cell character '%'\n", dir.readFile("err.txt"));
  EXPECT_FALSE(dir.exists("out.bin"));
}

TEST(LevelToolsTest, DumpedLevelsCompileBackToTheSameMapsBin) {
  ScopedWorkDir dir;
  const std::string dump = toolPath("leveldump") + " " + runFile("maps.bin") + " dumped";
  ASSERT_EQ(0, std::system(dump.c_str()));
  const std::string compile = toolPath("levelc") + " dumped/levels.txt again.bin";
  ASSERT_EQ(0, std::system(compile.c_str()));
  std::ifstream built(runFile("maps.bin"), std::ios::binary);
  const std::string builtBytes((std::istreambuf_iterator<char>(built)), std::istreambuf_iterator<char>());
  EXPECT_EQ(builtBytes, dir.readFile("again.bin"));
  EXPECT_EQ(0u, dir.readFile("dumped/level-001.txt").find("title: Level 1\n"));
}

}  // namespace
