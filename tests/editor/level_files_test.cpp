// Opening and saving level files: a new file, a faulty one, and a save that
// fails without touching the old file. The solver's named cells.
#include "editor/level_files.h"
#include "editor/proof_run.h"

#include "support/headless.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

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
  const std::string noFolder = writeFileAtomically(dir.path() + "/gone/level.txt", "x\n");
  EXPECT_EQ(noFolder.rfind("Cannot save " + dir.path() + "/gone/level.txt: ", 0), 0u) << noFolder;
  EXPECT_NE(noFolder.find("No such file or directory"), std::string::npos) << noFolder;

  // A folder in the level's place cannot be replaced: nothing is lost and no
  // half-written file is left behind.
  std::filesystem::create_directory(dir.path() + "/taken.txt");
  dir.writeFile("taken.txt/inside", "kept");
  EXPECT_NE(writeFileAtomically(dir.path() + "/taken.txt", "x\n"), "");
  EXPECT_EQ(dir.readFile("taken.txt/inside"), "kept");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2) << "level.txt and taken.txt";
}

TEST(ProofRunTest, ReadsTheCellsTheSolverNames) {
  EXPECT_EQ(cellsNamedIn("lvl: gold at (3, 4) (31, 0) (40, 2) unreachable from the cells reached:"),
            (std::vector<int>{cellIndex(3, 4), cellIndex(31, 0)}));
}

}  // namespace
