// Replays: the text form, the recorder, and whole runs through the real
// rules with their outcomes.
#include "replay/replay.h"
#include "replay/replay_runner.h"

#include "leveltext/level_text.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

Replay parsed(const std::string& text) {
  Replay replay;
  std::string error;
  std::istringstream in(text);
  EXPECT_TRUE(parseReplay(in, "t.replay", replay, error)) << error;
  return replay;
}

std::string parseError(const std::string& text) {
  Replay replay;
  std::string error;
  std::istringstream in(text);
  EXPECT_FALSE(parseReplay(in, "t.replay", replay, error));
  return error;
}

TEST(ReplayText, ReadsHeadersAndRunLengthKeys) {
  const Replay replay = parsed(
      "# a comment\n"
      "maps: ../run/maps.bin\n"
      "position: 2\n"
      "order: random\n"
      "seed: 99\n"
      "enemies: off\n"
      "expect: game over\n"
      "\n"
      "40 R\n"
      "5 -\n"
      "3 rj\n"
      "1 UDLRJK\n");
  EXPECT_EQ(replay.mapsFile, "../run/maps.bin");
  EXPECT_EQ(replay.position, 2);
  EXPECT_EQ(replay.orderMode, 1);
  EXPECT_EQ(replay.seed, 99u);
  EXPECT_FALSE(replay.enemies);
  EXPECT_TRUE(replay.hasExpectation);
  EXPECT_EQ(replay.expected, ReplayEnd::GameOver);
  ASSERT_EQ(replay.keys.size(), 4u);
  EXPECT_EQ(replay.keys[0].updates, 40u);
  EXPECT_EQ(replay.keys[0].keys, HoldRight);
  EXPECT_EQ(replay.keys[1].keys, 0);
  EXPECT_EQ(replay.keys[2].keys, HoldRight | HoldDigLeft);
  EXPECT_EQ(heldKeyLetters(replay.keys[3].keys), "UDLRJK");
}

TEST(ReplayText, NamesTheLineOfAFault) {
  EXPECT_EQ(parseError("level: a.txt\n40 X\n"),
            "t.replay:2: keys must be '-' or letters of UDLRJK, as in \"40 R\"");
  EXPECT_EQ(parseError("level: a.txt\n0 R\n"), "t.replay:2: the update count must be a whole number above 0");
  EXPECT_EQ(parseError("levle: a.txt\n"), "t.replay:1: unknown field \"levle\"");
  EXPECT_EQ(parseError("40 R\n"), "t.replay: give exactly one of \"level:\" and \"maps:\"");
  EXPECT_EQ(parseError("level: a.txt\norder: random\n"), "t.replay: position and order go with \"maps:\" only");
}

TEST(ReplayText, RecorderMergesRunsAndWritesWhatItReads) {
  Replay recorded;
  recorded.levelFile = "cave.txt";
  recorded.seed = 7;
  holdKeys(recorded, HoldRight, 3);
  holdKeys(recorded, HoldRight, 2);
  holdKeys(recorded, 0, 0);
  holdKeys(recorded, HoldDigLeft, 1);
  std::ostringstream text;
  writeReplay(text, recorded);
  EXPECT_EQ(text.str(), "level: cave.txt\nseed: 7\nenemies: on\n5 R\n1 J\n");
  const Replay reread = parsed(text.str());
  ASSERT_EQ(reread.keys.size(), 2u);
  EXPECT_EQ(reread.keys[0].updates, 5u);
}

struct ReplayCase {
  const char* file;
  ReplayEnd end;
  uint32_t ticks;
  int32_t score;
  int32_t timeBonus;
  int lives;
  int deaths;
};

class ReplayRun : public ::testing::TestWithParam<ReplayCase> {};

void PrintTo(const ReplayCase& c, std::ostream* out) { *out << c.file; }

TEST_P(ReplayRun, EndsAsRecorded) {
  const ReplayCase& c = GetParam();
  startHeadlessAllegro();
  Replay replay;
  std::string error;
  ASSERT_TRUE(loadReplay(std::string(MQ_REPLAY_DIR) + "/" + c.file, replay, error)) << error;
  const ReplayOutcome outcome = playReplay(replay, replayMapsBin(replay));
  EXPECT_EQ(outcome.end, c.end);
  EXPECT_EQ(outcome.ticks, c.ticks);
  EXPECT_EQ(outcome.score, c.score);
  EXPECT_EQ(outcome.timeBonus, c.timeBonus);
  EXPECT_EQ(outcome.lives, c.lives);
  EXPECT_EQ(outcome.deaths, c.deaths);
}

// Each walk is worked out by hand: a move takes 16 ticks plus the decision
// tick that starts it; the hole dug in tick 1 refills in tick 100.
INSTANTIATE_TEST_SUITE_P(
    Replays, ReplayRun,
    ::testing::Values(
        ReplayCase{"walk_to_gold.replay", ReplayEnd::Cleared, 69, 10, 120, 3, 0},
        ReplayCase{"crush_then_gold.replay", ReplayEnd::Cleared, 124, 25, 119, 3, 0},
        ReplayCase{"enemy_in_the_way.replay", ReplayEnd::GameOver, 85, 0, 0, 0, 3},
        ReplayCase{"enemy_in_the_way_cleared.replay", ReplayEnd::Cleared, 511, 10, 115, 3, 0}));

TEST(ReplayRunner, RecordedKeysPlayOnALevelBuiltInMemory) {
  startHeadlessAllegro();
  std::vector<std::string> rows(GridSize, std::string(GridSize, '#'));
  rows[5] = "P..$" + std::string(GridSize - 4, '.');
  Replay replay;
  holdKeys(replay, HoldRight, 60);
  uint32_t observed = 0;
  const ReplayOutcome outcome = playReplay(replay, singleLevelMapsBin(levelFromRows(rows)),
                                           [&](uint32_t tick, const Game&) { observed = tick; });
  EXPECT_EQ(outcome.end, ReplayEnd::Cleared);
  EXPECT_EQ(outcome.ticks, 52u);
  EXPECT_EQ(observed, 52u);

  replay.keys = {{10, HoldRight}};
  EXPECT_EQ(playReplay(replay, singleLevelMapsBin(levelFromRows(rows))).end, ReplayEnd::KeysRanOut);
}

}  // namespace
