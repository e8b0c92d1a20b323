#include "reference_loop.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int Width = 512;
constexpr int Height = 528;
constexpr int Field = 512;
constexpr int Cell = 16;
constexpr int StatusY = 513;
constexpr int Dim = 0x445566;

BITMAP* artBitmap(DATAFILE* art, int index) { return static_cast<BITMAP*>(art[index].dat); }

}  // namespace

ReferenceLoop::ReferenceLoop(ReferenceScene scene)
    : scene_(scene), frame_(create_bitmap(Width, Height)), levelPicture_(create_bitmap(Field, Field)) {
  clear_bitmap(frame_);
  clear_bitmap(levelPicture_);
  for (int i = 0; i < SpriteCount; ++i) {
    spriteX_[i] = (i * 37) % (Field - Cell);
    spriteY_[i] = Cell * i;
    spriteStep_[i] = i % 2 == 0 ? 1 : -1;
  }
}

void ReferenceLoop::useArt(DATAFILE* art) {
  art_ = art;
  // Bricks, ladders and ropes in the variants of the tile sheet, like a level.
  for (int x = 0; x < Field / Cell; ++x) {
    for (int y = 0; y < Field / Cell; ++y) {
      const int code = (x * 7 + y * 3) % 5;
      if (code > 0) {
        blit(artBitmap(art_, 0), levelPicture_, Cell * ((x + y) % 4), Cell * (code - 1), Cell * x, Cell * y,
             Cell, Cell);
      }
    }
  }
}

ReferenceLoop::~ReferenceLoop() {
  destroy_bitmap(frame_);
  destroy_bitmap(levelPicture_);
}

void ReferenceLoop::runPass(volatile int32_t& pendingTicks) {
  if (pendingTicks == 0) {
    rest(1);
    return;
  }
  update();
  pendingTicks = 0;
  if (scene_ == ReferenceScene::Play) {
    drawPlay();
  } else {
    drawMenu();
  }
  presentFrame();
}

void ReferenceLoop::update() {
  if (scene_ == ReferenceScene::Menu) {
    return;
  }
  for (int i = 0; i < SpriteCount; ++i) {
    spriteX_[i] += spriteStep_[i];
    if (spriteX_[i] <= 0 || spriteX_[i] >= Field - Cell) {
      spriteStep_[i] = -spriteStep_[i];
    }
  }
  if (clockTicks_ >= 0) {
    --clockTicks_;
  }
  score_ += 5;
}

void ReferenceLoop::drawPlay() {
  blit(levelPicture_, frame_, 0, 0, 0, 0, Field, Field);
  for (int i = 0; i < SpriteCount; ++i) {
    const int picture = i == 0 ? 1 + (spriteX_[i] / 4) % 2 : 7 + (spriteX_[i] / 10) % 2;
    draw_sprite(frame_, artBitmap(art_, picture), spriteX_[i], spriteY_[i]);
  }
  drawStatusLine();
}

void ReferenceLoop::drawStatusLine() {
  char text[32];
  textout_right_ex(frame_, font, "0000000000", 80, StatusY, Dim, 0);
  snprintf(text, sizeof text, "%u", score_);
  textout_right_ex(frame_, font, text, 80, StatusY, -1, 0);
  const int seconds = (clockTicks_ / 100) % 60;
  snprintf(text, sizeof text, "%d%c%02d", clockTicks_ / 6000, seconds % 2 == 0 ? ':' : ' ', seconds);
  textout_ex(frame_, font, text, 150, StatusY, -1, -1);
  textprintf_ex(frame_, font, 384, StatusY, -1, 0, "Level %d", 1);
  for (int icon = 1; icon < 3; ++icon) {
    draw_sprite(frame_, artBitmap(art_, 1), Field - Cell * icon, Field);
  }
}

void ReferenceLoop::drawMenu() {
  char text[32];
  textout_ex(frame_, font, "MELLOW QUARRIER", 196, 32, -1, -1);
  textout_right_ex(frame_, font, "v1.1", Width, 512, 0x888888, -1);
  rectfill(frame_, 128, 104, 376, 280, 0);
  rect(frame_, 128, 104, 376, 280, 0xFFFFFF);
  for (int row = 0; row < 10; ++row) {
    const int y = 256 - 16 * row;
    textout_right_ex(frame_, font, "0000000000", 360, y, Dim, 0);
    snprintf(text, sizeof text, "%d", 250 * (row + 1));
    textout_right_ex(frame_, font, text, 360, y, -1, 0);
    textout_right_ex(frame_, font, "Mellow Quarrier", 275, y, -1, -1);
  }
  textout_ex(frame_, font, "Start game", 168, 298, -1, -1);
  textout_ex(frame_, font, "Mode:", 168, 312, Dim, -1);
  textout_ex(frame_, font, "Exit", 168, 328, Dim, -1);
  textout_ex(frame_, font, "Linear", 208, 312, 0x770000, -1);
}

void ReferenceLoop::presentFrame() {
  blit(frame_, screen, 0, 0, 0, 0, Width, Height);
  clear_bitmap(frame_);
}
