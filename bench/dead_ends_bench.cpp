// How long the dead-end analysis takes on each shipped level and on the
// whole set, with the situations it plays through as a counter. The bound
// it is held to is 2 s on any shipped level; the editor runs it on every
// change of a drawing, in a process of its own.
#include "analysis/dead_ends.h"

#include "leveltext/level_set.h"
#include "leveltext/level_text.h"

#include "base/headless_start.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct NamedLevel {
  std::string name;
  Level level;
};

std::vector<NamedLevel> shippedLevels() {
  std::vector<fs::path> paths;
  std::vector<NamedLevel> levels;
  readLevelListPaths(fs::path(MQ_LEVELS_DIR) / "levels.txt", paths);
  for (const fs::path& path : paths) {
    std::ifstream in(path);
    LevelSource source;
    std::string error;
    if (parseLevelSource(in, path.string(), source, error)) {
      levels.push_back({path.stem().string(), source.level});
    }
  }
  return levels;
}

void analyseOne(benchmark::State& state, const Level& level) {
  size_t situations = 0;
  for (auto _ : state) {
    situations = findDeadEnds(level).situations;
  }
  state.counters["situations"] = static_cast<double>(situations);
}

void analyseAll(benchmark::State& state, const std::vector<NamedLevel>& levels) {
  for (auto _ : state) {
    for (const NamedLevel& named : levels) {
      benchmark::DoNotOptimize(findDeadEnds(named.level).deadEnds.size());
    }
  }
  state.counters["levels"] = static_cast<double>(levels.size());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string problem = startWithoutWindow(MQ_RUN_DIR "/assets.dat");
  if (!problem.empty()) {
    std::fprintf(stderr, "mq-dead-ends-bench: %s\n", problem.c_str());
    return 2;
  }
  static const std::vector<NamedLevel> levels = shippedLevels();
  for (const NamedLevel& named : levels) {
    benchmark::RegisterBenchmark(("dead_ends/" + named.name).c_str(), analyseOne, named.level)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark("dead_ends/whole_set", analyseAll, levels)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(1);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
