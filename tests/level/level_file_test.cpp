// maps.bin as the reader sees it: where the level list ends, short files,
// the 256-record limit, and the nibble layout of a record. Construction of
// the TileMap ends the process for a missing or unusable file.
#include "level/level_file.h"
#include "level/tile_map.h"
#include "level_builders.h"
#include "leveltext/level_text.h"
#include "support/headless.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <sstream>
#include <vector>

namespace {

int countLevels(const std::string& bytes) {
  auto levels = std::make_unique<Level[]>(MaxLevelRecords);
  std::istringstream in(bytes);
  return readLevels(in, levels.get());
}

std::string levelRecords(int count) {
  return mapsBinBytes(std::vector<Level>(count, levelWithStart(4, 7)));
}

TEST(LevelFileTest, TheFirstRecordWithoutAPlayerStartEndsTheList) {
  EXPECT_EQ(3, countLevels(levelRecords(3) + endRecord()));
  EXPECT_EQ(1, countLevels(levelRecords(1) + endRecord() + levelRecords(2)));
  EXPECT_EQ(0, countLevels(endRecord() + levelRecords(2)));
}

TEST(LevelFileTest, AnEmptyFileIsInvalid) { EXPECT_EQ(0, countLevels("")); }

TEST(LevelFileTest, AShortFileRepeatsItsLastByte) {
  std::string noFiveAtTheEnd = levelRecords(3);
  ASSERT_EQ(0, noFiveAtTheEnd.back());
  EXPECT_EQ(3, countLevels(noFiveAtTheEnd));

  // Every missing record is then full of PlayerStarts: no end is ever found.
  std::string fiveAtTheEnd = levelRecords(3);
  fiveAtTheEnd.back() = 0x50;
  EXPECT_EQ(0, countLevels(fiveAtTheEnd));
  EXPECT_EQ(0, countLevels(std::string(1, '\x05')));
}

TEST(LevelFileTest, ARecordCutShortIsFilledWithTheLastByte) {
  // The cut record holds its 5 before the cut and ends in 0: it is a level,
  // and the repeated zeros after it end the list.
  const std::string cutWithZero = levelRecords(1) + "\x05" + std::string(99, '\0');
  EXPECT_EQ(2, countLevels(cutWithZero));
  const std::string cutWithFive = levelRecords(1) + std::string(100, '\0') + "\x05";
  EXPECT_EQ(0, countLevels(cutWithFive));
}

TEST(LevelFileTest, AtMost255LevelsLoad) {
  EXPECT_EQ(255, countLevels(levelRecords(255) + endRecord()));
  EXPECT_EQ(0, countLevels(levelRecords(256) + endRecord()));
}

TEST(LevelFileTest, AnyNibbleEqualToFiveMakesALevel) {
  std::string loneLowNibble = endRecord();
  loneLowNibble[300] = 0x05;
  EXPECT_EQ(1, countLevels(loneLowNibble + endRecord()));

  auto levels = std::make_unique<Level[]>(MaxLevelRecords);
  std::string bothNibbles = endRecord();
  bothNibbles[32 * 3 + 9] = 0x55;
  std::istringstream in(bothNibbles + endRecord());
  ASSERT_EQ(1, readLevels(in, levels.get()));
  EXPECT_EQ(PlayerStart, levels[0].cells[cellIndex(6, 9)]);
  EXPECT_EQ(PlayerStart, levels[0].cells[cellIndex(7, 9)]);
}

TEST(LevelFileTest, ARecordRunsThroughColumnPairsTopToBottom) {
  std::string record = endRecord();
  record[0] = 0x12;    // (0, 0) Brick, (1, 0) Ladder
  record[31] = 0x34;   // (0, 31) Rope, (1, 31) Gold
  record[32] = 0x6F;   // (2, 0) EnemyStart, (3, 0) code 15
  record[511] = 0x75;  // (30, 31) code 7, (31, 31) PlayerStart
  auto levels = std::make_unique<Level[]>(MaxLevelRecords);
  std::istringstream in(record + endRecord());
  ASSERT_EQ(1, readLevels(in, levels.get()));
  const Level& level = levels[0];
  const struct {
    int x, y, code;
  } expected[] = {{0, 0, 1}, {1, 0, 2}, {0, 31, 3}, {1, 31, 4}, {2, 0, 6}, {3, 0, 15}, {30, 31, 7}, {31, 31, 5}};
  for (const auto& cell : expected) {
    EXPECT_EQ(cell.code, level.cells[cellIndex(cell.x, cell.y)]) << cell.x << "," << cell.y;
  }

  std::ostringstream written;
  writeLevelRecord(written, level);
  EXPECT_EQ(record, written.str());
}

// The headless library's message box writes to stdout, and a death test
// only sees stderr, so the child points the one at the other first.
void loadWithMessageOnStderr() {
  std::fflush(stdout);
  dup2(STDERR_FILENO, STDOUT_FILENO);
  std::make_unique<TileMap>();
}

class TileMapLoadingDeathTest : public ::testing::Test {
protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    startHeadlessAllegro();
  }
  ScopedWorkDir dir_;
};

TEST_F(TileMapLoadingDeathTest, AMissingFileEndsTheProgramWithStatus1) {
  EXPECT_EXIT(loadWithMessageOnStderr(), ::testing::ExitedWithCode(1), "maps.bin not found!");
}

TEST_F(TileMapLoadingDeathTest, AFileWithoutLevelsEndsTheProgramWithStatus1) {
  dir_.writeFile("maps.bin", endRecord() + levelRecords(2));
  EXPECT_EXIT(loadWithMessageOnStderr(), ::testing::ExitedWithCode(1), "Invalid map file.");
}

TEST_F(TileMapLoadingDeathTest, AnEmptyFileEndsTheProgramWithStatus1) {
  dir_.writeFile("maps.bin", "");
  EXPECT_EXIT(loadWithMessageOnStderr(), ::testing::ExitedWithCode(1), "Invalid map file.");
}

TEST(TileMapLoadingTest, LoadsEveryLevelAndDrawsAFirstOrder) {
  startHeadlessAllegro();
  ScopedWorkDir dir;
  dir.writeFile("maps.bin", levelRecords(4) + endRecord());
  const auto map = std::make_unique<TileMap>();
  EXPECT_EQ(4, map->levelCount);
  EXPECT_EQ(100, map->refillCountdown);
  std::vector<int> order(map->order, map->order + 4);
  std::sort(order.begin(), order.end());
  EXPECT_EQ((std::vector<int>{0, 1, 2, 3}), order);
}

}  // namespace
