#include "editor/play_in_window.h"

#include "replay/replay_runner.h"

#include "app/state_game_running.h"
#include "base/globals.h"
#include "base/scratch_folder.h"
#include "game/game.h"

#include <allegro.h>


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

GameEnding backToEditor() {
  return {[](Game&) -> State* { return new State_BackToEditor; }, false};
}

// A watch also ends when its level is cleared, noting that it was.
GameEnding backToEditorWhenCleared(bool& cleared) {
  return {[&cleared](Game& game) -> State* {
            cleared = game.goldLeft() == 0;
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

void waitForTick() {
  while (tickCount == 0) {
    rest(1);
  }
}

}  // namespace

void playTest(const Level& level, const PlayWindow& window) {
  const GameFrames frames(window);
  const ScratchFolder folder("mq-editor-play");
  writeSingleLevelMapsBin(level);
  Game game(noFirstState);
  game.setState(new State_GameRunning(&game, backToEditor()));
  // Between ticks a pass only rests, so the window (and a proof's output) is
  // looked at once a tick rather than at every rest.
  while (!backInEditor() && !window.closeRequested()) {
    waitForTick();
    runPass();
  }
}

bool watchReplay(const Level& level, const Replay& replay, const PlayWindow& window) {
  const GameFrames frames(window);
  const ScratchFolder folder("mq-editor-watch");
  writeSingleLevelMapsBin(replay.enemies ? level : withoutEnemyStarts(level));
  Game game(noFirstState);
  const unsigned seed = replay.seed;
  game.gameSeed = [seed] { return seed; };
  volatile char replayKeys[KEY_MAX] = {};
  game.heldKeys = replayKeys;
  bool cleared = false;
  game.setState(new State_GameRunning(&game, backToEditorWhenCleared(cleared)));
  auto run = replay.keys.begin();
  uint32_t heldSoFar = 0;
  while (run != replay.keys.end() && !backInEditor() && !window.closeRequested()) {
    waitForTick();
    const int updates = key[KEY_F] ? FastForwardUpdates : 1;
    for (int update = 0; update < updates && run != replay.keys.end() && !backInEditor(); ++update) {
      holdOnly(run->keys, replayKeys);
      currentState->update();
      if (++heldSoFar >= run->updates) {
        ++run;
        heldSoFar = 0;
      }
    }
    tickCount = 0;
    currentState->draw();
    presentFrame();
  }
  if (cleared || !backInEditor()) {
    rest(EndOfWatchPauseMs);
  }
  return cleared;
}
