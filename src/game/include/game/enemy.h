// An enemy: follows the freshest neighbouring trail, else heads straight for
// the player; catches him by reaching his cell (nearest-cell rounding); is
// crushed when a refilled hole closes around it, then waits hidden for 255
// frames on a random column of the top row.
#pragma once

#include <cstdint>

class Game;

enum Direction : int32_t { Up = 1, Down = 2, Left = 3, Right = 4 };

class Enemy {
public:
  explicit Enemy(Game* game);

  void place(int16_t x, int16_t y);
  void update();
  void draw();
  // What a draw does to the game: a crushed enemy's delay counts down by
  // one. Answers whether it shows.
  bool countDraw();

  Game* game;
  int16_t dx = 0;
  int16_t dy = 0;
  uint8_t stepsLeft = 0;
  Direction direction;
  uint8_t needsDecision = 1;
  uint8_t animFrame = 0;     // 0..19
  uint8_t respawnDelay = 0;  // 255 only in the tick of a crush
  uint8_t caughtPlayer = 0;
  int16_t x = 0;
  int16_t y = 0;

private:
  bool step();
  void tryMove(int16_t moveX, int16_t moveY);
  bool fall();
  void decide();
  void checkCrushed();
};
