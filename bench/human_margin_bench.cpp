// How long the human margin takes on each shipped level with its proof and
// on the whole set, with the presses tried, the updates of the rules played
// and the states kept by the searches from late moments as counters.
// `mellow-quarrier-level-rate`, which the test command runs on the set,
// measures every level this way; its budget is minutes of CPU for the whole
// set at the very most.
#include "analysis_bench.h"

#include "analysis/human_margin.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

void measureOne(benchmark::State& state, const ShippedLevel& shipped) {
  HumanMargin margin;
  for (auto _ : state) {
    margin = measureHumanMargin(shipped.level, shipped.proof);
  }
  state.counters["presses"] = static_cast<double>(margin.presses.size());
  state.counters["updates"] = static_cast<double>(margin.updatesPlayed);
  state.counters["search_states"] = static_cast<double>(margin.searchStates);
  state.counters["margin"] = margin.marginUpdates;
}

void measureAll(benchmark::State& state, const std::vector<ShippedLevel>& levels) {
  uint64_t updates = 0;
  uint64_t searchStates = 0;
  for (auto _ : state) {
    for (const ShippedLevel& shipped : levels) {
      const HumanMargin margin = measureHumanMargin(shipped.level, shipped.proof);
      updates += margin.updatesPlayed;
      searchStates += margin.searchStates;
    }
  }
  state.counters["levels"] = static_cast<double>(levels.size());
  state.counters["updates"] = static_cast<double>(updates);
  state.counters["search_states"] = static_cast<double>(searchStates);
}

}  // namespace

int main(int argc, char** argv) {
  if (!startAnalysisBench("mq-human-margin-bench")) {
    return 2;
  }
  static std::vector<ShippedLevel> levels;
  for (const ShippedLevel& shipped : shippedLevels()) {
    if (shipped.proven) {
      levels.push_back(shipped);
    }
  }
  for (const ShippedLevel& shipped : levels) {
    benchmark::RegisterBenchmark(("human_margin/" + shipped.name).c_str(), measureOne, shipped)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
  }
  benchmark::RegisterBenchmark("human_margin/whole_set", measureAll, levels)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(1);
  return runRegisteredBenchmarks(argc, argv);
}
