#include "level/tile_map.h"

#include "base/assets.h"
#include "base/globals.h"
#include "base/fatal.h"
#include "base/os_files.h"
#include "base/random_draws.h"
#include "level/cell_kinds.h"
#include "level/level_drawing.h"
#include "level/level_file.h"

#include <algorithm>
#include <sstream>
#include <string>
#include <utility>

namespace {

constexpr uint32_t FreshTrail = 60000;

}  // namespace

TileMap::TileMap()
    : refillCountdown(RefillDelay), levels(), cells(), order(), goldLeft(0), startX(0), startY(0),
      levelCount(0), playerX(0), playerY(0), trailEnds_() {
  // No more than the records the reader can take; a FIFO or a folder in the
  // file's place counts as no file.
  std::string bytes;
  if (!readRegularFile("maps.bin", std::size_t{MaxLevelRecords} * LevelRecordBytes, bytes)) {
    fatalError("maps.bin not found!", 1);
  }
  std::istringstream file(bytes);
  const int count = readLevels(file, levels);
  if (count == 0) {
    fatalError("Invalid map file.", 1);
  }
  levelCount = static_cast<uint8_t>(count);
  shuffleOrder();
}

TileMap::TileMap(const std::vector<Level>& stored, Drawing drawingWanted)
    : drawing(drawingWanted), refillCountdown(RefillDelay), levels(), cells(), order(), goldLeft(0),
      startX(0), startY(0), levelCount(static_cast<uint8_t>(stored.size())), playerX(0), playerY(0), trailEnds_() {
  std::copy(stored.begin(), stored.end(), levels);
  shuffleOrder();
}

uint8_t TileMap::shuffleOrder() {
  for (int i = 0; i < levelCount; ++i) {
    order[i] = static_cast<uint8_t>(i);
  }
  // Every position swaps with one drawn from the whole range: not a fair
  // shuffle, but the order players have always had.
  for (int position = 0; position < levelCount; ++position) {
    std::swap(order[position], order[drawRandom() % levelCount]);
  }
  return levelCount;
}

void TileMap::startLevel(uint8_t sequenceIndex, uint8_t mode) {
  const Level& stored = levels[mode == 1 ? order[sequenceIndex] : sequenceIndex];
  goldLeft = 0;
  refillQueue.clear();
  refillCountdown = RefillDelay;
  spawnQueue.clear();
  clearTrail();
  if (drawing == Drawing::Painted) {
    clearLevelBitmap();
  }
  const int start = playerStartIndex(stored);
  if (start >= 0) {
    startX = static_cast<int16_t>(CellPixels * (start / GridSize));
    startY = static_cast<int16_t>(CellPixels * (start % GridSize));
  }
  for (int y = 0; y < GridSize; ++y) {
    for (int x = 0; x < GridSize; ++x) {
      const int8_t code = stored.cells[cellIndex(x, y)];
      drawCell(x, y, code);
      cells[cellIndex(x, y)] = code;
      const int16_t pixelX = static_cast<int16_t>(CellPixels * x);
      const int16_t pixelY = static_cast<int16_t>(CellPixels * y);
      if (kindOf(code).valuable) {
        ++goldLeft;
      } else if (code == EnemyStart) {
        spawnQueue.push_back({pixelX, pixelY});
      }
    }
  }
}

void TileMap::drawCell(int32_t x, int32_t y, int8_t code) const {
  const int variant = drawTileVariant(code);
  if (drawing == Drawing::Painted) {
    drawTile(levelBitmap, CellPixels * x, CellPixels * y, code, variant);
  }
}

void TileMap::clearCell(int32_t x, int32_t y) {
  if (!insideGrid(x, y)) {
    return;
  }
  cells[cellIndex(x, y)] = Empty;
  drawCell(x, y, Empty);
}

void TileMap::queueRefill(int32_t x, int32_t y) {
  if (insideGrid(x, y)) {
    refillQueue.push_back({static_cast<uint8_t>(x), static_cast<uint8_t>(y)});
  }
}

void TileMap::tickRefill() {
  if (refillQueue.empty()) {
    return;
  }
  if (--refillCountdown != 0) {
    return;
  }
  const RefillCell hole = refillQueue.front();
  cells[cellIndex(hole.x, hole.y)] = Brick;
  drawCell(hole.x, hole.y, Brick);
  playSample(AssetSampleRefill);
  refillQueue.pop_front();
  refillCountdown = RefillDelay;
}

void TileMap::clearTrail() {
  std::fill(std::begin(trailEnds_), std::end(trailEnds_), 0u);
  trailClock_ = 0;
}

void TileMap::markTrail(int16_t px, int16_t py) {
  const int32_t x = px / CellPixels;
  const int32_t y = py / CellPixels;
  // Marked, then every value lowered by one: the fresh cell reads one less.
  ++trailClock_;
  if (insideGrid(x, y)) {
    trailEnds_[cellIndex(x, y)] = trailClock_ + FreshTrail - 1;
  }
}

