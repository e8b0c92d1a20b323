// The levels that ship with the game, the build's maps.bin made from them,
// and the level tools run as the build runs them.
#include "level_builders.h"
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

const fs::path LevelsFolder = MQ_LEVELS_DIR;

// The build puts the tools next to the run folder: <build>/tools/levelkit.
std::string toolPath(const std::string& name) { return runFile("mellow-quarrier-" + name); }

TEST(StarterLevelsTest, TheBuildsMapsBinHoldsTheListedLevels) {
  std::string compiled;
  std::string error;
  ASSERT_TRUE(compileLevelList((LevelsFolder / "levels.txt").string(), compiled, error)) << error;
  std::ifstream built(runFile("maps.bin"), std::ios::binary);
  const std::string builtBytes((std::istreambuf_iterator<char>(built)), std::istreambuf_iterator<char>());
  EXPECT_EQ(compiled, builtBytes);
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
