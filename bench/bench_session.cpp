#include "bench_session.h"

#include "heavy_route.h"
#include "leveltext/level_text.h"
#include "reference_loop.h"

#include "base/globals.h"
#include "base/headless_start.h"
#include "base/scratch_folder.h"
#include "game/enemy.h"
#include "app/state_game_menu.h"
#include "game/game.h"
#include "game/player.h"

#include <allegro.h>
#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

constexpr int MenuWarmUpPasses = 30;
constexpr int MenuKeyDelayPasses = 20;
// More than one lap of the route: the trail covers the loop and the dug holes
// wait in the refill queue.
constexpr int PlayWarmUpPasses = 3000;
constexpr int StepsPerCellAndDecision = 17;
constexpr int MmapThresholdBytes = 128 * 1024;

void startHeadlessAllegro() {
  static bool started = false;
  if (started) {
    return;
  }
  // A fixed threshold: every bitmap of the game and of the reference is then
  // mapped on a page of its own, as in a program that creates them at
  // start-up. Otherwise the first freed scene raises the threshold, later
  // scenes' bitmaps land in the heap at other offsets, and the copies between
  // them run at another speed.
  mallopt(M_MMAP_THRESHOLD, MmapThresholdBytes);
  const std::string problem = startWithoutWindow(MQ_RUN_DIR "/assets.dat");
  if (!problem.empty()) {
    throw std::runtime_error(problem);
  }
  clear_bitmap(backBuffer);
  clear_bitmap(screen);
  started = true;
}

std::string heavyMapsBin() {
  std::ifstream in(MQ_BENCH_DIR "/heavy.txt");
  LevelSource source;
  std::string error;
  if (!parseLevelSource(in, "heavy.txt", source, error)) {
    throw std::runtime_error(error);
  }
  return mapsBinBytes({source.level}) + std::string(LevelRecordBytes, '\0');
}

// The heavy level in a folder of its own, where the Game reads and writes.
class HeavyLevelFolder {
public:
  HeavyLevelFolder() : folder_("mq-bench") {
    const std::string bytes = heavyMapsBin();
    std::ofstream(folder_.path() / "maps.bin", std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

private:
  ScratchFolder folder_;
};

void releaseKeys() { std::fill(key, key + KEY_MAX, 0); }

class GameScene : public PassScene {
public:
  explicit GameScene(bool play) {
    game_.gameSeed = [] { return 1u; };
    game_.readKey = [] { return static_cast<int>('\r'); };
    releaseKeys();
    if (!play) {
      passes(MenuWarmUpPasses);
      return;
    }
    passes(MenuKeyDelayPasses);
    key[KEY_J] = 1;  // "Start game"
    passes(1);
    releaseKeys();
    passes(PlayWarmUpPasses);
  }
  ~GameScene() override { releaseKeys(); }

  std::string describe() override {
    if (game_.player == nullptr) {
      runPass();
      return "title menu";
    }
    // A move of one cell takes 16 steps and a decision, so within 17 passes
    // every enemy that walks at all has moved.
    std::vector<std::pair<int16_t, int16_t>> before;
    for (const Enemy* enemy : game_.enemies) {
      before.emplace_back(enemy->x, enemy->y);
    }
    for (int i = 0; i < StepsPerCellAndDecision; ++i) {
      runPass();
    }
    size_t moved = 0;
    for (size_t i = 0; i < before.size(); ++i) {
      moved += before[i] != std::make_pair(game_.enemies[i]->x, game_.enemies[i]->y) ? 1 : 0;
    }
    const TileMap& map = game_.map;
    int trailCells = 0;
    for (int index = 0; index < CellCount; ++index) {
      trailCells += map.trailValue(index) > 0 ? 1 : 0;
    }
    std::ostringstream text;
    text << "player at (" << game_.player->x << ", " << game_.player->y << "), " << game_.enemies.size()
         << " enemies of which " << moved << " moved in the last 17 passes, " << map.refillQueue.size()
         << " holes waiting, " << trailCells << " trail cells";
    return text.str();
  }

  void runPass() override {
    if (game_.player != nullptr) {
      route_.holdKeysFor(*game_.player);
    }
    tickCount = 1;
    ::runPass();
  }

private:
  void passes(int count) {
    for (int i = 0; i < count; ++i) {
      runPass();
    }
  }

  HeavyLevelFolder folder_;  // before the Game, which reads and writes in it
  Game game_{makeTitleMenu};
  HeavyRoute route_;
};

class ReferenceScenePasses : public PassScene {
public:
  explicit ReferenceScenePasses(ReferenceScene scene) : loop_(scene) { loop_.useArt(assets); }
  void runPass() override {
    pendingTicks_ = 1;
    loop_.runPass(pendingTicks_);
  }
  std::string describe() override {
    runPass();
    return "bare reference loop";
  }

private:
  ReferenceLoop loop_;
  volatile int32_t pendingTicks_ = 0;
};

}  // namespace

std::unique_ptr<PassScene> makeScene(const std::string& name) {
  startHeadlessAllegro();
  if (name == "game-menu") {
    return std::make_unique<GameScene>(false);
  }
  if (name == "game-play") {
    return std::make_unique<GameScene>(true);
  }
  if (name == "reference-menu") {
    return std::make_unique<ReferenceScenePasses>(ReferenceScene::Menu);
  }
  if (name == "reference-play") {
    return std::make_unique<ReferenceScenePasses>(ReferenceScene::Play);
  }
  return nullptr;
}
