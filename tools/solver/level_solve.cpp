// mellow-quarrier-level-solve: finds a key sequence that clears each given level, checks it
// by replaying it from the start through the replay runner, and writes it as
// a replay file. Exit status 0 when every level was cleared, 1 when one is
// proven impossible ("NO WAY"), 3 when the search found no way within its
// budget, which proves nothing ("UNSURE"; the reason on stderr), 2 on a usage
// or file problem.
//
//   mellow-quarrier-level-solve [--enemies auto|on|off] [--states N] [--seed S] [--guess REPLAY]
//               [--out DIR] [--progress] (--list LIST | LEVEL...)
//
// The rules need no art: --assets FILE is still accepted, and ignored.
//
// --states is the search's budget: the states it may keep (300000 by
// default), so that a level gives the same proof on any machine under any
// load. --seed is the game's random seed the search plays under (1 by
// default), written into the replay: under another seed the chasers take
// other turns, and a level may have a way with more room for a person.
// auto (the default) searches with the level's enemies first and, when
// that finds nothing within the budget, again with them removed; the replay
// says which it is. --list takes the level files from a levels.txt list. Replays
// go to DIR/NAME.replay (NAME the level file's name without .txt), naming
// the level by a path relative to DIR. --guess starts from the keys of a
// replay, such as the way mellow-quarrier-level-check --ways writes: one that clears is
// the proof, else the search starts from the moments along it. --progress adds a line
// "progress: N states, S s" on stdout about twice a second while a search
// runs, for a program that shows the search to a person (the level editor).
#include "analysis/level_search.h"

#include "leveltext/level_set.h"
#include "leveltext/level_text.h"
#include "replay/replay.h"
#include "replay/replay_runner.h"



#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int ExitImpossible = 1;
constexpr int ExitBroken = 2;
constexpr int ExitUnsure = 3;
constexpr unsigned DefaultSeed = 1;

enum class EnemyMode { Auto, On, Off };

struct Options {
  EnemyMode enemies = EnemyMode::Auto;
  SearchLimits limits;
  unsigned seed = DefaultSeed;
  fs::path outDir = ".";
  std::vector<fs::path> levels;
  bool progress = false;
};

// The progress line's clock runs from the start of a level's search.
std::function<void(size_t)> progressPrinter() {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point started = Clock::now();
  auto shown = std::make_shared<Clock::time_point>(started);
  return [started, shown](size_t states) {
    const Clock::time_point now = Clock::now();
    if (now - *shown < std::chrono::milliseconds(500)) {
      return;
    }
    *shown = now;
    std::printf("progress: %zu states, %.1f s\n", states, std::chrono::duration<double>(now - started).count());
    std::fflush(stdout);
  };
}

bool readEnemyMode(const std::string& word, EnemyMode& mode) {
  if (word == "auto" || word == "on" || word == "off") {
    mode = word == "auto" ? EnemyMode::Auto : (word == "on" ? EnemyMode::On : EnemyMode::Off);
    return true;
  }
  return false;
}

bool readOptions(int argc, char** argv, Options& options) {
  for (int index = 1; index < argc; ++index) {
    const std::string argument = argv[index];
    const bool hasValue = index + 1 < argc;
    if (argument == "--assets" && hasValue) {
      ++index;
    } else if (argument == "--enemies" && hasValue) {
      if (!readEnemyMode(argv[++index], options.enemies)) {
        return false;
      }
    } else if (argument == "--states" && hasValue) {
      char* end = nullptr;
      const unsigned long long states = std::strtoull(argv[++index], &end, 10);
      if (*end != '\0' || states == 0) {
        return false;
      }
      options.limits.states = static_cast<size_t>(states);
    } else if (argument == "--seed" && hasValue) {
      char* end = nullptr;
      const unsigned long seed = std::strtoul(argv[++index], &end, 10);
      if (*end != '\0' || argv[index][0] == '\0' || seed > 0xffffffffUL) {
        return false;
      }
      options.seed = static_cast<unsigned>(seed);
    } else if (argument == "--guess" && hasValue) {
      Replay guess;
      std::string error;
      if (!loadReplay(argv[++index], guess, error)) {
        std::cerr << error << "\n";
        return false;
      }
      options.limits.firstGuess = guess.keys;
    } else if (argument == "--progress") {
      options.progress = true;
    } else if (argument == "--out" && hasValue) {
      options.outDir = argv[++index];
    } else if (!takeLevelArgument("mellow-quarrier-level-solve", argc, argv, index, options.levels)) {
      return false;
    }
  }
  return !options.levels.empty();
}

bool hasEnemyStart(const Level& level) {
  for (int8_t cell : level.cells) {
    if (cell == EnemyStart) {
      return true;
    }
  }
  return false;
}

Replay replayFor(const fs::path& levelPath, const fs::path& outDir, unsigned seed, bool enemies,
                 const SearchResult& found) {
  Replay replay;
  replay.levelFile = fs::relative(fs::absolute(levelPath), fs::absolute(outDir)).generic_string();
  replay.baseDir = outDir.string();
  replay.seed = seed;
  replay.enemies = enemies;
  replay.hasExpectation = true;
  replay.expected = ReplayEnd::Cleared;
  replay.keys = found.keys;
  return replay;
}

