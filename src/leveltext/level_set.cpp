#include "leveltext/level_set.h"

#include "level/level_file.h"

#include "base/small_file.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <iterator>
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

// Reads the whole file through the one bounded reader; a file that cannot
// be read at all is told with the caller's own words.
bool readWhole(const std::string& path, std::size_t mostBytes, const char* kind, const char* unreadable,
               std::string& bytes, std::string& why) {
  const SmallFileProblem problem = readSmallFile(path, mostBytes, bytes);
  if (problem.kind == SmallFileProblem::None) {
    return true;
  }
  why = problem.kind == SmallFileProblem::Unreadable ? unreadable : smallFileProblemText(problem, mostBytes, kind);
  return false;
}

// Parses the level file named on one line of the list and appends its level.
bool compileEntry(const std::filesystem::path& levelPath, const std::string& listLocation,
                  std::vector<Level>& levels, std::string& error) {
  std::string bytes;
  std::string why;
  if (!readWhole(levelPath.string(), LevelFileMostBytes, "a level file", "", bytes, why)) {
    error = listLocation + (why.empty() ? "cannot open level file " + levelPath.string()
                                        : "level file " + levelPath.string() + ": " + why);
    return false;
  }
  std::istringstream levelFile(bytes);
  LevelSource source;
  if (!parseLevelSource(levelFile, levelPath.string(), source, error)) {
    return false;
  }
  levels.push_back(source.level);
  return true;
}

bool holdsControlBytes(const std::string& bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r';
  });
}

std::vector<Level> loadedLevels(const std::string& mapsBin) {
  std::istringstream in(mapsBin);
  // 256 levels are too big for the stack.
  auto levels = std::make_unique<Level[]>(MaxLevelRecords);
  const int levelCount = readLevels(in, levels.get());
  return std::vector<Level>(levels.get(), levels.get() + levelCount);
}

}  // namespace

bool readLevelFile(const std::string& path, LevelSource& source, std::string& error) {
  std::string bytes;
  if (!readSmallFile(path, LevelFileMostBytes, "a level file", bytes, error)) {
    return false;
  }
  std::istringstream text(bytes);
  return parseLevelSource(text, path, source, error);
}

void parseLevelList(const std::string& bytes, LevelList& list) {
  list = LevelList();
  std::istringstream lines(bytes);
  int lineNumber = 0;
  for (std::string line; std::getline(lines, line);) {
    ++lineNumber;
    const std::string name = trimmed(line);
    const bool skipped = name.empty() || name[0] == '#';
    if (skipped && list.entries.empty()) {
      list.headComments.push_back(line.substr(0, line.find_last_not_of('\r') + 1));
    } else if (!skipped) {
      list.entries.push_back({name, lineNumber});
    }
  }
  list.lineCount = lineNumber;
}

bool readLevelList(const std::string& listPath, LevelList& list, std::string& error) {
  std::string bytes;
  std::string why;
  if (!readWhole(listPath, LevelListMostBytes, "a level list", "cannot open the level list", bytes, why)) {
    error = located(listPath, 1, why);
    return false;
  }
  parseLevelList(bytes, list);
  return true;
}

bool compileLevelList(const std::string& listPath, std::string& mapsBin, std::string& error) {
  LevelList list;
  if (!readLevelList(listPath, list, error)) {
    return false;
  }
  const std::filesystem::path folder = std::filesystem::path(listPath).parent_path();
  std::vector<Level> levels;
  for (const LevelListEntry& entry : list.entries) {
    if (static_cast<int>(levels.size()) == MostLevelsInSet) {
      error = located(listPath, entry.line, "more than 255 levels");
      return false;
    }
    // A level given where its list belongs would be read as a list naming
    // the file "title: ...", which cannot be found.
    if (levels.empty() && entry.name.compare(0, LevelTitleKey.size(), LevelTitleKey) == 0) {
      error = located(listPath, entry.line, "a level, not a level list (a list names level files, one a line)");
      return false;
    }
    const std::string listLocation = listPath + ":" + std::to_string(entry.line) + ":1: ";
    if (!compileEntry(folder / entry.name, listLocation, levels, error)) {
      return false;
    }
  }
  if (levels.empty()) {
    error = located(listPath, list.lineCount + 1, "the list names no level");
    return false;
  }
  mapsBin = mapsBinOf(levels);
  return true;
}

bool readLevelListNames(const std::filesystem::path& listPath, std::vector<std::string>& names,
                        std::string* error) {
  LevelList list;
  std::string why;
  if (!readLevelList(listPath.string(), list, why)) {
    if (error != nullptr) {
      *error = why;
    }
    return false;
  }
  for (const LevelListEntry& entry : list.entries) {
    names.push_back(entry.name);
  }
  return true;
}

bool readLevelListPaths(const std::filesystem::path& listPath, std::vector<std::filesystem::path>& paths,
                        std::string* error) {
  std::vector<std::string> names;
  if (!readLevelListNames(listPath, names, error)) {
    return false;
  }
  for (const std::string& name : names) {
    paths.push_back(listPath.parent_path() / name);
  }
  return true;
}

bool readLevelSet(const std::string& path, std::vector<Level>& levels, std::string& error) {
  std::string bytes;
  std::string why;
  if (!readWhole(path, LevelListMostBytes, "a level list or a maps.bin", "cannot read the file", bytes, why)) {
    error = path + ": " + why;
    return false;
  }
  std::string mapsBin = bytes;
  if (!holdsControlBytes(bytes) && !compileLevelList(path, mapsBin, error)) {
    return false;
  }
  levels = loadedLevels(mapsBin);
  if (levels.empty()) {
    error = path + ": not a valid level file, the game would load no level";
    return false;
  }
  return true;
}

std::string mapsBinOf(const std::vector<Level>& levels) {
  return mapsBinBytes(levels) + std::string(LevelRecordBytes, '\0');
}

std::vector<LevelSource> levelSourcesOf(std::istream& mapsBin) {
  const std::string bytes((std::istreambuf_iterator<char>(mapsBin)), std::istreambuf_iterator<char>());
  std::vector<LevelSource> sources;
  for (const Level& level : loadedLevels(bytes)) {
    sources.push_back(LevelSource{"Level " + std::to_string(sources.size() + 1), std::string(), level});
  }
  return sources;
}

bool takeLevelArgument(const char* tool, int argc, char** argv, int& index,
                       std::vector<std::filesystem::path>& levels) {
  const std::string argument = argv[index];
  if (argument == "--list" && index + 1 < argc) {
    std::string error;
    if (!readLevelListPaths(argv[++index], levels, &error)) {
      std::cerr << tool << ": " << error << "\n";
      return false;
    }
    return true;
  }
  if (!argument.empty() && argument[0] == '-') {
    return false;
  }
  levels.emplace_back(argument);
  return true;
}
