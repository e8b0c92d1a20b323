// The set view's run of level-make, looked at without waiting: the level
// made comes back with a proof that clears it, under the name level-make
// gave it less its number; a run that fails comes back with level-make's
// own reason; the candidates turned away are told while it works, and a run
// dropped midway stops the maker.
#include "editor/level_make_run.h"

#include "replay/replay_runner.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

namespace {

void waitUntil(const std::function<bool()>& done) {
  for (int wait = 0; wait < 6000 && !done(); ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

MadeForSet makeToTheEnd(const std::string& maker, const std::string& folder) {
  LevelMakeRun run(maker, folder, 1, 7);
  bool ended = false;
  waitUntil([&] { return ended = ended || run.poll(); });
  EXPECT_TRUE(ended);
  return run.result();
}

TEST(LevelMakeRun, TheLevelMadeComesBackWithItsProof) {
  startHeadlessAllegro();
  ScopedWorkDir work;
  const MadeForSet made = makeToTheEnd(MQ_LEVEL_MAKE, work.path() + "/made");
  ASSERT_EQ(made.error, "");
  EXPECT_NE(made.source.note.find("seed 7, difficulty 1"), std::string::npos) << made.source.note;
  EXPECT_EQ(made.fileName.find("001"), std::string::npos) << made.fileName;
  EXPECT_EQ(made.fileName.substr(made.fileName.size() - 4), ".txt");
  const ReplayOutcome outcome = playReplay(made.proof, singleLevelMapsBin(made.source.level));
  EXPECT_EQ(outcome.end, ReplayEnd::Cleared) << describeOutcome(outcome);
}

TEST(LevelMakeRun, AFailedRunSaysWhy) {
  ScopedWorkDir work;
  // The maker refuses to clear a folder that holds something not its own.
  std::filesystem::create_directories(work.path() + "/made/levels");
  std::ofstream(work.path() + "/made/levels/notes.txt") << "mine\n";
  const MadeForSet made = makeToTheEnd(MQ_LEVEL_MAKE, work.path() + "/made");
  EXPECT_NE(made.error.find("level-make: "), std::string::npos) << made.error;
  EXPECT_EQ(makeToTheEnd("", work.path() + "/made").error, "level-make was not found beside the editor");
}

// A stand-in maker that turns two candidates away and works on until told
// to stop, saying so.
TEST(LevelMakeRun, TellsWhatItTurnedAwayAndStopsWhenDropped) {
  ScopedWorkDir work;
  const std::string maker = work.path() + "/slow-maker";
  std::ofstream(maker) << "#!/bin/sh\n"
                          "trap 'echo stopped >&2; exit 1' TERM\n"
                          "echo 'level-make: candidate 0 turned away: unfair start' >&2\n"
                          "echo 'level-make: candidate 1 turned away: dead end' >&2\n"
                          "while :; do sleep 0.01; done\n";
  std::filesystem::permissions(maker, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
  {
    LevelMakeRun run(maker, work.path() + "/made", 5, 1);
    waitUntil([&] { return run.poll() || run.progress().rfind("2 ", 0) == 0; });
    EXPECT_EQ(run.progress(), "2 candidates turned away, the last dead end");
  }
  std::ifstream errors(work.path() + "/made/level-make.err");
  std::string last;
  for (std::string line; std::getline(errors, line);) {
    last = line;
  }
  EXPECT_EQ(last, "stopped");
}

}  // namespace
