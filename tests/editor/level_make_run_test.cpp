// The set view's run of level-make: the level made comes back with a proof
// that clears it, under the name level-make gave it less its number; a run
// that fails comes back with level-make's own reason.
#include "editor/level_make_run.h"

#include "replay/replay_runner.h"
#include "support/headless.h"

#include <gtest/gtest.h>

namespace {

TEST(LevelMakeRun, TheLevelMadeComesBackWithItsProof) {
  startHeadlessAllegro();
  ScopedWorkDir work;
  const MadeForSet made = makeOneLevel(MQ_LEVEL_MAKE, runFile("assets.dat"), work.path() + "/made", 1, 7);
  ASSERT_EQ(made.error, "");
  EXPECT_NE(made.source.note.find("seed 7, difficulty 1"), std::string::npos) << made.source.note;
  EXPECT_EQ(made.fileName.find("001"), std::string::npos) << made.fileName;
  EXPECT_EQ(made.fileName.substr(made.fileName.size() - 4), ".txt");
  const ReplayOutcome outcome = playReplay(made.proof, singleLevelMapsBin(made.source.level));
  EXPECT_EQ(outcome.end, ReplayEnd::Cleared) << describeOutcome(outcome);
}

TEST(LevelMakeRun, AFailedRunSaysWhy) {
  ScopedWorkDir work;
  const MadeForSet made = makeOneLevel(MQ_LEVEL_MAKE, work.path() + "/no-assets.dat", work.path() + "/made", 1, 7);
  EXPECT_NE(made.error.find("level-make: "), std::string::npos) << made.error;
  EXPECT_EQ(makeOneLevel("", "", work.path() + "/made", 1, 7).error, "level-make was not found beside the editor");
}

}  // namespace
