#include "level_set.h"

#include "level/level_file.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

std::string trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) {
    return std::string();
  }
  const size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::string located(const std::string& file, int line, const std::string& message) {
  return file + ":" + std::to_string(line) + ":1: " + message;
}

// Parses the level file named on one line of the list and appends its record.
bool compileEntry(const std::filesystem::path& levelPath, const std::string& listLocation,
                  std::ostream& records, std::string& error) {
  std::ifstream levelFile(levelPath);
  if (!levelFile) {
    error = listLocation + "cannot open level file " + levelPath.string();
    return false;
  }
  LevelSource source;
  if (!parseLevelSource(levelFile, levelPath.string(), source, error)) {
    return false;
  }
  writeLevelRecord(records, source.level);
  return true;
}

}  // namespace

bool compileLevelList(const std::string& listPath, std::string& mapsBin, std::string& error) {
  std::ifstream list(listPath);
  if (!list) {
    error = listPath + ":1:1: cannot open the level list";
    return false;
  }
  const std::filesystem::path folder = std::filesystem::path(listPath).parent_path();
  std::ostringstream records;
  int levelCount = 0;
  int lineNumber = 0;
  for (std::string line; std::getline(list, line);) {
    ++lineNumber;
    const std::string name = trimmed(line);
    if (name.empty() || name[0] == '#') {
      continue;
    }
    // The game reads at most 256 records, the last of which must end the list.
    if (levelCount == MaxLevelRecords - 1) {
      error = located(listPath, lineNumber, "more than 255 levels");
      return false;
    }
    const std::string listLocation = listPath + ":" + std::to_string(lineNumber) + ":1: ";
    if (!compileEntry(folder / name, listLocation, records, error)) {
      return false;
    }
    ++levelCount;
  }
  if (levelCount == 0) {
    error = located(listPath, lineNumber + 1, "the list names no level");
    return false;
  }
  mapsBin = records.str() + std::string(LevelRecordBytes, '\0');
  return true;
}

std::vector<LevelSource> levelSourcesOf(std::istream& mapsBin) {
  // 256 levels are too big for the stack.
  auto levels = std::make_unique<Level[]>(MaxLevelRecords);
  const int levelCount = readLevels(mapsBin, levels.get());
  std::vector<LevelSource> sources;
  for (int index = 0; index < levelCount; ++index) {
    sources.push_back(LevelSource{"Level " + std::to_string(index + 1), std::string(), levels[index]});
  }
  return sources;
}
