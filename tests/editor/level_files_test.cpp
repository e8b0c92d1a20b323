// Opening and saving level files: a new file, a faulty one, and a save that
// fails without touching the old file. The solver's named cells.
#include "editor/level_files.h"
#include "editor/proof_run.h"

#include "support/headless.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(LevelFilesTest, OpensNewAndFaultyFilesAsTheyAre) {
  ScopedWorkDir dir;
  const OpenedLevel fresh = openLevelFile(dir.path() + "/new.txt", "new.txt");
  EXPECT_TRUE(fresh.isNew);
  EXPECT_EQ(fresh.source.title, "Untitled");
  EXPECT_TRUE(fresh.error.empty());

  dir.writeFile("short.txt", "title: Short\n" + std::string(32, '.') + "\n");
  EXPECT_EQ(openLevelFile(dir.path() + "/short.txt", "short.txt").error, "short.txt:3:1: expected 32 rows, found 1");
  EXPECT_NE(openLevelFile(dir.path(), "here").error.find("here: is a folder"), std::string::npos);
}

TEST(LevelFilesTest, AFailedSaveSaysSoAndKeepsTheOldFile) {
  ScopedWorkDir dir;
  const std::string path = dir.path() + "/level.txt";
  EXPECT_EQ(writeFileAtomically(path, "old\n"), "");
  EXPECT_EQ(writeFileAtomically(path, "new\n"), "");
  EXPECT_EQ(dir.readFile("level.txt"), "new\n");
  if (geteuid() != 0) {   // root writes into read-only folders
    chmod(dir.path().c_str(), 0555);
    const std::string error = writeFileAtomically(path, "newer\n");
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(error.rfind("Cannot save " + path + ": ", 0), 0u) << error;
    EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
    EXPECT_EQ(dir.readFile("level.txt"), "new\n");
  }
}

TEST(ProofRunTest, ReadsTheCellsTheSolverNames) {
  EXPECT_EQ(cellsNamedIn("lvl: gold at (3, 4) (31, 0) (40, 2) unreachable from the cells reached:"),
            (std::vector<int>{cellIndex(3, 4), cellIndex(31, 0)}));
}

}  // namespace
