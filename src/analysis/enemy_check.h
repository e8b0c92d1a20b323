// Whether the enemies surely come for a player waiting in a dead end. The
// search leaves them out, and where they are when he gets there depends on
// how he came, so this is decided on the safe side: the way in is played
// with the level's enemies under each of several seeds, the player then
// waits where the way ends, and only an enemy catching him there in every
// one of those plays counts. A catch on the way in, a way that no longer
// leads there with the enemies about, or one play without a catch leaves
// the doubt, and the dead end stays a trap.
#pragma once

#include "analysis/dead_ends.h"

#include "level/level.h"

#include <cstdint>
#include <vector>

bool enemiesCatchWaitingPlayer(const Level& level, const std::vector<KeyRun>& way, int16_t x, int16_t y,
                               const DeadEndLimits& limits);
