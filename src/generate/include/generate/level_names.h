// Titles for made levels: two words drawn from small lists of our own, in
// the font's plain ASCII, short enough for every place a title is shown.
#pragma once

#include "generate/level_random.h"

#include <string>

std::string drawLevelTitle(LevelRandom& random);
