// maps.bin files as they come from the internet or a broken copy: cut at a
// record's edge or inside one, and running dry on a PlayerStart byte after
// many levels. The reader stops early on such a file; the answer must be the
// one that reading all 256 records would give.
#include "level/level_file.h"
#include "level_builders.h"
#include "leveltext/level_text.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

int countLevels(const std::string& bytes) {
  auto levels = std::make_unique<Level[]>(MaxLevelRecords);
  std::istringstream in(bytes);
  return readLevels(in, levels.get());
}

std::string levelRecords(int count) { return mapsBinBytes(std::vector<Level>(count, levelWithStart(2, 2))); }

TEST(HostileMapsBinTest, RunningDryOnAPlayerStartByteNeverEndsTheList) {
  for (int whole : {0, 1, 254, 255}) {
    std::string cutAtTheEdge = levelRecords(whole) + recordOf(0x00);
    cutAtTheEdge.back() = 0x05;
    EXPECT_EQ(0, countLevels(cutAtTheEdge)) << whole << " whole records, then one ending in 0x05";
    EXPECT_EQ(0, countLevels(levelRecords(whole) + "\x50")) << whole << " whole records, then 0x50";
  }
}

TEST(HostileMapsBinTest, ACutRecordWithoutAPlayerStartByteEndsTheList) {
  EXPECT_EQ(255, countLevels(levelRecords(254) + "\x51" + std::string(200, '\x11')));
  EXPECT_EQ(254, countLevels(levelRecords(254) + std::string(200, '\x11')));
}

TEST(HostileMapsBinTest, BytesAfterTheEndingRecordAreNotRead) {
  EXPECT_EQ(3, countLevels(levelRecords(3) + recordOf(0x00) + "\x55"));
}

}  // namespace
