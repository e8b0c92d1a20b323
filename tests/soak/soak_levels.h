// The level set of the soak: every level of the shipped maps.bin, then a few
// made to strain the rules: one without gold (cleared in its first update,
// so the tally and the wrap of the sequence run often), one with its only
// gold beside the start, one where every cell
// but the start is an enemy start, one whose start is walled in, and two of
// random codes 0 to 15 drawn from the seed.
#pragma once

#include "level/level.h"

#include <string>
#include <vector>

// The levels of a maps.bin file; empty when it cannot be read or holds none.
std::vector<Level> readShippedLevels(const std::string& mapsBinPath);

std::vector<Level> strainLevels(unsigned seed);

// maps.bin bytes for the levels, with the record that ends the list.
std::string mapsBinFor(const std::vector<Level>& levels);
