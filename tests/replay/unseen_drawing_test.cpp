// The rules alone against the rules with their pictures: every shipped
// replay and a few thousand generated ones, each played painted and unseen,
// must give the same state after every update. What drawing does to the game
// (a tile variant drawn from the shared generator for every non-empty cell,
// a crushed enemy's delay counted down) is what would drift, so the trace
// holds the generator's position and every enemy's delay, and the test
// counts that crushes and refills really happened.
#include "replay/replay.h"
#include "replay/replay_runner.h"

#include "base/random_draws.h"
#include "game/enemy.h"
#include "game/game.h"
#include "game/player.h"
#include "leveltext/level_set.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int GeneratedReplays = 2000;
constexpr uint32_t GeneratedUpdates = 400;

struct Trace {
  std::vector<uint64_t> states;   // one a update
  int crushes = 0;
  uint64_t draws = 0;             // taken from the generator in all
};

uint64_t mixed(uint64_t hash, int64_t value) {
  return (hash ^ static_cast<uint64_t>(value)) * 1099511628211ULL;
}

uint64_t stateOf(const Game& game) {
  uint64_t hash = 1469598103934665603ULL;
  for (int64_t value : {int64_t{game.player->x}, int64_t{game.player->y}, int64_t{game.player->score},
                        int64_t{game.player->alive}, int64_t{game.player->lives}, int64_t{game.goldLeft()},
                        int64_t(game.map.refillQueue.size()), int64_t{game.map.refillCountdown},
                        int64_t(randomPosition().draws)}) {
    hash = mixed(hash, value);
  }
  for (const Enemy* enemy : game.enemies) {
    for (int64_t value : {int64_t{enemy->x}, int64_t{enemy->y}, int64_t{enemy->respawnDelay},
                          int64_t{enemy->direction}, int64_t{enemy->caughtPlayer}}) {
      hash = mixed(hash, value);
    }
  }
  for (int8_t cell : game.map.cells) {
    hash = mixed(hash, cell);
  }
  return hash;
}

Trace traced(const Replay& replay, const std::string& mapsBin, Drawing drawing) {
  Trace trace;
  playReplay(
      replay, mapsBin,
      [&trace](uint32_t, const Game& game) {
        trace.states.push_back(stateOf(game));
        for (const Enemy* enemy : game.enemies) {
          trace.crushes += enemy->respawnDelay == 255 ? 1 : 0;
        }
        trace.draws = randomPosition().draws;
      },
      drawing);
  return trace;
}

// Answers the number of the first update whose state differs, 0 when none.
size_t firstDifference(const Trace& painted, const Trace& unseen) {
  for (size_t update = 0; update < painted.states.size() && update < unseen.states.size(); ++update) {
    if (painted.states[update] != unseen.states[update]) {
      return update + 1;
    }
  }
  return painted.states.size() == unseen.states.size() ? 0 : std::min(painted.states.size(), unseen.states.size()) + 1;
}

// Small caves of brick, ladders and ropes with gold and a crowd of enemies
// close to the player, who runs about digging: holes open, refill and crush.
class ReplayMaker {
public:
  int below(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

  Level level() {
    Level level{};
    for (int y = 0; y < GridSize; ++y) {
      for (int x = 0; x < GridSize; ++x) {
        level.cells[cellIndex(x, y)] = y >= 28 || (y % 6 == 5 && below(5) != 0) ? Brick : Empty;
      }
    }
    for (int ladders = 4 + below(6); ladders > 0; --ladders) {
      const int x = below(GridSize);
      for (int y = below(24), end = y + 4 + below(12); y < end && y < 28; ++y) {
        level.cells[cellIndex(x, y)] = Ladder;
      }
    }
    for (int ropes = below(4); ropes > 0; --ropes) {
      const int y = 1 + below(26);
      for (int x = below(GridSize), end = x + 3 + below(10); x < end && x < GridSize; ++x) {
        level.cells[cellIndex(x, y)] = Rope;
      }
    }
    for (int gold = 1 + below(8); gold > 0; --gold) {
      level.cells[cellIndex(below(GridSize), below(28))] = Gold;
    }
    const int startX = below(GridSize);
    for (int enemies = 1 + below(6); enemies > 0; --enemies) {
      level.cells[cellIndex(std::clamp(startX + below(13) - 6, 0, GridSize - 1), 22 + below(6))] = EnemyStart;
    }
    level.cells[cellIndex(startX, 27)] = PlayerStart;
    return level;
  }

  Replay replay() {
    static constexpr uint8_t Moves[] = {HoldLeft, HoldRight, HoldUp, HoldDown, 0};
    static constexpr uint8_t Digs[] = {0, 0, HoldDigLeft, HoldDigRight};
    Replay replay;
    replay.seed = static_cast<unsigned>(below(1000));
    for (uint32_t updates = 0; updates < GeneratedUpdates;) {
      const uint8_t keys = Moves[below(std::size(Moves))] | Digs[below(std::size(Digs))];
      const auto run = static_cast<uint32_t>(1 + below(below(4) == 0 ? 40 : 3));
      holdKeys(replay, keys, run);
      updates += run;
    }
    return replay;
  }

private:
  std::mt19937 random_{25};
};

class UnseenDrawing : public ::testing::Test {
protected:
  void SetUp() override { startHeadlessAllegro(); }

  void expectSameTrace(const Replay& replay, const std::string& mapsBin, const std::string& name) {
    const Trace painted = traced(replay, mapsBin, Drawing::Painted);
    const Trace unseen = traced(replay, mapsBin, Drawing::Unseen);
    EXPECT_EQ(firstDifference(painted, unseen), 0u) << name << ": the first update that differs";
    ++replays_;
    updates_ += painted.states.size();
    crushes_ += painted.crushes;
    draws_ += painted.draws;
  }

  int replays_ = 0;
  size_t updates_ = 0;
  int crushes_ = 0;
  uint64_t draws_ = 0;
};

TEST_F(UnseenDrawing, PlaysEveryShippedAndGeneratedReplayUpdateForUpdateAsThePaintedGame) {
  std::vector<std::string> names;
  ASSERT_TRUE(readLevelListNames(fs::path(MQ_LEVELS_DIR) / "levels.txt", names));
  for (const std::string& name : names) {
    const fs::path path = (fs::path(MQ_LEVELS_DIR) / "replays" / name).replace_extension(".replay");
    Replay replay;
    std::string error;
    ASSERT_TRUE(loadReplay(path.string(), replay, error)) << error;
    expectSameTrace(replay, replayMapsBin(replay), name);
  }
  ReplayMaker maker;
  for (int generated = 0; generated < GeneratedReplays; ++generated) {
    const Level level = maker.level();
    expectSameTrace(maker.replay(), singleLevelMapsBin(level), "generated replay " + std::to_string(generated));
  }
  // Not a test of nothing: the runs crushed enemies and drew tiles aplenty.
  EXPECT_GT(crushes_, GeneratedReplays / 4);
  EXPECT_GT(draws_, uint64_t{GeneratedReplays} * 200);
  std::cout << replays_ << " replays, " << updates_ << " updates, " << crushes_ << " crushes, " << draws_
            << " random draws\n";
}

}  // namespace
