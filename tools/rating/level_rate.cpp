// level-rate: the difficulty figure of every level of a level list, in play
// order, with the parts it is made of, measured from each level's proof in
// the replays folder beside it. Exit status 0 when every level was rated,
// 1 when a level or its proof is missing or the proof does not clear it, 2
// on a usage or start-up problem.
//
//   level-rate [--assets FILE] LIST
#include "level_rating.h"

#include "base/headless_start.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace {

constexpr int ExitUnrated = 1;
constexpr int ExitBroken = 2;

void printTable(const std::vector<RatedLevel>& levels) {
  std::printf("pos  level                         figure  enemies  gold  proof-s  digs  stand-still-s  close-s\n");
  for (size_t index = 0; index < levels.size(); ++index) {
    const LevelRating& rating = levels[index].rating;
    std::printf("%3zu  %-28s  %6.1f  %7d  %4d  %7.1f  %4d  %13.2f  %7.1f\n", index + 1,
                levels[index].file.stem().string().c_str(), rating.figure, rating.enemies, rating.gold,
                rating.proofSeconds, rating.digs, rating.standStillSeconds, rating.closeSeconds);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string assetsFile = MQ_RUN_DIR "/assets.dat";
  std::string listPath;
  for (int index = 1; index < argc; ++index) {
    const std::string argument = argv[index];
    if (argument == "--assets" && index + 1 < argc) {
      assetsFile = argv[++index];
    } else if (listPath.empty() && !argument.empty() && argument[0] != '-') {
      listPath = argument;
    } else {
      listPath.clear();
      break;
    }
  }
  if (listPath.empty()) {
    std::cerr << "usage: level-rate [--assets FILE] LIST\n";
    return ExitBroken;
  }
  const std::string problem = startWithoutWindow(assetsFile);
  if (!problem.empty()) {
    std::cerr << "level-rate: " << problem << "\n";
    return ExitBroken;
  }
  std::vector<RatedLevel> levels;
  std::string error;
  const bool rated = rateLevelList(listPath, levels, error);
  printTable(levels);
  if (!rated) {
    std::cerr << error << "\n";
    return ExitUnrated;
  }
  return 0;
}
