// mellow-quarrier-level-check: prints the dead ends of each given level, found on the real
// rules: traps, where the player can neither clear the level nor lose a
// life, and places that cost a life. Each comes with the cells where the
// player stands in it and a way in from the start, in replay key notation.
// A place without a way on that a player granted more than the rules allow
// could still clear the level from is "unsure": neither a dead end nor a
// pass. Exit status 0 when no level has a trap or an unsure place, 1 when
// one has a trap, 3 when one has only unsure places or could not be searched
// to the end, 2 on a usage or file problem.
//
//   mellow-quarrier-level-check [--ways DIR] [--min-margin UPDATES] (--list LIST | LEVEL...)
//
// The rules need no art: --assets FILE is still accepted, and ignored.
//
// --ways writes the way into a level's first trap as DIR/NAME.trap.replay
// (enemies off, as the analysis plays it), to be watched, and the way it
// found that takes all the gold as DIR/NAME.way.replay, which
// mellow-quarrier-level-solve --guess starts from; a level without a trap,
// or without such a way, leaves no such file there.
//
//   020-skyline: 1 trap, 0 cost a life, 0 unsure (2817 situations, 0.21 s)
//     trap at (1, 28) (2, 28); way in: 96 -, 1 L, 15 -, ...
//
// --min-margin also measures each level's human margin on its proof (where
// the editor saves it: NAME.replay in the replays folder beside the level
// when there is one, else beside the level) and fails a level whose margin
// is below UPDATES, or that has no proof that clears it, listing the presses
// below it:
//
//   024-siege: margin 0 updates, 58% of presses may come 15 late
//     press at update 188 in (7, 28), U: margin 0
#include "analysis/dead_ends.h"
#include "analysis/human_margin.h"

#include "leveltext/level_set.h"
#include "leveltext/level_text.h"
#include "replay/replay.h"
#include "replay/replay_runner.h"

#include "base/os_files.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int ExitTrap = 1;
constexpr int ExitBroken = 2;
constexpr int ExitUnsure = 3;

// A level that could not be read outweighs a trap, and a trap an unsure place.
int worseStatus(int one, int other) {
  for (int status : {ExitBroken, ExitTrap, ExitUnsure}) {
    if (one == status || other == status) {
      return status;
    }
  }
  return 0;
}

const char* kindName(DeadEndKind kind) {
  switch (kind) {
    case DeadEndKind::Trap: return "trap";
    case DeadEndKind::CostsLife: return "costs a life";
    case DeadEndKind::Unsure: break;
  }
  return "unsure";
}

struct Options {
  std::optional<fs::path> waysDir;
  std::optional<int> minMarginUpdates;
  std::vector<fs::path> levels;
};

bool readOptions(int argc, char** argv, Options& options) {
  for (int index = 1; index < argc; ++index) {
    const std::string argument = argv[index];
    const bool hasValue = index + 1 < argc;
    if (argument == "--assets" && hasValue) {
      ++index;
    } else if (argument == "--ways" && hasValue) {
      options.waysDir = argv[++index];
    } else if (argument == "--min-margin" && hasValue) {
      const std::string value = argv[++index];
      if (value.empty() || value.size() > 3 || value.find_first_not_of("0123456789") != std::string::npos) {
        return false;
      }
      options.minMarginUpdates = std::stoi(value);
    } else if (!takeLevelArgument("mellow-quarrier-level-check", argc, argv, index, options.levels)) {
      return false;
    }
  }
  return !options.levels.empty();
}

std::string cellList(const std::vector<int>& cells) {
  std::string text;
  for (int cell : cells) {
    text += (text.empty() ? "(" : " (") + std::to_string(cell / GridSize) + ", " + std::to_string(cell % GridSize) + ")";
  }
  return text;
}

std::string wayText(const std::vector<KeyRun>& way) {
  std::string text;
  for (const KeyRun& run : way) {
    text += (text.empty() ? "" : ", ") + std::to_string(run.updates) + " " + heldKeyLetters(run.keys);
  }
  return text.empty() ? "none, it is the start" : text;
}

void printDeadEnd(const DeadEnd& deadEnd) {
  std::printf("  %s at %s; way in: %s%s\n", kindName(deadEnd.kind),
              cellList(deadEnd.cells).c_str(), wayText(deadEnd.way).c_str(),
              deadEnd.enemyCatches ? "; an enemy comes for him there" : "");
}

