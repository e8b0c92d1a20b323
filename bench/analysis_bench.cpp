#include "analysis_bench.h"

#include "leveltext/level_set.h"
#include "leveltext/level_text.h"

#include "base/headless_start.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

std::vector<ShippedLevel> shippedLevels() {
  namespace fs = std::filesystem;
  std::vector<fs::path> paths;
  std::vector<ShippedLevel> levels;
  readLevelListPaths(fs::path(MQ_LEVELS_DIR) / "levels.txt", paths);
  for (const fs::path& path : paths) {
    std::ifstream in(path);
    LevelSource source;
    std::string error;
    if (parseLevelSource(in, path.string(), source, error)) {
      ShippedLevel shipped{path.stem().string(), source.level, false, {}};
      const fs::path proofPath = path.parent_path() / "replays" / (path.stem().string() + ".replay");
      shipped.proven = loadReplay(proofPath.string(), shipped.proof, error);
      levels.push_back(shipped);
    }
  }
  return levels;
}

bool startAnalysisBench(const char* program) {
  const std::string problem = startWithoutWindow(MQ_RUN_DIR "/assets.dat");
  if (!problem.empty()) {
    std::fprintf(stderr, "%s: %s\n", program, problem.c_str());
    return false;
  }
  return true;
}

int runRegisteredBenchmarks(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
