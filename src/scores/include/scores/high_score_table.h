// The ten best scores, kept in ascending order (row 0 the lowest), read from
// user.bin at start-up and written back when the table is destroyed.
//
// user.bin: ten 25-byte records, best first: a 17-byte name field (the name,
// a zero byte, zero filler) and an 8-byte little-endian unsigned score.
//
// Reading forgives damaged files rather than refusing them: a record that is
// missing or cut short becomes the default row of its place, and a name field
// without its zero byte gives its first 16 characters, so that every name
// still fits its field, with the zero byte, when it is written back. A short
// file's rows are sorted with the default rows that fill it out, so that
// ranks stay right; a whole file is taken as it stands.
//
// Saving happens after each name entry as well as at the end, so that a
// session that is killed keeps the names it took. Players may share the file
// (a symbolic or hard link, a read-only, sticky or group-shared folder) and
// may run two copies at once, so a save locks the folder, and when another
// copy has written the file since this one last saw it, this session's
// unsaved rows are added to the table on disk rather than writing over it.
// The lock is given up on when its holder is stopped, so the file is checked
// again as it is replaced and merged again when it changed meanwhile
// (shared_file.h): a failed, killed or paused save never costs a row that
// another save wrote. A save also clears away the temporary files of saves
// that were killed.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
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
  // The defaults, tied to no file: never read, never saved. For a game of
  // the rules alone (a replay, a proof), which must not touch the player's table.
  struct WithoutFile {};
  explicit HighScoreTable(WithoutFile);
  ~HighScoreTable();   // saveTable, unless close has saved already
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

  // Writes user.bin as described above; says "Error saving high scores" in
  // a message box when it cannot. Rows that could not be saved are tried
  // again at the next save.
  void saveTable();
  // The last save, for an owner that must save before it releases other
  // things; the destruction then saves no more.
  void close();

  std::vector<HighScoreEntry> entries;

private:
  bool writeFile();
  void insertRow(const HighScoreEntry& entry);

  std::vector<HighScoreEntry> unsaved_;   // added in this run, not yet written
  // The file as this table last read or wrote it; none when it was absent.
  std::optional<std::string> fileSeen_;
  bool closed_ = false;
};
