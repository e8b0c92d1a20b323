#include "game/enemy.h"

#include "base/assets.h"
#include "base/globals.h"
#include "base/random_draws.h"
#include "game/game.h"
#include "game/motion.h"

#include <allegro.h>

namespace {

constexpr uint8_t AnimationPeriod = 20;
constexpr uint8_t RespawnFrames = 255;
constexpr int RespawnColumns = 31;  // the top row's last column is never chosen

// The cell holding the centre of a 16-pixel sprite at this pixel position.
int32_t nearestCell(int16_t pixel) { return cellOfPixel(pixel + CellPixels / 2); }

}  // namespace

Enemy::Enemy(Game* owner) : game(owner), direction(static_cast<Direction>(Left + drawRandom() % 2)) {}

void Enemy::place(int16_t startX, int16_t startY) {
  x = startX;
  y = startY;
  stepsLeft = 0;
  needsDecision = 1;
}

void Enemy::update() {
  if (respawnDelay != 0) {
    return;
  }
  const TileMap& map = game->map;
  if (nearestCell(map.playerX) == nearestCell(x) && nearestCell(map.playerY) == nearestCell(y)) {
    caughtPlayer = 1;
  }
  if (step()) {
    return;
  }
  decide();
  checkCrushed();
  if (fall()) {
    needsDecision = 1;
    return;
  }
  switch (direction) {
    case Up: tryMove(0, -1); break;
    case Down: tryMove(0, 1); break;
    case Left: tryMove(-1, 0); break;
    case Right: tryMove(1, 0); break;
  }
}

bool Enemy::countDraw() {
  if (respawnDelay != 0) {
    --respawnDelay;
    return false;
  }
  return true;
}

void Enemy::draw() {
  if (!countDraw()) {
    return;
  }
  const int facing = direction == Right ? AssetEnemyRight1 : AssetEnemyLeft1;
  draw_sprite(backBuffer, assetBitmap(facing + animFrame / 10), x, y);
}

bool Enemy::step() {
  if (stepsLeft == 0) {
    return false;
  }
  x = static_cast<int16_t>(x + dx);
  y = static_cast<int16_t>(y + dy);
  --stepsLeft;
  animFrame = static_cast<uint8_t>((animFrame + 1) % AnimationPeriod);
  return true;
}

void Enemy::tryMove(int16_t moveX, int16_t moveY) {
  const MovePlan plan = planMove(game->map, x, y, moveX, moveY);
  if (plan.verdict == MoveVerdict::Refused) {
    needsDecision = 1;
    return;
  }
  if (plan.verdict == MoveVerdict::Standstill) {
    needsDecision = 1;
  }
  dx = plan.dx;
  dy = plan.dy;
  stepsLeft = StepsPerMove;
}

bool Enemy::fall() {
  wrapAtBottom(y);
  if (isSupported(game->map, x, y)) {
    return false;
  }
  y = static_cast<int16_t>(y + FallPixelsPerTick);
  return true;
}

void Enemy::decide() {
  const TileMap& map = game->map;
  const int16_t column = static_cast<int16_t>(cellOfPixel(x));
  const int16_t row = static_cast<int16_t>(cellOfPixel(y));
  const int ownCode = map.cellAt(column, row);
  const int belowCode = map.cellAt(column, row + 1);
  const CellKind& own = kindOf(ownCode);
  const CellKind& below = kindOf(belowCode);
  // On ladders and ropes, and on top of a ladder, every cell is a junction:
  // wherever a move down is more than a standstill.
  const bool junction = allowsDescent(ownCode, belowCode);
  if (junction) {
    needsDecision = 1;
  }
  if (needsDecision == 0) {
    return;
  }
  needsDecision = 0;

  const uint32_t here = map.trailAt(column, row);
  if (here > 0) {
    uint32_t best = here;
    const auto consider = [&](Direction way, int16_t cellX, int16_t cellY, bool admissible) {
      const uint32_t value = map.trailAt(cellX, cellY);
      if (value > best && admissible) {
        direction = way;
        best = value;
      }
    };
    const auto up = static_cast<int16_t>(row - 1);
    const auto down = static_cast<int16_t>(row + 1);
    const auto left = static_cast<int16_t>(column - 1);
    const auto right = static_cast<int16_t>(column + 1);
    consider(Up, column, up, own.climbable);
    consider(Down, column, down, !below.stopsMoves);
    consider(Left, left, row, !kindOf(map.cellAt(left, row)).stopsMoves);
    consider(Right, right, row, !kindOf(map.cellAt(right, row)).stopsMoves);
    if (best != here) {
      return;
    }
  }

  // No fresher trail around: head straight for the player, a possible climb
  // or drop overriding the sideways wish.
  if (map.playerX < x) {
    direction = Left;
  } else if (map.playerX > x) {
    direction = Right;
  }
  if (map.playerY < y && own.climbable) {
    direction = Up;
  }
  if (map.playerY > y && junction && !below.stopsMoves) {
    direction = Down;
  }
}

void Enemy::checkCrushed() {
  if (!kindOf(game->map.cellAt(cellOfPixel(x), cellOfPixel(y + CellPixels / 2))).stopsMoves) {
    return;
  }
  playSample(AssetSampleCrush);
  place(static_cast<int16_t>(CellPixels * (drawRandom() % RespawnColumns)), 0);
  respawnDelay = RespawnFrames;
}
