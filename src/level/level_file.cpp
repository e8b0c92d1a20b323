#include "level/level_file.h"

#include <istream>
#include <ostream>

namespace {

constexpr int PlayerStartNibble = PlayerStart;

// Reads the stream byte by byte; once it runs dry, every further byte is a
// repeat of the last one read, so a short file still gives whole records.
class RepeatingByteReader {
public:
  explicit RepeatingByteReader(std::istream& in) : in_(in) {}

  bool empty() {
    if (!started_) {
      started_ = true;
      int first = in_.get();
      if (first == std::char_traits<char>::eof()) {
        return true;
      }
      last_ = static_cast<unsigned char>(first);
      pending_ = true;
    }
    return false;
  }

  unsigned char next() {
    if (pending_) {
      pending_ = false;
      return last_;
    }
    if (!exhausted_) {
      int value = in_.get();
      if (value == std::char_traits<char>::eof()) {
        exhausted_ = true;
      } else {
        last_ = static_cast<unsigned char>(value);
      }
    }
    return last_;
  }

  // Once the stream has run dry on a byte with a PlayerStart nibble, every
  // record still to come holds a PlayerStart, so none can end the list.
  bool repeatsPlayerStartForever() const {
    return exhausted_ && ((last_ >> 4) == PlayerStartNibble || (last_ & 0x0F) == PlayerStartNibble);
  }

private:
  std::istream& in_;
  bool started_ = false;
  bool pending_ = false;
  bool exhausted_ = false;
  unsigned char last_ = 0;
};

// Fills one level from a record; true when the record holds a PlayerStart.
bool readRecord(RepeatingByteReader& reader, Level& level) {
  bool hasPlayerStart = false;
  for (int offset = 0; offset < LevelRecordBytes; ++offset) {
    const unsigned char byte = reader.next();
    const int pair = offset / GridSize;
    const int y = offset % GridSize;
    const int8_t high = static_cast<int8_t>(byte >> 4);
    const int8_t low = static_cast<int8_t>(byte & 0x0F);
    level.cells[cellIndex(2 * pair, y)] = high;
    level.cells[cellIndex(2 * pair + 1, y)] = low;
    hasPlayerStart = hasPlayerStart || high == PlayerStartNibble || low == PlayerStartNibble;
  }
  return hasPlayerStart;
}

}  // namespace

int readLevels(std::istream& in, Level* levels) {
  RepeatingByteReader reader(in);
  if (reader.empty()) {
    return 0;
  }
  for (int record = 0; record < MaxLevelRecords; ++record) {
    if (!readRecord(reader, levels[record])) {
      return record;
    }
    // Filling the slots that are left would change nothing but the time a
    // hostile file takes: the answer is already "no ending record".
    if (reader.repeatsPlayerStartForever()) {
      return 0;
    }
  }
  return 0;
}

void writeLevelRecord(std::ostream& out, const Level& level) {
  for (int offset = 0; offset < LevelRecordBytes; ++offset) {
    const int pair = offset / GridSize;
    const int y = offset % GridSize;
    const int high = level.cells[cellIndex(2 * pair, y)] & 0x0F;
    const int low = level.cells[cellIndex(2 * pair + 1, y)] & 0x0F;
    out.put(static_cast<char>((high << 4) | low));
  }
}
