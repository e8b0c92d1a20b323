// mellow-quarrier-level-make: makes COUNT new levels into DIR, each proven
// clearable with its enemies, free of dead ends, fair at the start, with
// room for a person's late presses, rated, titled and noted, laid out as the
// shipped levels/ is (generate/made_level_folder.h).
// The same seed and options give the same files, byte for byte.
//
//   mellow-quarrier-level-make --seed S --count N --out DIR [--difficulty 1-5]
//              [--enemies MIN-MAX]
//
// The rules need no art: --assets FILE is still accepted, and ignored.
//
// Standard error tells each level made and the candidates turned away by
// reason. SIGINT or SIGTERM stops the run between two steps: the folder
// keeps the levels finished so far and a list naming exactly those. Exit
// status 0 when all COUNT were made, 1 when the run was stopped or a file
// could not be written, 2 on bad options or a folder that is not ours.
#include "generate/level_maker.h"
#include "generate/made_level_folder.h"

#include <cerrno>
#include <csignal>
#include <signal.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string>

namespace {

constexpr int ExitStopped = 1;
constexpr int ExitBroken = 2;
// A list holds at most this many levels (maps.bin's records).
constexpr int MostLevels = 255;
constexpr int MostEnemies = 8;

volatile std::sig_atomic_t stopSignal = 0;

void onStopSignal(int signal) { stopSignal = signal; }

struct Options {
  MakeOptions make;
  int count = 0;
  std::string outDir;
  bool seedGiven = false;
};

bool readWhole(const char* text, unsigned long long most, unsigned long long& value) {
  if (*text < '0' || *text > '9') {
    return false;
  }
  char* end = nullptr;
  errno = 0;
  value = std::strtoull(text, &end, 10);
  return *end == '\0' && errno == 0 && value <= most;
}

// "2-4", or "3" for exactly three.
bool readEnemyRange(const std::string& text, MakeOptions& make) {
  const size_t dash = text.find('-');
  unsigned long long fewest = 0;
  unsigned long long most = 0;
  const std::string first = text.substr(0, dash);
  const std::string second = dash == std::string::npos ? first : text.substr(dash + 1);
  if (!readWhole(first.c_str(), MostEnemies, fewest) || !readWhole(second.c_str(), MostEnemies, most) || fewest > most) {
    return false;
  }
  make.fewestEnemies = static_cast<int>(fewest);
  make.mostEnemies = static_cast<int>(most);
  return true;
}

bool readOptions(int argc, char** argv, Options& options) {
  for (int index = 1; index < argc; ++index) {
    const std::string argument = argv[index];
    if (index + 1 >= argc) {
      return false;
    }
    const char* value = argv[++index];
    unsigned long long number = 0;
    if (argument == "--seed" && readWhole(value, ~0ULL, number)) {
      options.make.seed = number;
      options.seedGiven = true;
    } else if (argument == "--count" && readWhole(value, MostLevels, number) && number > 0) {
      options.count = static_cast<int>(number);
    } else if (argument == "--difficulty" && readWhole(value, 5, number) && number > 0) {
      options.make.difficulty = static_cast<int>(number);
    } else if (argument == "--enemies" && readEnemyRange(value, options.make)) {
    } else if (argument == "--out" && *value != '\0') {
      options.outDir = value;
    } else if (argument != "--assets") {
      return false;
    }
  }
  return options.seedGiven && options.count > 0 && !options.outDir.empty();
}

std::string rejectionSummary(const LevelMaker& maker) {
  std::string summary;
  for (const auto& [reason, count] : maker.rejections()) {
    summary += (summary.empty() ? "" : ", ") + std::to_string(count) + " " + reason;
  }
  return summary.empty() ? "none" : summary;
}

std::string listHeader(const Options& options) {
  std::string header = " --seed " + std::to_string(options.make.seed) + " --count " + std::to_string(options.count) +
                       " --difficulty " + std::to_string(options.make.difficulty);
  if (options.make.fewestEnemies >= 0) {
    header += " --enemies " + std::to_string(options.make.fewestEnemies) + "-" + std::to_string(options.make.mostEnemies);
  }
  return header;
}

void tellMade(int number, int count, const MadeLevel& made, double cpuSeconds, const LevelMaker& maker) {
  std::fprintf(stderr,
               "mellow-quarrier-level-make: %d/%d %s: figure %.1f, %d chasers, %d gold, %d dig puzzles (candidate %llu, %.2f s CPU)\n",
               number, count, made.source.title.c_str(), made.rating.figure, made.rating.enemies, made.rating.gold,
               made.chambers, static_cast<unsigned long long>(made.candidate), cpuSeconds);
  std::fprintf(stderr, "mellow-quarrier-level-make: candidates turned away so far: %s\n", rejectionSummary(maker).c_str());
}

int makeLevels(const Options& options, MadeLevelFolder& folder) {
  LevelMaker maker(options.make);
  for (int number = 1; number <= options.count; ++number) {
    const std::clock_t started = std::clock();
    try {
      const MadeLevel made = maker.makeLevel();
      std::string error;
      if (!folder.add(made, error)) {
        std::cerr << "mellow-quarrier-level-make: " << error << "\n";
        return ExitStopped;
      }
      tellMade(number, options.count, made, static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC, maker);
    } catch (const MakeInterrupted&) {
      std::fprintf(stderr, "mellow-quarrier-level-make: stopped by signal %d after %d levels; %s lists them\n",
                   static_cast<int>(stopSignal), number - 1, folder.listPath().c_str());
      return ExitStopped;
    }
  }
  std::fprintf(stderr, "mellow-quarrier-level-make: %d levels from %llu candidates in %s\n", options.count,
               static_cast<unsigned long long>(maker.candidatesTried()), folder.folder().c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!readOptions(argc, argv, options)) {
    std::cerr << "usage: mellow-quarrier-level-make --seed S --count N --out DIR [--difficulty 1-5] [--enemies MIN-MAX]\n";
    return ExitBroken;
  }
  struct sigaction stop {};
  stop.sa_handler = onStopSignal;
  sigemptyset(&stop.sa_mask);
  sigaction(SIGINT, &stop, nullptr);
  sigaction(SIGTERM, &stop, nullptr);
  options.make.stopRequested = [] { return stopSignal != 0; };
  options.make.onRejected = [](uint64_t candidate, const std::string& reason) {
    std::fprintf(stderr, "mellow-quarrier-level-make: candidate %llu turned away: %s\n", static_cast<unsigned long long>(candidate),
                 reason.c_str());
  };
  MadeLevelFolder folder(options.outDir, listHeader(options));
  std::string error;
  if (!folder.prepare(error)) {
    std::cerr << "mellow-quarrier-level-make: " << error << "\n";
    return ExitBroken;
  }
  return makeLevels(options, folder);
}
