#include "scores/high_score_table.h"

#include "base/os_files.h"
#include "base/shared_file.h"

#include <allegro.h>

#include <algorithm>
#include <istream>
#include <ostream>
#include <sstream>

namespace {

constexpr const char* TableFileName = "user.bin";
constexpr const char* DefaultName = "Mellow Quarrier";
constexpr uint64_t LowestDefaultScore = 250;
constexpr uint64_t DefaultScoreStep = 250;
constexpr int ScoreBytes = HighScoreRecordBytes - HighScoreNameField;
// Each attempt finds that another copy saved in between; one that keeps
// finding so gives up rather than spin, and keeps its rows for the next save.
constexpr int MostSaveAttempts = 10;

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

bool lowerScore(const HighScoreEntry& a, const HighScoreEntry& b) { return a.score < b.score; }

// The table file as it is now, under whatever lock the caller holds.
std::optional<std::string> readTableFile(const std::string& path) {
  std::string bytes;
  if (!readRegularFile(path.c_str(), HighScoreFileBytes, bytes)) {
    return std::nullopt;
  }
  return bytes;
}

}  // namespace

HighScoreTable::HighScoreTable() {
  const std::string target = saveTargetOf(TableFileName);
  if (!target.empty()) {
    FolderLock lock(target, FolderLock::Shared);
    fileSeen_ = readTableFile(target);
  }
  if (!fileSeen_) {
    loadDefaults();
    return;
  }
  std::istringstream in(*fileSeen_);
  readFrom(in);
}

HighScoreTable::HighScoreTable(WithoutFile) : closed_(true) { loadDefaults(); }

HighScoreTable::~HighScoreTable() { close(); }

void HighScoreTable::readFrom(std::istream& in) {
  entries.clear();
  bool whole = true;
  for (int filePosition = 0; filePosition < HighScoreRows; ++filePosition) {
    HighScoreEntry entry;
    if (!readRecord(in, entry)) {
      entry = defaultRecord(filePosition);
      whole = false;
    }
    entries.insert(entries.begin(), entry);
  }
  // The default rows that fill out a short file rank with its own rows only
  // once they are in order.
  if (!whole) {
    std::stable_sort(entries.begin(), entries.end(), lowerScore);
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
  insertRow(entry);
  unsaved_.push_back(entry);
}

void HighScoreTable::insertRow(const HighScoreEntry& entry) {
  entries.push_back(entry);
  std::stable_sort(entries.begin(), entries.end(), lowerScore);
  entries.erase(entries.begin());
}

HighScoreEntry HighScoreTable::entryAt(int index) const { return entries.at(static_cast<std::size_t>(index)); }

void HighScoreTable::saveTable() {
  if (!writeFile()) {
    allegro_message("Error saving high scores");
  }
}

void HighScoreTable::close() {
  if (!closed_) {
    saveTable();
    closed_ = true;
  }
}

bool HighScoreTable::writeFile() {
  const std::string target = saveTargetOf(TableFileName);
  if (target.empty()) {
    return false;
  }
  const FolderLock lock(target, FolderLock::Exclusive);
  if (lock.held()) {
    removeKilledSaves(target);
  }
  std::optional<std::string> onDisk = readTableFile(target);
  std::optional<std::string> expected = onDisk;
  for (int attempt = 0; attempt < MostSaveAttempts; ++attempt) {
    // Another copy of the game has saved since: its rows stay, and only the
    // rows of this run that no save has written yet go in among them.
    if (onDisk && onDisk != fileSeen_) {
      std::istringstream in(*onDisk);
      readFrom(in);
      for (const HighScoreEntry& row : unsaved_) {
        insertRow(row);
      }
    }
    std::ostringstream out;
    if (!writeTo(out)) {
      return false;
    }
    const SharedReplace outcome = replaceSharedFile(target, out.str(), expected, HighScoreFileBytes);
    if (outcome.result != SharedReplace::Changed) {
      if (outcome.result == SharedReplace::Done) {
        fileSeen_ = out.str();
        unsaved_.clear();
      }
      return outcome.result == SharedReplace::Done;
    }
    onDisk = outcome.found;
    expected = outcome.now;
  }
  return false;
}
