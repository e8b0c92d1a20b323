#include "heavy_route.h"

#include "game/player.h"
#include "level/level.h"

#include <allegro.h>

#include <iterator>

namespace {

enum Dig { NoDig, DigLeft, DigRight };

struct Waypoint {
  int cellX;
  int cellY;
  Dig dig;  // held on the way to this waypoint
};

// The heavy level's ropes are rows 17, 21, 25 and 29 between the ladders of
// columns 0 and 31; the player starts at (0, 17).
constexpr Waypoint Route[] = {
    {31, 17, DigRight}, {31, 21, NoDig}, {0, 21, DigLeft}, {0, 25, NoDig},
    {31, 25, DigRight}, {31, 29, NoDig}, {0, 29, DigLeft}, {0, 17, NoDig},
};

void holdOnly(int up, int down, int left, int right, int digLeft, int digRight) {
  key[KEY_UP] = static_cast<char>(up);
  key[KEY_DOWN] = static_cast<char>(down);
  key[KEY_LEFT] = static_cast<char>(left);
  key[KEY_RIGHT] = static_cast<char>(right);
  key[KEY_J] = static_cast<char>(digLeft);
  key[KEY_K] = static_cast<char>(digRight);
}

}  // namespace

void HeavyRoute::holdKeysFor(const Player& player) {
  const Waypoint* target = &Route[nextWaypoint_];
  if (player.x == CellPixels * target->cellX && player.y == CellPixels * target->cellY) {
    nextWaypoint_ = (nextWaypoint_ + 1) % std::size(Route);
    target = &Route[nextWaypoint_];
  }
  const int targetX = CellPixels * target->cellX;
  const int targetY = CellPixels * target->cellY;
  holdOnly(player.y > targetY, player.y < targetY, player.x > targetX, player.x < targetX,
           target->dig == DigLeft, target->dig == DigRight);
}
