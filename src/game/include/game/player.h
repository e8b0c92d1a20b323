// The hero steered from key[]. Moves one cell in 16 one-pixel steps, climbs
// only ladders, hangs on ropes, falls 8 pixels a tick when unsupported, digs
// the brick diagonally below, takes gold, leaves the trail, and dies inside
// brick. It carries the score and lives for the whole game.
#pragma once

#include <cstdint>

class Game;

// Three lives, and no way to gain more.
constexpr int8_t StartingLives = 3;

class Player {
public:
  explicit Player(Game* game);

  void place(int16_t x, int16_t y);
  void update();
  void draw() const;
  // What an update does in his own cell when no step is under way: takes
  // the gold there, or his life inside brick. The dead-end analysis calls it
  // for the update that comes next, so that it takes gold by this rule too.
  void collect();

  Game* game;
  int16_t dx = 0;
  int16_t dy = 0;
  uint8_t stepsLeft = 0;
  int32_t spriteRow = 0;     // 0 facing left, 2 facing right, 4 climbing or falling
  int8_t animFrame = 0;      // 0..7
  uint8_t alive = 1;
  int8_t lives = StartingLives;
  int32_t score = 0;
  int16_t x = 0;
  int16_t y = 0;

private:
  bool step();
  void tryMove(int16_t moveX, int16_t moveY);
  bool fall();
  void dig(int side);
};
