// The ten best scores, kept in ascending order (row 0 the lowest), read from
// user.bin at start-up and written back when the table is destroyed.
//
// user.bin: ten 25-byte records, best first: a 17-byte name field (the name,
// a zero byte, zero filler) and an 8-byte little-endian unsigned score.
//
// Reading forgives damaged files rather than refusing them: a record that is
// missing or cut short becomes the default row of its place, and a name field
// without its zero byte gives its first 16 characters, so that every name
// still fits its field, with the zero byte, when it is written back.
//
// Saving writes a new file beside user.bin and renames it over the old one
// only when every byte went out, so a failed or killed save never costs the
// table that was there before.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

struct HighScoreEntry {
  uint64_t score = 0;
  std::string name;
};

constexpr int HighScoreRows = 10;
constexpr int HighScoreNameField = 17;
constexpr int HighScoreNameLimit = HighScoreNameField - 1;   // characters
constexpr int HighScoreRecordBytes = 25;
constexpr int HighScoreFileBytes = HighScoreRows * HighScoreRecordBytes;

class HighScoreTable {
public:
  HighScoreTable();    // reads user.bin, or the defaults
  ~HighScoreTable();   // saveTable
  HighScoreTable(const HighScoreTable&) = delete;
  HighScoreTable& operator=(const HighScoreTable&) = delete;

  // The 1-based place from the best row that the score would take; -1 if it
  // does not qualify. A score equal to a row's ranks above that row.
  int rankOf(const HighScoreEntry& entry) const;
  // Adds the row above any older rows of equal score and drops the lowest
  // (of equal lowest rows, the oldest).
  void insertEntry(const HighScoreEntry& entry);
  HighScoreEntry entryAt(int index) const;
  void loadDefaults();

  // The file format on streams, so that it can be tested and fuzzed apart
  // from the files. readFrom replaces the rows; writeTo reports whether every
  // byte was written.
  void readFrom(std::istream& in);
  bool writeTo(std::ostream& out) const;

  std::vector<HighScoreEntry> entries;

private:
  void saveTable() const;
};
