#include "soak_levels.h"

#include "level/level_file.h"

#include <fstream>
#include <memory>
#include <random>
#include <sstream>

namespace {

Level filledLevel(CellCode fill) {
  Level level{};
  for (int8_t& cell : level.cells) {
    cell = fill;
  }
  return level;
}

Level withoutGold() {
  Level level = filledLevel(Empty);
  for (int x = 0; x < GridSize; ++x) {
    level.cells[cellIndex(x, GridSize - 1)] = Brick;
  }
  level.cells[cellIndex(GridSize / 2, GridSize - 2)] = PlayerStart;
  return level;
}

// One piece of gold beside the start: random steps take it, and the level
// is cleared the real way.
Level goldAtHand() {
  Level level = withoutGold();
  level.cells[cellIndex(GridSize / 2 + 1, GridSize - 2)] = Gold;
  return level;
}

Level crowd() {
  Level level = filledLevel(EnemyStart);
  level.cells[cellIndex(GridSize - 1, GridSize - 1)] = PlayerStart;
  return level;
}

Level walledIn() {
  Level level = filledLevel(Brick);
  level.cells[cellIndex(GridSize / 2, GridSize / 2)] = PlayerStart;
  level.cells[cellIndex(3, 3)] = Gold;
  level.cells[cellIndex(28, 3)] = EnemyStart;
  return level;
}

Level noise(std::mt19937& random) {
  std::uniform_int_distribution<int> code(0, 15);
  Level level{};
  for (int8_t& cell : level.cells) {
    cell = static_cast<int8_t>(code(random));
  }
  level.cells[cellIndex(1, 1)] = PlayerStart;
  return level;
}

}  // namespace

std::vector<Level> readShippedLevels(const std::string& mapsBinPath) {
  std::ifstream in(mapsBinPath, std::ios::binary);
  if (!in) {
    return {};
  }
  std::unique_ptr<Level[]> slots(new Level[MaxLevelRecords]);
  const int count = readLevels(in, slots.get());
  return std::vector<Level>(slots.get(), slots.get() + count);
}

std::vector<Level> strainLevels(unsigned seed) {
  std::mt19937 random(seed);
  return {withoutGold(), goldAtHand(), crowd(), walledIn(), noise(random), noise(random)};
}

std::string mapsBinFor(const std::vector<Level>& levels) {
  std::ostringstream bytes;
  for (const Level& level : levels) {
    writeLevelRecord(bytes, level);
  }
  writeLevelRecord(bytes, filledLevel(Empty));
  return bytes.str();
}
