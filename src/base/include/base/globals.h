// The process-wide objects that every subsystem shares, and the main loop.
//
// tickCount is raised by the library's timer thread and consumed by the main
// thread without a lock: surplus ticks are dropped anyway, so a tick lost
// between the test and the reset changes nothing visible.
#pragma once

#include <allegro.h>

#include <cstdint>
#include <functional>

class State;

extern volatile int32_t tickCount;
extern bool keepRunning;
extern State* currentState;      // owns the active state
extern BITMAP* backBuffer;       // 512 x 528, every frame is composed here
extern BITMAP* levelBitmap;      // 512 x 512, the tiles of the level in play
extern DATAFILE* assets;         // objects addressed by the indices of assets.h
extern int32_t bonusTimer;       // level clock in updates, 12000 at level start

// The timer ticks this often, and each tick is one update of the game: game
// time is counted in updates.
constexpr int UpdatesPerSecond = 100;
constexpr double secondsOf(double updates) { return updates / UpdatesPerSecond; }

constexpr int ScreenWidth = 512;
constexpr int ScreenHeight = 528;
constexpr int FieldSize = 512;

// The timer handler: one tick every 1/UpdatesPerSecond of a second.
void onTick();

// One pass of the main loop: at most one update and one frame, no catching up.
void runPass();

// Copies backBuffer to the screen, then clears it for the next frame.
void presentFrame();

// The level editor shows the game's frames in a window of its own size and
// scale; it replaces the copy to the screen while it plays. The game never
// sets one. An empty function restores the plain copy.
using FramePresenter = std::function<void()>;
void setFramePresenter(FramePresenter presenter);
