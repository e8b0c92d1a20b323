// Opening and saving level files: a new file, a faulty one, and a save that
// fails without touching the old file. The real solver, rater and dead-end
// check run in the background as the editor runs them.
#include "editor/level_files.h"
#include "editor/proof_run.h"
#include "editor/set_level_facts.h"
#include "editor/set_level_measure.h"

#include "leveltext/level_set.h"

#include "support/headless.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <thread>

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
  ASSERT_EQ(mkfifo((dir.path() + "/pipe.txt").c_str(), 0600), 0);
  EXPECT_EQ(openLevelFile(dir.path() + "/pipe.txt", "pipe.txt").error, "pipe.txt: not a regular file (a FIFO, a device or a folder)");
  dir.writeFile("huge.txt", std::string(LevelFileMostBytes + 1, '.'));
  EXPECT_EQ(openLevelFile(dir.path() + "/huge.txt", "huge.txt").error,
            "huge.txt: larger than 64 KiB, too large for a level file");

  EXPECT_EQ(replayPathBeside("/levels/mine.txt"), "/levels/mine.replay");
  EXPECT_EQ(replayPathBeside("/levels/mine.replay"), "/levels/mine.replay.replay") << "the level kept";
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

  // A read-only level stays as it is, also for root, who could write it.
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  EXPECT_NE(writeFileAtomically(path, "x\n").find(path + ": the file is read-only"), std::string::npos);
  EXPECT_EQ(dir.readFile("level.txt"), "new\n");

  // A folder in the level's place cannot be replaced: nothing is lost and no
  // half-written file is left behind.
  std::filesystem::create_directory(dir.path() + "/taken.txt");
  dir.writeFile("taken.txt/inside", "kept");
  EXPECT_NE(writeFileAtomically(dir.path() + "/taken.txt", "x\n"), "");
  EXPECT_EQ(dir.readFile("taken.txt/inside"), "kept");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2) << "level.txt and taken.txt";
}

