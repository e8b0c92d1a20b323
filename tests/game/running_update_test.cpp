// One update of a running game and its host: what ends it first, a cleared
// level before a lost life, and the host deciding whether play goes on.
#include "actor_play.h"

#include "base/globals.h"
#include "game/running_update.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Notes what the update handed over, and answers as told.
struct RecordingHost : RunningGameHost {
  bool asksForEnd = false;
  bool goesOn = false;
  std::string calls;

  bool endRequested() override { return asksForEnd; }
  void gameOver() override { calls += "over "; }
  bool levelCleared() override {
    calls += "cleared ";
    return goesOn;
  }
  bool lifeLost() override {
    calls += "life ";
    return goesOn;
  }
};

// No gold: every update clears the level.
const std::vector<std::string> NoGold{"P...", "####"};

TEST(RunningUpdate, TheEndComesBeforeAClearedLevelAndAClearedLevelBeforeALostLife) {
  for (bool goesOn : {false, true}) {
    ActorPlay play(NoGold);
    RecordingHost host;
    host.goesOn = goesOn;
    uint8_t sequenceIndex = 0;
    play.player().alive = 0;
    EXPECT_EQ(updateRunningGame(play.game(), sequenceIndex, 1, host), UpdateOutcome::LevelCleared);
    EXPECT_EQ(host.calls, "cleared ") << "going on " << goesOn;
    EXPECT_EQ(play.game().livesLeft(), 3) << "going on " << goesOn;
    EXPECT_EQ(play.player().alive, goesOn ? 1 : 0) << "the next level makes him alive";

    host.asksForEnd = true;
    host.calls.clear();
    EXPECT_EQ(updateRunningGame(play.game(), sequenceIndex, 1, host), UpdateOutcome::GameOver);
    EXPECT_EQ(host.calls, "over ");
  }
}

TEST(RunningUpdate, ALostLifeEntersTheLevelAgainOnlyIfTheHostGoesOn) {
  for (bool goesOn : {false, true}) {
    ActorPlay play({".P.$", "####"});
    RecordingHost host;
    host.goesOn = goesOn;
    uint8_t sequenceIndex = 0;
    play.player().place(32, 0);
    play.player().alive = 0;
    bonusTimer = 500;
    EXPECT_EQ(updateRunningGame(play.game(), sequenceIndex, 1, host), UpdateOutcome::LifeLost);
    EXPECT_EQ(host.calls, "life ");
    EXPECT_EQ(play.game().livesLeft(), 2);
    EXPECT_EQ(play.player().x, goesOn ? 16 : 32) << "going on " << goesOn;
    EXPECT_EQ(bonusTimer, goesOn ? 12000 : 499);
  }
}

}  // namespace
