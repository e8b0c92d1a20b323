// The user.bin reader on any bytes: ten rows, names that fit their field,
// whole records taken exactly, and a table that writes back to 250 bytes
// which read back to the same rows.
//
// The table saves user.bin when it is destroyed, so the target builds one
// table for the whole run and never destroys it: readFrom replaces every row,
// so nothing of one input carries over to the next, and no file is written.
#include "fuzz_check.h"

#include "scores/high_score_table.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

HighScoreTable& sharedTable() {
  static HighScoreTable* const table = new HighScoreTable;
  return *table;
}

uint64_t littleEndianScore(const uint8_t* bytes) {
  uint64_t score = 0;
  for (int byte = 7; byte >= 0; --byte) {
    score = (score << 8) | bytes[byte];
  }
  return score;
}

// Rows that came from whole records hold exactly what the record says: in
// file order from a whole file, somewhere in the ascending table from a
// short one.
void checkWholeRecords(const HighScoreTable& table, const uint8_t* data, size_t size) {
  const size_t wholeRecords = std::min<size_t>(HighScoreRows, size / HighScoreRecordBytes);
  const bool wholeFile = wholeRecords == HighScoreRows;
  for (size_t record = 0; record < wholeRecords; ++record) {
    const uint8_t* bytes = data + record * HighScoreRecordBytes;
    const uint8_t* nameEnd = std::find(bytes, bytes + HighScoreNameLimit, 0);
    const HighScoreEntry expected{littleEndianScore(bytes + HighScoreNameField), std::string(bytes, nameEnd)};
    const auto sameRow = [&expected](const HighScoreEntry& row) {
      return row.score == expected.score && row.name == expected.name;
    };
    FUZZ_REQUIRE(wholeFile ? sameRow(table.entries[HighScoreRows - 1 - record])
                           : std::any_of(table.entries.begin(), table.entries.end(), sameRow));
  }
  if (!wholeFile) {
    FUZZ_REQUIRE(std::is_sorted(table.entries.begin(), table.entries.end(),
                                [](const HighScoreEntry& a, const HighScoreEntry& b) { return a.score < b.score; }));
  }
}

void checkRows(const HighScoreTable& table) {
  FUZZ_REQUIRE(table.entries.size() == HighScoreRows);
  for (const HighScoreEntry& row : table.entries) {
    FUZZ_REQUIRE(row.name.size() <= HighScoreNameLimit);
    FUZZ_REQUIRE(row.name.find('\0') == std::string::npos);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  HighScoreTable& table = sharedTable();
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  table.readFrom(in);
  checkRows(table);
  checkWholeRecords(table, data, size);

  std::ostringstream out;
  FUZZ_REQUIRE(table.writeTo(out));
  const std::string saved = out.str();
  FUZZ_REQUIRE(saved.size() == HighScoreFileBytes);
  const std::vector<HighScoreEntry> before = table.entries;
  std::istringstream back(saved);
  table.readFrom(back);
  for (int row = 0; row < HighScoreRows; ++row) {
    FUZZ_REQUIRE(table.entries[row].name == before[row].name);
    FUZZ_REQUIRE(table.entries[row].score == before[row].score);
  }

  // A new row from the first bytes: the table stays at ten rows.
  HighScoreEntry candidate;
  candidate.score = size >= 8 ? littleEndianScore(data) : size;
  if (table.rankOf(candidate) != -1) {
    table.insertEntry(candidate);
  }
  checkRows(table);
  return 0;
}
