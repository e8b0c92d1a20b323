#include "leveltext/level_set.h"

#include "level/level_file.h"

#include "base/os_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
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

// Reads the whole file when it is a regular file of at most mostBytes;
// otherwise answers what stood in the way.
enum class Unread { None, Missing, NotRegular, TooLarge };
Unread readWhole(const std::string& path, std::size_t mostBytes, std::string& bytes) {
  if (readRegularFile(path.c_str(), mostBytes + 1, bytes)) {
    return bytes.size() > mostBytes ? Unread::TooLarge : Unread::None;
  }
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode) ? Unread::NotRegular : Unread::Missing;
}

// The reason, in words; a missing file is told with the caller's own words.
std::string whyUnread(Unread problem, std::size_t mostBytes, const char* kind, const char* missing) {
  if (problem == Unread::Missing) {
    return missing;
  }
  if (problem == Unread::NotRegular) {
    return "not a regular file (a FIFO, a device or a folder)";
  }
  return "larger than " + std::to_string(mostBytes / 1024) + " KiB, too large for " + kind;
}

// Parses the level file named on one line of the list and appends its level.
bool compileEntry(const std::filesystem::path& levelPath, const std::string& listLocation,
                  std::vector<Level>& levels, std::string& error) {
  std::string bytes;
  const Unread problem = readWhole(levelPath.string(), LevelFileMostBytes, bytes);
  if (problem != Unread::None) {
    error = listLocation + (problem == Unread::Missing ? "cannot open level file " + levelPath.string()
                                                        : "level file " + levelPath.string() + ": " +
                                                              whyUnread(problem, LevelFileMostBytes, "a level file", ""));
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

bool compileLevelList(const std::string& listPath, std::string& mapsBin, std::string& error) {
  std::string bytes;
  const Unread problem = readWhole(listPath, LevelListMostBytes, bytes);
  if (problem != Unread::None) {
    error = listPath + ":1:1: " + whyUnread(problem, LevelListMostBytes, "a level list", "cannot open the level list");
    return false;
  }
  std::istringstream list(bytes);
  const std::filesystem::path folder = std::filesystem::path(listPath).parent_path();
  std::vector<Level> levels;
  int lineNumber = 0;
  for (std::string line; std::getline(list, line);) {
    ++lineNumber;
    const std::string name = trimmed(line);
    if (name.empty() || name[0] == '#') {
      continue;
    }
    // The game reads at most 256 records, the last of which must end the list.
    if (static_cast<int>(levels.size()) == MaxLevelRecords - 1) {
      error = located(listPath, lineNumber, "more than 255 levels");
      return false;
    }
    // A level given where its list belongs would be read as a list naming
    // the file "title: ...", which cannot be found.
    if (levels.empty() && name.compare(0, LevelTitleKey.size(), LevelTitleKey) == 0) {
      error = located(listPath, lineNumber, "a level, not a level list (a list names level files, one a line)");
      return false;
    }
    const std::string listLocation = listPath + ":" + std::to_string(lineNumber) + ":1: ";
    if (!compileEntry(folder / name, listLocation, levels, error)) {
      return false;
    }
  }
  if (levels.empty()) {
    error = located(listPath, lineNumber + 1, "the list names no level");
    return false;
  }
  mapsBin = mapsBinOf(levels);
  return true;
}

bool readLevelListNames(const std::filesystem::path& listPath, std::vector<std::string>& names) {
  std::ifstream list(listPath);
  if (!list) {
    return false;
  }
  for (std::string line; std::getline(list, line);) {
    if (!line.empty() && line[0] != '#') {
      names.push_back(line);
    }
  }
  return true;
}

bool readLevelListPaths(const std::filesystem::path& listPath, std::vector<std::filesystem::path>& paths) {
  std::vector<std::string> names;
  if (!readLevelListNames(listPath, names)) {
    return false;
  }
  for (const std::string& name : names) {
    paths.push_back(listPath.parent_path() / name);
  }
  return true;
}

bool readLevelSet(const std::string& path, std::vector<Level>& levels, std::string& error) {
  std::string bytes;
  const Unread problem = readWhole(path, LevelListMostBytes, bytes);
  if (problem != Unread::None) {
    error = path + ": " + whyUnread(problem, LevelListMostBytes, "a level list or a maps.bin", "cannot read the file");
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
    if (!readLevelListPaths(argv[++index], levels)) {
      std::cerr << tool << ": " << argv[index] << " cannot be read\n";
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
