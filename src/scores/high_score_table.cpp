#include "scores/high_score_table.h"

#include <allegro.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <istream>
#include <ostream>

namespace {

constexpr const char* TableFileName = "user.bin";
constexpr const char* PendingFileName = "user.bin.tmp";
constexpr const char* DefaultName = "Mellow Quarrier";
constexpr uint64_t LowestDefaultScore = 250;
constexpr uint64_t DefaultScoreStep = 250;
constexpr int ScoreBytes = HighScoreRecordBytes - HighScoreNameField;

// The default row at a file position (0 the best).
HighScoreEntry defaultRecord(int filePosition) {
  const auto placesFromLowest = static_cast<uint64_t>(HighScoreRows - 1 - filePosition);
  return {LowestDefaultScore + DefaultScoreStep * placesFromLowest, DefaultName};
}

bool readRecord(std::istream& in, HighScoreEntry& entry) {
  char record[HighScoreRecordBytes];
  if (!in.read(record, HighScoreRecordBytes)) {
    return false;
  }
  const char* const nameEnd = std::find(record, record + HighScoreNameLimit, '\0');
  entry.name.assign(static_cast<const char*>(record), nameEnd);
  entry.score = 0;
  for (int byte = ScoreBytes - 1; byte >= 0; --byte) {
    entry.score = (entry.score << 8) | static_cast<unsigned char>(record[HighScoreNameField + byte]);
  }
  return true;
}

void writeRecord(std::ostream& out, const HighScoreEntry& entry) {
  char record[HighScoreRecordBytes] = {};
  const std::size_t nameLength = std::min(entry.name.size(), std::size_t{HighScoreNameLimit});
  std::copy_n(entry.name.begin(), nameLength, record);
  for (int byte = 0; byte < ScoreBytes; ++byte) {
    record[HighScoreNameField + byte] = static_cast<char>((entry.score >> (8 * byte)) & 0xFF);
  }
  out.write(record, HighScoreRecordBytes);
}

// Writes the pending file completely or not at all; a file that this call
// did not create is never removed.
bool writePendingFile(const HighScoreTable& table) {
  std::ofstream out(PendingFileName, std::ios::binary | std::ios::trunc);
  if (!out) {
    return false;
  }
  const bool written = table.writeTo(out);
  out.close();
  if (!written || out.fail()) {
    std::remove(PendingFileName);
    return false;
  }
  return true;
}

}  // namespace

HighScoreTable::HighScoreTable() {
  std::ifstream in(TableFileName, std::ios::binary);
  if (!in) {
    loadDefaults();
    return;
  }
  readFrom(in);
}

HighScoreTable::~HighScoreTable() { saveTable(); }

void HighScoreTable::readFrom(std::istream& in) {
  entries.clear();
  for (int filePosition = 0; filePosition < HighScoreRows; ++filePosition) {
    HighScoreEntry entry;
    if (!readRecord(in, entry)) {
      entry = defaultRecord(filePosition);
    }
    entries.insert(entries.begin(), entry);
  }
}

bool HighScoreTable::writeTo(std::ostream& out) const {
  for (auto row = entries.rbegin(); row != entries.rend(); ++row) {
    writeRecord(out, *row);
  }
  out.flush();
  return out.good();
}

void HighScoreTable::loadDefaults() {
  for (int filePosition = HighScoreRows - 1; filePosition >= 0; --filePosition) {
    entries.push_back(defaultRecord(filePosition));
  }
}

int HighScoreTable::rankOf(const HighScoreEntry& entry) const {
  if (entries.empty() || entry.score < entries.front().score) {
    return -1;
  }
  int place = 1;
  for (auto row = entries.rbegin(); row != entries.rend() && place <= HighScoreRows; ++row, ++place) {
    if (row->score <= entry.score) {
      return place;
    }
  }
  return HighScoreRows;
}

void HighScoreTable::insertEntry(const HighScoreEntry& entry) {
  entries.push_back(entry);
  std::stable_sort(entries.begin(), entries.end(),
                   [](const HighScoreEntry& a, const HighScoreEntry& b) { return a.score < b.score; });
  entries.erase(entries.begin());
}

HighScoreEntry HighScoreTable::entryAt(int index) const { return entries.at(static_cast<std::size_t>(index)); }

void HighScoreTable::saveTable() const {
  if (!writePendingFile(*this)) {
    allegro_message("Error saving high scores");
    return;
  }
  if (std::rename(PendingFileName, TableFileName) != 0) {
    std::remove(PendingFileName);
    allegro_message("Error saving high scores");
  }
}
