// mellow-quarrier-level-solve as the build runs it: replays that name their levels relative
// to where they are written, enemies left out only where the replay says
// so, and a level it cannot clear reported with the gold it could not reach.
#include "support/headless.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string solverPath() { return runFile("mellow-quarrier-level-solve"); }

std::string levelText(const std::vector<std::string>& rows) {
  std::string text = "title: Test\nnote: made by the test\n";
  for (const std::string& row : rows) {
    text += row + "\n";
  }
  return text;
}

// A ladder in a closet: the player beside its foot, gold on a ledge beside
// it halfway up, and perhaps a chaser waiting outside on the right.
std::vector<std::string> closetRows(bool withEnemy) {
  std::vector<std::string> rows(32, std::string(32, '.'));
  rows[30] = rows[31] = std::string(32, '#');
  for (int row = 20; row < 30; ++row) {
    rows[row].replace(0, 4, "#H.#");
  }
  rows[29][2] = 'P';
  rows[24][2] = '$';
  rows[25][2] = '#';
  if (withEnemy) {
    rows[29][20] = 'E';
  }
  return rows;
}

int run(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(LevelSolveToolTest, WritesAReplayBesideTheLevelNamingItRelatively) {
  ScopedWorkDir dir;
  dir.writeFile("closet.txt", levelText(closetRows(false)));
  ASSERT_EQ(0, run("mkdir out && " + solverPath() + " --out out closet.txt >log.txt 2>&1")) << dir.readFile("log.txt");
  const std::string replay = dir.readFile("out/closet.replay");
  EXPECT_EQ(0u, replay.find("# found by level-solve\nlevel: ../closet.txt\nseed: 1\nenemies: on\nexpect: cleared\n"))
      << replay;
  EXPECT_NE(dir.readFile("log.txt").find("closet: cleared (no enemies)"), std::string::npos);
}

TEST(LevelSolveToolTest, SearchesUnderTheSeedAskedForAndKeepsItInTheReplay) {
  ScopedWorkDir dir;
  dir.writeFile("closet.txt", levelText(closetRows(true)));
  ASSERT_EQ(0, run("mkdir out && " + solverPath() + " --seed 7 --out out closet.txt >log.txt 2>&1"))
      << dir.readFile("log.txt");
  EXPECT_NE(dir.readFile("out/closet.replay").find("\nseed: 7\n"), std::string::npos);
  EXPECT_EQ(2, run(solverPath() + " --seed seven closet.txt >/dev/null 2>&1"));
}

TEST(LevelSolveToolTest, LeavesTheEnemiesOutWhenAskedAndSaysSoInTheReplay) {
  ScopedWorkDir dir;
  dir.writeFile("closet.txt", levelText(closetRows(true)));
  ASSERT_EQ(0, run(solverPath() + " --enemies off closet.txt >log.txt 2>&1")) << dir.readFile("log.txt");
  const std::string replay = dir.readFile("closet.replay");
  EXPECT_EQ(0u, replay.find("# found by level-solve with the enemies removed, as asked\n")) << replay;
  EXPECT_NE(replay.find("\nenemies: off\n"), std::string::npos) << replay;
  EXPECT_NE(dir.readFile("log.txt").find("closet: cleared WITHOUT enemies"), std::string::npos);
}

TEST(LevelSolveToolTest, SaysWhetherItProvedNoWayOrRanOutOfStatesAndWritesNoReplay) {
  ScopedWorkDir dir;
  // The player is walled into one cell on rock four bricks deep.
  std::vector<std::string> rows(32, std::string(32, '.'));
  for (int row = 28; row < 32; ++row) {
    rows[row] = std::string(32, '#');
  }
  rows[26].replace(0, 3, "###");
  rows[27].replace(0, 3, "#P#");
  rows[24][2] = '$';
  dir.writeFile("capped.txt", levelText(rows));
  EXPECT_EQ(1, run(solverPath() + " capped.txt >log.txt 2>err.txt"));
  EXPECT_NE(dir.readFile("log.txt").find("capped: NO WAY: proven"), std::string::npos) << dir.readFile("log.txt");
  EXPECT_NE(dir.readFile("err.txt").find("capped: gold at (2, 24) cannot be reached from the start"),
            std::string::npos)
      << dir.readFile("err.txt");
  EXPECT_FALSE(dir.exists("capped.replay"));

  // Gold under twelve rows of brick: the check cannot fault it, the search
  // runs out of states, and that is unsure, status 3.
  rows.assign(32, std::string(32, '.'));
  for (int row = 19; row < 31; ++row) {
    rows[row] = std::string(32, '#');
  }
  rows[18][3] = 'P';
  rows[31][15] = '$';
  dir.writeFile("deep.txt", levelText(rows));
  EXPECT_EQ(3, run(solverPath() + " --states 2000 deep.txt >log.txt 2>err.txt"));
  EXPECT_NE(dir.readFile("log.txt").find("deep: UNSURE: no way found within the budget"), std::string::npos)
      << dir.readFile("log.txt");
  EXPECT_NE(dir.readFile("err.txt").find("it ran out of its budget of 2000 states"), std::string::npos)
      << dir.readFile("err.txt");
}

// The settings search in turns, each from where it stopped; a way found by
// one that did not search first must replay all the same. The Vault needs
// tens of thousands of states, past the first settings' first slices. The
// same level and budget give the same proof, byte for byte.
TEST(LevelSolveToolTest, AProofFoundLateInTheTurnsReplaysAndComesOutTheSameEveryTime) {
  ScopedWorkDir dir;
  const std::string command = solverPath() + " --enemies on --out . " MQ_LEVELS_DIR "/034-the-vault.txt >log.txt 2>&1";
  ASSERT_EQ(0, run(command)) << dir.readFile("log.txt");
  const std::string first = dir.readFile("034-the-vault.replay");
  ASSERT_EQ(0, run(command)) << dir.readFile("log.txt");
  EXPECT_EQ(first, dir.readFile("034-the-vault.replay"));
}

}  // namespace