// Writes the way as DIR/NAME.SUFFIX, or removes an older one when there is none.
bool writeWay(const fs::path& levelPath, const fs::path& waysDir, const std::string& suffix,
              const std::vector<KeyRun>& way) {
  const fs::path replayPath = waysDir / (levelPath.stem().string() + suffix);
  std::error_code ignored;
  fs::remove(replayPath, ignored);
  if (way.empty()) {
    return true;
  }
  Replay replay;
  replay.levelFile = fs::relative(fs::absolute(levelPath), fs::absolute(waysDir)).generic_string();
  replay.enemies = false;
  replay.keys = way;
  std::string error;
  if (!saveReplay(replayPath.string(), replay, error)) {
    std::cerr << error << "\n";
    return false;
  }
  return true;
}

bool writeWays(const fs::path& levelPath, const fs::path& waysDir, const DeadEndReport& report) {
  const bool trap = report.count(DeadEndKind::Trap) != 0;
  return writeWay(levelPath, waysDir, ".trap.replay", trap ? report.deadEnds.front().way : std::vector<KeyRun>{}) &&
         writeWay(levelPath, waysDir, ".way.replay", report.wayOut);
}

fs::path proofPathFor(const fs::path& levelPath) {
  std::error_code error;
  const fs::path replays = levelPath.parent_path() / "replays";
  const fs::path folder = fs::is_directory(replays, error) ? replays : levelPath.parent_path();
  return folder / (levelPath.stem().string() + ".replay");
}

// Answers the level's exit status for its margin.
int checkMargin(const fs::path& levelPath, const Level& level, int minMarginUpdates) {
  Replay proof;
  std::string error;
  if (!loadReplay(proofPathFor(levelPath).string(), proof, error)) {
    std::printf("%s: no proof to measure the margin on: %s\n", levelPath.stem().string().c_str(), error.c_str());
    return ExitTrap;
  }
  HumanMargin margin;
  try {
    margin = measureHumanMargin(level, proof);
  } catch (const ReplayError& failure) {
    std::printf("%s: no margin, %s\n", levelPath.stem().string().c_str(), failure.what());
    return ExitTrap;
  }
  std::printf("%s: margin %d updates, %.0f%% of presses may come %d late\n", levelPath.stem().string().c_str(),
              margin.marginUpdates, 100.0 * margin.roomyShare(), RoomyMarginUpdates);
  for (const PressMargin& press : margin.presses) {
    if (press.marginUpdates < minMarginUpdates) {
      std::printf("  press at update %u in (%d, %d), %s: margin %d\n", press.update, press.column, press.row,
                  heldKeyLetters(press.keys).c_str(), press.marginUpdates);
    }
  }
  return margin.marginUpdates < minMarginUpdates ? ExitTrap : 0;
}

// Answers the level's exit status.
int checkOne(const fs::path& levelPath, const Options& options) {
  LevelSource source;
  std::string error;
  if (!readLevelFile(levelPath.string(), source, error)) {
    std::cerr << error << "\n";
    return ExitBroken;
  }
  DeadEndLimits limits;
  limits.findWayOut = options.waysDir.has_value();
  const DeadEndReport report = findDeadEnds(source.level, limits);
  const size_t traps = report.count(DeadEndKind::Trap);
  const size_t unsure = report.count(DeadEndKind::Unsure);
  std::printf("%s: %zu trap%s, %zu cost a life, %zu unsure (%zu situations, %.2f s)%s\n",
              levelPath.stem().string().c_str(), traps, traps == 1 ? "" : "s", report.count(DeadEndKind::CostsLife),
              unsure, report.situations, report.seconds,
              report.complete ? "" : "; NOT every situation was searched");
  for (const DeadEnd& deadEnd : report.deadEnds) {
    printDeadEnd(deadEnd);
  }
  if (options.waysDir && !writeWays(levelPath, *options.waysDir, report)) {
    return ExitBroken;
  }
  const int marginStatus = options.minMarginUpdates ? checkMargin(levelPath, source.level, *options.minMarginUpdates) : 0;
  if (traps > 0) {
    return ExitTrap;
  }
  return worseStatus(marginStatus, unsure > 0 || !report.complete ? ExitUnsure : 0);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!readOptions(argc, argv, options)) {
    std::cerr << "usage: mellow-quarrier-level-check [--ways DIR] [--min-margin UPDATES] (--list LIST | LEVEL...)\n";
    return ExitBroken;
  }
  const auto started = std::chrono::steady_clock::now();
  int status = 0;
  for (const fs::path& level : options.levels) {
    try {
      status = worseStatus(status, checkOne(level, options));
    } catch (const std::exception& failure) {
      std::cerr << level.string() << ": " << failure.what() << "\n";
      status = ExitBroken;
    }
    std::fflush(stdout);
  }
  if (options.levels.size() > 1) {
    std::printf("%zu levels in %.1f s\n", options.levels.size(),
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
  }
  return status;
}
