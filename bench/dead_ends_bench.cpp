// How long the dead-end analysis takes on each shipped level and on the
// whole set, with the situations it plays through as a counter. The bound
// it is held to is 2 s on any shipped level; the editor runs it on every
// change of a drawing, in a process of its own.
#include "analysis_bench.h"

#include "analysis/dead_ends.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

void analyseOne(benchmark::State& state, const Level& level) {
  size_t situations = 0;
  for (auto _ : state) {
    situations = findDeadEnds(level).situations;
  }
  state.counters["situations"] = static_cast<double>(situations);
}

void analyseAll(benchmark::State& state, const std::vector<ShippedLevel>& levels) {
  for (auto _ : state) {
    for (const ShippedLevel& named : levels) {
      benchmark::DoNotOptimize(findDeadEnds(named.level).deadEnds.size());
    }
  }
  state.counters["levels"] = static_cast<double>(levels.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (!startAnalysisBench("mq-dead-ends-bench")) {
    return 2;
  }
  static const std::vector<ShippedLevel> levels = shippedLevels();
  for (const ShippedLevel& named : levels) {
    benchmark::RegisterBenchmark(("dead_ends/" + named.name).c_str(), analyseOne, named.level)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark("dead_ends/whole_set", analyseAll, levels)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(1);
  return runRegisteredBenchmarks(argc, argv);
}
