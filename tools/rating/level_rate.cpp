// mellow-quarrier-level-rate: the difficulty figure of every level of a level list, in play
// order, with the parts it is made of, measured from each level's proof in
// the replays folder beside it. Exit status 0 when every level was rated,
// 1 when a level or its proof is missing or the proof does not clear it, 2
// on a usage or start-up problem.
//
// Beside the figure, each level's human margin: `margin`, how late (in
// updates) a person may make any press of the proof and still clear the
// level, and `roomy-%`, the share of presses that may come 15 updates late or
// more. --presses lists each level's critical presses below the table:
// where the proof presses a key that may come less than 15 updates late.
//
// --starts times only a player who stands still at the start of each level
// (the worst of the seeds), without the proofs: the figure to watch while
// placing chasers, before the level is solved again. Exit status 1 when a
// level with chasers falls below a fair start.
//
//   mellow-quarrier-level-rate [--starts | --presses] LIST
//
// The rules need no art: --assets FILE is still accepted, and ignored.
#include "analysis/human_margin.h"
#include "analysis/level_rating.h"
#include "leveltext/level_set.h"


#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

constexpr int ExitUnrated = 1;
constexpr int ExitBroken = 2;

void printTable(const std::vector<RatedLevel>& levels, const std::vector<HumanMargin>& margins) {
  std::printf("pos  level                         figure  length  threat  enemies  gold  proof-s  digs  stand-still-s  close-s  margin  roomy-%%\n");
  for (size_t index = 0; index < levels.size(); ++index) {
    const LevelRating& rating = levels[index].rating;
    std::printf("%3zu  %-28s  %6.1f  %6.1f  %6.1f  %7d  %4d  %7.1f  %4d  %13.2f  %7.1f", index + 1,
                levels[index].file.stem().string().c_str(), rating.figure, rating.lengthPoints, rating.threatPoints, rating.enemies, rating.gold,
                rating.proofSeconds, rating.digs, rating.standStillSeconds, rating.closeSeconds);
    if (index < margins.size()) {
      std::printf("  %6d  %7.1f", margins[index].marginUpdates, 100.0 * margins[index].roomyShare());
    }
    std::printf("\n");
  }
}

void printCriticalPresses(const std::vector<RatedLevel>& levels, const std::vector<HumanMargin>& margins) {
  std::printf("\ncritical presses (update, cell, keys, margin in updates)\n");
  for (size_t index = 0; index < margins.size(); ++index) {
    const std::vector<PressMargin> critical = margins[index].criticalPresses();
    if (critical.empty()) {
      continue;
    }
    std::printf("%3zu  %s:", index + 1, levels[index].file.stem().string().c_str());
    for (const PressMargin& press : critical) {
      std::printf(" %u (%d,%d) %s %d;", press.update, press.column, press.row, heldKeyLetters(press.keys).c_str(),
                  press.marginUpdates);
    }
    std::printf("\n");
  }
}

// Measured on the rated levels only: a level without a clearing proof has
// no margin.
std::vector<HumanMargin> measureMargins(const std::vector<RatedLevel>& levels) {
  std::vector<HumanMargin> margins;
  for (const RatedLevel& level : levels) {
    margins.push_back(measureHumanMargin(level.source.level, level.proof));
  }
  return margins;
}

int printStarts(const std::string& listPath) {
  std::vector<std::string> names;
  std::vector<Level> levels;
  std::string error;
  if (!readLevelListNames(listPath, names, &error) || !readLevelSet(listPath, levels, error)) {
    std::cerr << error << "\n";
    return ExitUnrated;
  }
  int exitStatus = 0;
  std::printf("pos  level                         stand-still-s (worst of %u seeds)\n", StandStillSeeds);
  for (size_t index = 0; index < levels.size(); ++index) {
    const double seconds = standStillSeconds(levels[index]);
    const bool unfair = seconds < FairStartSeconds;
    std::printf("%3zu  %-28s  %6.2f%s\n", index + 1, std::filesystem::path(names[index]).stem().string().c_str(),
                seconds, unfair ? "  below a fair start" : "");
    exitStatus = unfair ? ExitUnrated : exitStatus;
  }
  return exitStatus;
}

}  // namespace

int main(int argc, char** argv) {
  std::string listPath;
  bool startsOnly = false;
  bool listPresses = false;
  for (int index = 1; index < argc; ++index) {
    const std::string argument = argv[index];
    if (argument == "--assets" && index + 1 < argc) {
      ++index;
    } else if (argument == "--starts") {
      startsOnly = true;
    } else if (argument == "--presses") {
      listPresses = true;
    } else if (listPath.empty() && !argument.empty() && argument[0] != '-') {
      listPath = argument;
    } else {
      listPath.clear();
      break;
    }
  }
  if (listPath.empty()) {
    std::cerr << "usage: mellow-quarrier-level-rate [--starts | --presses] LIST\n";
    return ExitBroken;
  }
  if (startsOnly) {
    return printStarts(listPath);
  }
  std::vector<RatedLevel> levels;
  std::string error;
  const bool rated = rateLevelList(listPath, levels, error);
  const std::vector<HumanMargin> margins = measureMargins(levels);
  printTable(levels, margins);
  if (listPresses) {
    printCriticalPresses(levels, margins);
  }
  if (!rated) {
    std::cerr << error << "\n";
    return ExitUnrated;
  }
  return 0;
}
