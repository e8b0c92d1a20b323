// The maps.bin format: 512-byte records back to back, no header. Byte
// 32 k + y of a record holds cell (2k, y) in its high nibble and (2k + 1, y)
// in its low nibble. The first record without a PlayerStart nibble ends the
// list; at most 256 records are read, so at most 255 levels load. Bytes past
// the end of the stream read as repeats of its last byte.
#pragma once

#include "level/level.h"

#include <iosfwd>

// Reads levels into levels[0..255] and returns how many were found: 0 means
// the file is invalid (empty, no PlayerStart in the first record, or 256
// records that all hold one).
int readLevels(std::istream& in, Level* levels);

// Writes one level as a 512-byte record.
void writeLevelRecord(std::ostream& out, const Level& level);
