// mellow-quarrier-leveldump MAPS_BIN [FOLDER]: turns the levels of a maps.bin back into level
// text, the levels the game would load and nothing after them. With FOLDER,
// writes FOLDER/level-001.txt and onwards and a levels.txt list that mellow-quarrier-levelc
// compiles back into the same levels; without it, prints every level to
// stdout, separated by blank lines.
#include "leveltext/level_set.h"

#include "base/small_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

std::string levelFileName(int index) {
  char name[32];
  std::snprintf(name, sizeof name, "level-%03d.txt", index + 1);
  return name;
}

bool writeFolder(const std::filesystem::path& folder, const std::vector<LevelSource>& sources) {
  std::filesystem::create_directories(folder);
  std::ofstream list(folder / "levels.txt");
  list << "# Levels in play order, dumped from maps.bin\n";
  for (size_t index = 0; index < sources.size(); ++index) {
    const std::string name = levelFileName(static_cast<int>(index));
    std::ofstream levelFile(folder / name);
    writeLevelSource(levelFile, sources[index]);
    list << name << '\n';
    if (!levelFile) {
      std::cerr << (folder / name).string() << ": cannot write\n";
      return false;
    }
  }
  return static_cast<bool>(list);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::cerr << "usage: mellow-quarrier-leveldump MAPS_BIN [OUTPUT_FOLDER]\n";
    return 2;
  }
  std::string bytes;
  std::string error;
  if (!readSmallFile(argv[1], LevelListMostBytes, "a maps.bin", bytes, error)) {
    std::cerr << error << "\n";
    return 1;
  }
  std::istringstream mapsBin(bytes);
  const std::vector<LevelSource> sources = levelSourcesOf(mapsBin);
  if (sources.empty()) {
    std::cerr << argv[1] << ": not a valid level file, the game would load no level\n";
    return 1;
  }
  if (argc == 3) {
    return writeFolder(argv[2], sources) ? 0 : 1;
  }
  for (size_t index = 0; index < sources.size(); ++index) {
    if (index > 0) {
      std::cout << '\n';
    }
    writeLevelSource(std::cout, sources[index]);
  }
  return 0;
}
