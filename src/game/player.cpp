#include "game/player.h"

#include "base/assets.h"
#include "base/globals.h"
#include "game/game.h"
#include "game/motion.h"

#include <allegro.h>

namespace {

constexpr int32_t FacingLeft = 0;
constexpr int32_t FacingRight = 2;
constexpr int32_t Climbing = 4;
constexpr int8_t AnimationPeriod = 8;
constexpr int32_t GoldPoints = 10;
constexpr int DigLeft = 0;
constexpr int DigRight = 1;
constexpr int LeftSide = -1;
constexpr int RightSide = 1;

}  // namespace

Player::Player(Game* owner) : game(owner) {}

void Player::place(int16_t startX, int16_t startY) {
  spriteRow = FacingLeft;
  x = startX;
  y = startY;
  stepsLeft = 0;
  alive = 1;
}

void Player::update() {
  TileMap& map = game->map;
  map.playerX = x;
  map.playerY = y;
  map.markTrail(x, y);
  if (step()) {
    return;
  }
  collect();
  if (fall()) {
    return;
  }
  // Every key is read, so with several held the last accepted move wins and
  // the sprite follows the last held key, accepted or not.
  const volatile char* held = game->heldKeys;
  if (held[KEY_UP]) {
    spriteRow = Climbing;
    tryMove(0, -1);
  }
  if (held[KEY_DOWN]) {
    spriteRow = Climbing;
    tryMove(0, 1);
  }
  if (held[KEY_LEFT]) {
    spriteRow = FacingLeft;
    tryMove(-1, 0);
  }
  if (held[KEY_RIGHT]) {
    spriteRow = FacingRight;
    tryMove(1, 0);
  }
  if (held[KEY_J]) {
    dig(DigLeft);
    spriteRow = FacingLeft;
  }
  if (held[KEY_K]) {
    dig(DigRight);
    spriteRow = FacingRight;
  }
}

void Player::draw() const {
  draw_sprite(backBuffer, assetBitmap(AssetPlayerLeft1 + animFrame / 4 + spriteRow), x, y);
}

bool Player::step() {
  if (stepsLeft == 0) {
    return false;
  }
  x = static_cast<int16_t>(x + dx);
  y = static_cast<int16_t>(y + dy);
  --stepsLeft;
  animFrame = static_cast<int8_t>((animFrame + 1) % AnimationPeriod);
  return true;
}

void Player::tryMove(int16_t moveX, int16_t moveY) {
  const MovePlan plan = planMove(game->map, x, y, moveX, moveY);
  if (plan.verdict == MoveVerdict::Refused) {
    return;
  }
  if (plan.targetHangs) {
    spriteRow = Climbing;
  }
  dx = plan.dx;
  dy = plan.dy;
  stepsLeft = StepsPerMove;
}

bool Player::fall() {
  if (wrapAtBottom(y)) {
    game->map.clearTrail();
  }
  if (isSupported(game->map, x, y)) {
    return false;
  }
  y = static_cast<int16_t>(y + FallPixelsPerTick);
  spriteRow = Climbing;
  return true;
}

void Player::collect() {
  TileMap& map = game->map;
  const int32_t column = cellOfPixel(x);
  const int32_t row = cellOfPixel(y);
  const CellKind& kind = kindOf(map.cellAt(column, row));
  if (kind.valuable) {
    map.clearCell(column, row);
    --map.goldLeft;
    score += GoldPoints;
    playSample(AssetSampleGold);
  } else if (kind.stopsMoves) {
    // A refilled hole, or the row above the grid, which reads as brick.
    alive = 0;
  }
}

void Player::dig(int side) {
  TileMap& map = game->map;
  const CellAt target = digTarget(cellOfPixel(x), cellOfPixel(y), side == DigLeft ? LeftSide : RightSide);
  // Outside the grid reads as brick, so digging at the edge sounds but
  // changes nothing: clearCell and queueRefill ignore such cells.
  if (kindOf(map.cellAt(target.column, target.row)).diggable) {
    playSample(AssetSampleDig);
    map.clearCell(target.column, target.row);
    map.queueRefill(target.column, target.row);
  }
}
