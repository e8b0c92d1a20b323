#include "editor/play_in_window.h"

#include "replay/replay_runner.h"

#include "app/state_game_running.h"
#include "base/globals.h"
#include "base/scratch_folder.h"
#include "game/game.h"
#include "game/player.h"
#include "game/running_update.h"
#include "level/cell_kinds.h"
#include "level/tile_map.h"

#include <allegro.h>

#include <memory>

namespace {

constexpr int EndOfWatchPauseMs = 600;

// Where a game in the editor goes when it ends: nothing more is played or
// drawn, and the editor takes the window back.
class State_BackToEditor : public State {
public:
  void update() override {}
  void draw() override {}
};

bool backInEditor() { return dynamic_cast<State_BackToEditor*>(currentState) != nullptr; }

constexpr int8_t FullLives = 3;

// The figures are taken while the player still exists: the ending's next
// state is built before the running state, and the player with it, goes.
GameEnding backToEditorWithFigures(const PlayOptions& options, PlayFigures& figures) {
  GameEnding ending;
  ending.next = [&figures](Game& game) -> State* {
    figures.cleared = clearsLevel(game.goldLeft());
    figures.score = game.player->score;
    return new State_BackToEditor;
  };
  ending.offerHighScore = false;
  ending.endsWhenCleared = options.endsWhenCleared;
  ending.lifeLost = [&figures, endless = options.endlessLives](Game& game) {
    ++figures.livesLost;
    const int x = (game.player->x + CellPixels / 2) / CellPixels;
    const int y = (game.player->y + CellPixels / 2) / CellPixels;
    figures.lastDeath = PlayDeath{x, y, kindOf(game.map.cellAt(x, y)).stopsMoves};
    if (endless) {
      game.player->lives = FullLives;
    }
  };
  return ending;
}

// A watch also ends when its level is cleared, noting that it was.
GameEnding backToEditorWhenCleared(bool& cleared) {
  return {[&cleared](Game& game) -> State* {
            cleared = clearsLevel(game.goldLeft());
            return new State_BackToEditor;
          },
          false, true};
}

// The game's frames go to the editor's window while it lives.
class GameFrames {
public:
  explicit GameFrames(const PlayWindow& window) {
    setFramePresenter([show = window.showFrame] {
      if (!backInEditor()) {
        show();
      }
    });
  }
  ~GameFrames() { setFramePresenter({}); }
  GameFrames(const GameFrames&) = delete;
  GameFrames& operator=(const GameFrames&) = delete;
};

// The game's scratch folder with its maps.bin, both made before the Game
// reads the file: on a short one it would end the whole editor.
std::unique_ptr<ScratchFolder> gameFolder(const char* prefix, const std::string& mapsBin) {
  try {
    auto folder = std::make_unique<ScratchFolder>(prefix);
    writeMapsBin(mapsBin);
    return folder;
  } catch (const std::runtime_error& error) {
    throw GameCannotStart(error.what());
  }
}

void waitForTick() {
  while (tickCount == 0) {
    rest(1);
  }
}

}  // namespace

PlayFigures playLevels(const std::string& mapsBin, const PlayOptions& options, const PlayWindow& window) {
  const GameFrames frames(window);
  const auto folder = gameFolder("mq-editor-play", mapsBin);
  PlayFigures figures;
  Game game(noFirstState);
  if (options.startCell) {
    const auto [x, y] = *options.startCell;
    game.startOverride = SpawnPoint{static_cast<int16_t>(x * CellPixels), static_cast<int16_t>(y * CellPixels)};
  }
  game.setState(new State_GameRunning(&game, backToEditorWithFigures(options, figures)));
  // Between ticks a pass only rests, so the window (and a proof's output) is
  // looked at once a tick rather than at every rest.
  while (!backInEditor() && !window.closeRequested()) {
    waitForTick();
    ++figures.updates;
    runPass();
  }
  return figures;
}

namespace {

// Drawn over the game's frame, in a colour the level's tiles do not use.
void frameMarks(const std::vector<WatchMark>& marks, uint32_t played) {
  const int colour = makecol(255, 0, 255);
  for (const WatchMark& mark : marks) {
    if (played + MarkShownUpdates >= mark.update && played <= mark.update + MarkShownUpdates) {
      const int left = mark.column * CellPixels;
      const int top = mark.row * CellPixels;
      rect(backBuffer, left - 1, top - 1, left + CellPixels, top + CellPixels, colour);
      rect(backBuffer, left - 2, top - 2, left + CellPixels + 1, top + CellPixels + 1, colour);
    }
  }
}

}  // namespace

bool watchReplay(const Level& level, const Replay& replay, const PlayWindow& window,
                 const std::vector<WatchMark>& marks) {
  const GameFrames frames(window);
  const auto folder = gameFolder("mq-editor-watch", singleLevelMapsBin(replay.enemies ? level : withoutEnemyStarts(level)));
  Game game(noFirstState);
  const unsigned seed = replay.seed;
  game.gameSeed = [seed] { return seed; };
  volatile char replayKeys[KEY_MAX] = {};
  game.heldKeys = replayKeys;
  bool cleared = false;
  game.setState(new State_GameRunning(&game, backToEditorWhenCleared(cleared)));
  auto run = replay.keys.begin();
  uint32_t heldSoFar = 0;
  uint32_t played = 0;
  while (run != replay.keys.end() && !backInEditor() && !window.closeRequested()) {
    waitForTick();
    const int updates = key[KEY_F] ? FastForwardUpdates : 1;
    for (int update = 0; update < updates && run != replay.keys.end() && !backInEditor(); ++update) {
      holdOnly(run->keys, replayKeys);
      currentState->update();
      ++played;
      if (++heldSoFar >= run->updates) {
        ++run;
        heldSoFar = 0;
      }
    }
    tickCount = 0;
    currentState->draw();
    frameMarks(marks, played);
    presentFrame();
  }
  if (cleared || !backInEditor()) {
    rest(EndOfWatchPauseMs);
  }
  return cleared;
}
