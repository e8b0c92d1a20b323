// One main-loop pass of the game and of the bare reference, headless.
//   mq-pass-bench [Google Benchmark options]   time per pass
//   mq-pass-bench --count SCENE PASSES          runs PASSES passes of SCENE,
//       collecting only them under valgrind --tool=callgrind --collect-atstart=no
#include "bench_session.h"

#include <benchmark/benchmark.h>

// The header comes with valgrind; without it the count mode still runs, it
// just cannot mark the passes for callgrind.
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_TOGGLE_COLLECT
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void passBenchmark(benchmark::State& state, const char* sceneName) {
  auto scene = makeScene(sceneName);
  for (auto _ : state) {
    scene->runPass();
  }
}

BENCHMARK_CAPTURE(passBenchmark, game_menu, "game-menu")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(passBenchmark, reference_menu, "reference-menu")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(passBenchmark, game_play, "game-play")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(passBenchmark, reference_play, "reference-play")->Unit(benchmark::kMicrosecond);

int countPasses(const std::string& sceneName, long passes) {
  auto scene = makeScene(sceneName);
  if (scene == nullptr || passes <= 0) {
    std::fprintf(stderr, "usage: mq-pass-bench --count game-menu|game-play|reference-menu|reference-play PASSES\n");
    return 2;
  }
  CALLGRIND_TOGGLE_COLLECT;
  for (long i = 0; i < passes; ++i) {
    scene->runPass();
  }
  CALLGRIND_TOGGLE_COLLECT;
  std::fprintf(stderr, "%s after %ld passes: %s\n", sceneName.c_str(), passes, scene->describe().c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--count") == 0) {
    if (argc != 4) {
      std::fprintf(stderr, "usage: mq-pass-bench --count SCENE PASSES\n");
      return 2;
    }
    return countPasses(argv[2], std::strtol(argv[3], nullptr, 10));
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