ProofResult proveToTheEnd(const std::vector<std::string>& rows, const std::string& solver = MQ_LEVEL_SOLVE) {
  const ScopedWorkDir dir;
  LevelSource source;
  source.level = levelFromRows(rows);
  ProofRun run(solver, dir.path(), "level", source);
  for (int wait = 0; wait < 3000 && run.result().state == ProofState::Running; ++wait) {
    run.poll();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return run.result();
}

// The player on a floor; walled in by brick beside and above him and by
// ladders, which cannot be dug, diagonally below, when stuck.
std::vector<std::string> floorRows(bool stuck) {
  std::vector<std::string> rows(32, std::string(32, '.'));
  rows[28] = stuck ? "..#............................." : rows[28];
  rows[29] = stuck ? ".#P#......$....................." : "..P.......$.....................";
  rows[30] = stuck ? "#H#H############################" : std::string(32, '#');
  rows[31] = std::string(32, '#');
  return rows;
}

TEST(ProofRunTest, ProvesALevelOrNamesTheGoldItNeverTook) {
  const ProofResult cleared = proveToTheEnd(floorRows(false));
  EXPECT_EQ(cleared.state, ProofState::Cleared) << cleared.line;
  ASSERT_TRUE(cleared.replay.has_value());
  EXPECT_FALSE(cleared.replay->keys.empty());
  EXPECT_NE(cleared.effort.find(" states, "), std::string::npos);

  // Gold out of reach settles it without a solver: none is there to start.
  const ProofResult stuck = proveToTheEnd(floorRows(true), "/nowhere/level-solve");
  EXPECT_EQ(stuck.state, ProofState::NoWayFound) << stuck.line;
  EXPECT_EQ(stuck.missedGold, std::vector<int>{cellIndex(10, 29)});
  EXPECT_FALSE(stuck.replay.has_value());
}

LevelMeasures measureToTheEnd(const std::string& levelPath, const LevelSource& source, bool proven,
                              const std::string& toolFolder = "") {
  const ScopedWorkDir dir;
  SetLevelMeasure measure(toolFolder.empty() ? MQ_LEVEL_RATE : toolFolder + "/level-rate",
                          toolFolder.empty() ? MQ_LEVEL_CHECK : toolFolder + "/level-check", dir.path(), levelPath,
                          source, proven);
  for (int wait = 0; wait < 3000 && !measure.done(); ++wait) {
    measure.poll();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return measure.measures();
}

// The set view's facts of a level come from its proof, saved where the
// level tests look for it: in replays/ beside the level when there is one.
TEST(ProofRunTest, ASavedProofMakesTheLevelProvenInItsSet) {
  startHeadlessAllegro();
  const ProofResult cleared = proveToTheEnd(floorRows(false));
  ASSERT_TRUE(cleared.replay.has_value());
  ScopedWorkDir dir;
  LevelSource source{"Floor", "", levelFromRows(floorRows(false))};
  std::ostringstream text;
  writeLevelSource(text, source);
  dir.writeFile("floor.txt", text.str());
  const std::string level = dir.path() + "/floor.txt";
  EXPECT_EQ(describeSetLevel(level).proof, "no proof");

  std::filesystem::create_directory(dir.path() + "/replays");
  EXPECT_EQ(saveProof(level, cleared), "");
  ASSERT_TRUE(dir.exists("replays/floor.replay"));
  EXPECT_NE(dir.readFile("replays/floor.replay").find("level: ../floor.txt"), std::string::npos);
  const SetLevelFacts facts = describeSetLevel(level);
  EXPECT_EQ(facts.title, "Floor");
  EXPECT_EQ(facts.gold, 1);
  EXPECT_TRUE(facts.proven) << facts.proof;
  const LevelMeasures measured = measureToTheEnd(level, source, true);
  EXPECT_NE(measured.figure.value_or("?"), "?");
  EXPECT_NE(measured.margin.value_or("?").find('%'), std::string::npos) << measured.margin.value_or("none");
  EXPECT_EQ(measured.start, "fair");
  EXPECT_EQ(measured.deadEnds, "none");
  EXPECT_FALSE(measured.faulty);

  dir.writeFile("replays/floor.replay", "level: ../floor.txt\n5 L\n");
  EXPECT_EQ(describeSetLevel(level).proof, "out of date");
  EXPECT_EQ(describeSetLevel(dir.path() + "/none.txt").proof, "never drawn");
}

// An enemy beside the player's start and a slot in the floor that nothing
// climbs out of: both faults, and no proof to rate.
TEST(SetLevelMeasureTest, NamesAnUnfairStartAndATrapOfALevelWithoutAProof) {
  std::vector<std::string> rows(32, std::string(32, '.'));
  rows[29] = "..$.......P.E...................";
  rows[30] = rows[31] = std::string(32, '#');
  rows[30][20] = '.';
  LevelSource source{"Slot", "", levelFromRows(rows)};
  const LevelMeasures measured = measureToTheEnd("/nowhere/slot.txt", source, false);
  EXPECT_EQ(measured.start, "unfair");
  EXPECT_EQ(measured.deadEnds, "1 trap");
  EXPECT_TRUE(measured.faulty);
  EXPECT_FALSE(measured.figure.has_value());

  // Without the tools, every figure is unknown at once, and no fault.
  const LevelMeasures unknown = measureToTheEnd("/nowhere/slot.txt", source, true, "/nowhere");
  for (const auto& figure : {unknown.figure, unknown.margin, unknown.start, unknown.deadEnds}) {
    EXPECT_EQ(figure, "?");
  }
  EXPECT_FALSE(unknown.faulty);
}

// A search that spends its budget without a way (as mellow-quarrier-level-solve ends:
// status 3 and the gold it never took on stderr) on a level the check
// cannot fault is unsure, not a proof.
TEST(ProofRunTest, ASearchWithoutAWayIsUnsureAndNamesTheGoldItNeverTook) {
  const ScopedWorkDir solverDir;
  solverDir.writeFile("no-way", "#!/bin/sh\necho 'level: the search never took the gold at (10, 29) (it ran out of its budget of 9 states):' >&2\nexit 3\n");
  const std::string solver = solverDir.path() + "/no-way";
  ASSERT_EQ(chmod(solver.c_str(), 0700), 0);
  const ProofResult searched = proveToTheEnd(floorRows(false), solver);
  EXPECT_EQ(searched.state, ProofState::Unsure) << searched.line;
  EXPECT_EQ(searched.missedGold, std::vector<int>{cellIndex(10, 29)});
}

}  // namespace
