// Kept apart from the text code so that tests building levels from rows do
// not need the maps.bin writer linked in.
#include "leveltext/level_text.h"

#include "level/level_file.h"

#include <sstream>

std::string mapsBinBytes(const std::vector<Level>& levels) {
  std::ostringstream bytes;
  for (const Level& level : levels) {
    writeLevelRecord(bytes, level);
  }
  return bytes.str();
}
