// The player's loop over the heavy bench level: right along the top rope, down
// the right ladder, left along the next rope, and so on over four ropes, then
// up the left ladder to the start. Every rope is walked with the dig key of
// the walking side held, so holes keep opening below the ropes while earlier
// ones wait to refill, and the loop leaves a trail of about 150 cells.
#pragma once

#include <cstddef>

class Player;

class HeavyRoute {
public:
  // Sets key[] for the next update from where the player stands.
  void holdKeysFor(const Player& player);

private:
  size_t nextWaypoint_ = 0;
};
