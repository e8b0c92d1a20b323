// The reference the game's cost is measured against: a bare program with the
// game's main loop (at most one update and one frame per tick, rest(1) while
// none is pending, the back buffer copied to the screen and cleared) and the
// least drawing a frame of the same shape needs, written straight against the
// library. Play draws the 512 by 512 level copy, 31 moving sprites and the
// status line; the menu draws the title screen's texts and score box.
#pragma once

#include <allegro.h>

#include <cstdint>

enum class ReferenceScene { Menu, Play };

class ReferenceLoop {
public:
  // Creates the two bitmaps, as the game does before it loads its datafile.
  explicit ReferenceLoop(ReferenceScene scene);
  ~ReferenceLoop();
  ReferenceLoop(const ReferenceLoop&) = delete;
  ReferenceLoop& operator=(const ReferenceLoop&) = delete;

  // Takes the tile sheet and sprites from the game's datafile and draws the
  // level picture; text is drawn in the library's global font, frames go to
  // its global screen.
  void useArt(DATAFILE* art);

  void runPass(volatile int32_t& pendingTicks);

  static constexpr int SpriteCount = 31;

private:
  void update();
  void drawMenu();
  void drawPlay();
  void drawStatusLine();
  void presentFrame();

  ReferenceScene scene_;
  DATAFILE* art_ = nullptr;
  BITMAP* frame_;
  BITMAP* levelPicture_;
  int spriteX_[SpriteCount];
  int spriteY_[SpriteCount];
  int spriteStep_[SpriteCount];
  int32_t clockTicks_ = 12000;
  uint32_t score_ = 0;
};
