// The maps.bin reader on any bytes: it must stay inside the 256 level slots,
// store only 4-bit codes, give every loaded level a PlayerStart, and take the
// records exactly as the bytes say, with the last byte repeating past the end.
#include "fuzz_check.h"

#include "level/level_file.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

// The 256 slots of the TileMap, allocated once: a quarter of a megabyte per
// input would cost more than the reading.
Level* levelSlots() {
  static Level* const slots = new Level[MaxLevelRecords];
  return slots;
}

// The byte at an offset of the endless stream that the reader sees.
unsigned char streamByte(const uint8_t* data, size_t size, size_t offset) {
  return offset < size ? data[offset] : data[size - 1];
}

bool recordHoldsPlayerStart(const uint8_t* data, size_t size, int record) {
  for (int offset = 0; offset < LevelRecordBytes; ++offset) {
    const unsigned char byte = streamByte(data, size, static_cast<size_t>(record) * LevelRecordBytes + offset);
    if ((byte >> 4) == PlayerStart || (byte & 0x0F) == PlayerStart) {
      return true;
    }
  }
  return false;
}

void checkLevels(const Level* levels, int count) {
  for (int record = 0; record < count; ++record) {
    bool hasPlayerStart = false;
    for (int8_t code : levels[record].cells) {
      FUZZ_REQUIRE(code >= 0 && code <= 15);
      hasPlayerStart = hasPlayerStart || code == PlayerStart;
    }
    FUZZ_REQUIRE(hasPlayerStart);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  Level* const levels = levelSlots();
  const int count = readLevels(in, levels);
  FUZZ_REQUIRE(count >= 0 && count < MaxLevelRecords);
  checkLevels(levels, count);
  if (size == 0) {
    FUZZ_REQUIRE(count == 0);
    return 0;
  }
  if (count == 0) {
    // Either the first record ends the list or no record does.
    const bool firstIsLevel = recordHoldsPlayerStart(data, size, 0);
    FUZZ_REQUIRE(!firstIsLevel || recordHoldsPlayerStart(data, size, MaxLevelRecords - 1));
    return 0;
  }
  FUZZ_REQUIRE(!recordHoldsPlayerStart(data, size, count));

  std::ostringstream written;
  for (int record = 0; record < count; ++record) {
    writeLevelRecord(written, levels[record]);
  }
  const std::string bytes = written.str();
  for (size_t offset = 0; offset < bytes.size(); ++offset) {
    FUZZ_REQUIRE(static_cast<unsigned char>(bytes[offset]) == streamByte(data, size, offset));
  }

  std::istringstream again(bytes + std::string(LevelRecordBytes, '\0'));
  FUZZ_REQUIRE(readLevels(again, levelSlots()) == count);
  return 0;
}
