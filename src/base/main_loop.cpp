#include "base/globals.h"
#include "base/state.h"

#include <utility>

namespace {

FramePresenter framePresenter;

}  // namespace

void onTick() { tickCount = tickCount + 1; }

void runPass() {
  if (tickCount == 0) {
    rest(1);
    return;
  }
  currentState->update();
  // Surplus ticks are dropped: a slow pass is followed by exactly one update,
  // so the game slows down rather than skipping.
  tickCount = 0;
  // The update may have replaced the state; the new one draws this frame.
  currentState->draw();
  presentFrame();
}

void presentFrame() {
  if (framePresenter) {
    framePresenter();
  } else {
    blit(backBuffer, screen, 0, 0, 0, 0, ScreenWidth, ScreenHeight);
  }
  clear_bitmap(backBuffer);
}

void setFramePresenter(FramePresenter presenter) { framePresenter = std::move(presenter); }
