// The main loop's contract: at most one update per pass whatever the pending
// ticks, nothing at all without a tick, and a state installed by an update is
// the one drawn in that same pass.
#include "base/globals.h"
#include "base/state.h"
#include "app/state_game_menu.h"
#include "game/game.h"
#include "leveltext/level_text.h"
#include "support/driver.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> events;

class ProbeState : public State {
public:
  ProbeState(Game* game, std::string name, int colour) : game_(game), name_(std::move(name)), colour_(colour) {}
  ~ProbeState() override { events.push_back("destroy " + name_); }

  void update() override {
    events.push_back("update " + name_);
    if (successor_ != nullptr) {
      game_->setState(successor_);
      events.push_back("setState returned");
    }
  }

  void draw() override {
    events.push_back("draw " + name_);
    putpixel(backBuffer, 3, 4, colour_);
  }

  void handOverTo(State* successor) { successor_ = successor; }

private:
  Game* game_;
  std::string name_;
  int colour_;
  State* successor_ = nullptr;
};

class MainLoopTest : public ::testing::Test {
protected:
  void SetUp() override {
    startHeadlessAllegro();
    writeMapsBin(dir_, {levelFromRows(std::vector<std::string>(32, "P" + std::string(31, '.')))});
    game_ = new Game(makeTitleMenu);
    first_ = new ProbeState(game_, "first", 0x112233);
    game_->setState(first_);
    events.clear();
  }

  void TearDown() override { delete game_; }

  ScopedWorkDir dir_;
  Game* game_ = nullptr;
  ProbeState* first_ = nullptr;
};

TEST_F(MainLoopTest, RunsOneUpdateAndOneFrameHoweverManyTicksArePending) {
  tickCount = 7;
  runPass();
  EXPECT_EQ(events, (std::vector<std::string>{"update first", "draw first"}));
  EXPECT_EQ(tickCount, 0);
  EXPECT_EQ(getpixel(screen, 3, 4), 0x112233);
  EXPECT_EQ(getpixel(backBuffer, 3, 4), 0) << "the back buffer is cleared after it is shown";
}

TEST_F(MainLoopTest, WithoutATickNeitherUpdatesNorDraws) {
  putpixel(screen, 3, 4, 0x445566);
  tickCount = 0;
  runPass();
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(getpixel(screen, 3, 4), 0x445566) << "the last presented picture stays";
}

TEST_F(MainLoopTest, DrawsTheStateThatTheUpdateInstalled) {
  first_->handOverTo(new ProbeState(game_, "second", 0x00FF00));
  tickCount = 1;
  runPass();
  EXPECT_EQ(events, (std::vector<std::string>{"update first", "destroy first", "setState returned", "draw second"}));
  EXPECT_EQ(getpixel(screen, 3, 4), 0x00FF00);
}

TEST_F(MainLoopTest, GameDestroysTheCurrentStateAtTheEnd) {
  delete game_;
  game_ = nullptr;
  EXPECT_EQ(events, (std::vector<std::string>{"destroy first"}));
  EXPECT_EQ(currentState, nullptr);
  EXPECT_TRUE(dir_.exists("user.bin")) << "the high scores are written at the end";
}

}  // namespace