bool writeReplayFile(const fs::path& path, const Replay& replay, const std::string& comment) {
  std::ofstream out(path, std::ios::trunc);
  out << "# " << comment << "\n";
  writeReplay(out, replay);
  out.close();
  return static_cast<bool>(out);
}

struct Attempt {
  bool enemies;
  SearchResult result;
};

// Searches as the mode asks; the last attempt made is answered.
Attempt searchAsAsked(const Level& level, const std::string& name, EnemyMode mode, unsigned seed,
                      const SearchLimits& limits) {
  if (mode == EnemyMode::Off || !hasEnemyStart(level)) {
    return {false, searchLevel(level, false, seed, limits)};
  }
  Attempt withEnemies{true, searchLevel(level, true, seed, limits)};
  if (withEnemies.result.cleared || mode == EnemyMode::On || withEnemies.result.end == SearchEnd::ProvenImpossible) {
    return withEnemies;
  }
  std::printf("%s: no way past the enemies found (%zu states, %.1f s); searching without them\n",
              name.c_str(), withEnemies.result.statesExplored, withEnemies.result.seconds);
  return {false, searchLevel(level, false, seed, limits)};
}

// Enemies are left out of a level that has them only when asked to (off) or
// after no way past them was found (auto).
std::string replayComment(EnemyMode mode, bool enemiesOn) {
  if (enemiesOn) {
    return "found by level-solve";
  }
  return mode == EnemyMode::Auto ? "found by level-solve with the enemies removed: no way past them was found"
                                 : "found by level-solve with the enemies removed, as asked";
}

int solveOne(const fs::path& levelPath, const Options& options) {
  LevelSource source;
  std::string error;
  if (!readLevelFile(levelPath.string(), source, error)) {
    std::cerr << error << "\n";
    return ExitBroken;
  }
  const std::string name = levelPath.stem().string();
  SearchLimits limits = options.limits;
  if (options.progress) {
    limits.onProgress = progressPrinter();
  }
  const Attempt attempt = searchAsAsked(source.level, name, options.enemies, options.seed, limits);
  const SearchResult& found = attempt.result;
  if (found.end == SearchEnd::ProvenImpossible) {
    std::printf("%s: NO WAY: proven without a search\n", name.c_str());
    std::cerr << name << ": " << found.explanation << "\n";
    return ExitImpossible;
  }
  if (!found.cleared) {
    std::printf("%s: UNSURE: no way found %s (%zu states, %.1f s)\n", name.c_str(),
                found.end == SearchEnd::OutOfBudget ? "within the budget" : "among the states the search tells apart",
                found.statesExplored, found.seconds);
    std::cerr << name << ": " << found.explanation << "\n";
    return ExitUnsure;
  }
  // A level without enemies plays the same either way; "off" is kept for
  // replays that really left a level's enemies out.
  const bool levelHasEnemies = hasEnemyStart(source.level);
  const bool enemiesOn = attempt.enemies || !levelHasEnemies;
  const Replay replay = replayFor(levelPath, options.outDir, options.seed, enemiesOn, found);
  const ReplayOutcome outcome = playReplay(replay, singleLevelMapsBin(source.level));
  if (outcome.end != ReplayEnd::Cleared) {
    std::cerr << name << ": the sequence found does not replay: " << describeOutcome(outcome) << "\n";
    return ExitBroken;
  }
  const std::string how = replayComment(options.enemies, enemiesOn);
  const fs::path replayPath = options.outDir / (name + ".replay");
  if (!writeReplayFile(replayPath, replay, how)) {
    std::cerr << replayPath.string() << ": cannot be written\n";
    return ExitBroken;
  }
  std::printf("%s: cleared %s in %u ticks (%zu states, %.1f s)\n", name.c_str(),
              attempt.enemies ? "with enemies" : (levelHasEnemies ? "WITHOUT enemies" : "(no enemies)"),
              outcome.ticks, found.statesExplored, found.seconds);
  return 0;
}

// A level that could not be read outweighs one the search was unsure of.
int worseStatus(int one, int other) {
  if (one == ExitBroken || other == ExitBroken) {
    return ExitBroken;
  }
  return std::max(one, other);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!readOptions(argc, argv, options)) {
    std::cerr << "usage: mellow-quarrier-level-solve [--enemies auto|on|off] [--states N] [--seed S] [--guess REPLAY] "
                 "[--out DIR] [--progress] (--list LIST | LEVEL...)\n";
    return ExitBroken;
  }
  int status = 0;
  for (const fs::path& level : options.levels) {
    try {
      const int result = solveOne(level, options);
      status = worseStatus(status, result);
    } catch (const std::exception& problem) {
      std::cerr << level.string() << ": " << problem.what() << "\n";
      status = ExitBroken;
    }
    std::fflush(stdout);
  }
  return status;
}
