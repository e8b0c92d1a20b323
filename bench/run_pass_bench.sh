#!/usr/bin/env bash
# One main-loop pass of the game against the bare reference loop, headless:
# instructions per pass under callgrind (the primary figure: it does not
# depend on the load of the machine), then time per pass with Google
# Benchmark (medians of repetitions).
# Usage: bench/run_pass_bench.sh [BUILD_DIR] [PASSES] [REPETITIONS]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:-$here/../build}
passes=${2:-500}
repetitions=${3:-9}
bench=$build/bench/mq-pass-bench
[ -x "$bench" ] || { echo "missing: $bench (cmake --build $build --target mq-pass-bench)" >&2; exit 2; }
command -v valgrind >/dev/null || { echo "missing: valgrind" >&2; exit 2; }
out=$(mktemp -d "${TMPDIR:-/tmp}/mq-pass-bench-XXXXXX")
trap 'rm -rf "$out"' EXIT

declare -A per_pass
echo "instructions per pass, $passes passes after warm-up (valgrind --tool=callgrind):"
for scene in game-menu reference-menu game-play reference-play; do
  valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$out/$scene.out" \
    "$bench" --count "$scene" "$passes" >"$out/$scene.log" 2>&1 || { cat "$out/$scene.log" >&2; exit 1; }
  collected=$(sed -n 's/.*Collected : *\([0-9]*\).*/\1/p' "$out/$scene.log")
  per_pass[$scene]=$((collected / passes))
  printf '  %-15s %9d   (%s)\n' "$scene" "${per_pass[$scene]}" "$(grep -o 'after .*' "$out/$scene.log")"
done
for scene in menu play; do
  awk -v g="${per_pass[game-$scene]}" -v r="${per_pass[reference-$scene]}" -v s="$scene" \
    'BEGIN { printf "  %-4s game / reference: %.3f\n", s, g / r }'
done

echo
echo "time per pass, medians of $repetitions repetitions (Google Benchmark):"
# Repetitions interleaved at random, so that a busy moment of the machine
# falls on the game and the reference alike.
"$bench" --benchmark_repetitions="$repetitions" --benchmark_enable_random_interleaving=true \
  --benchmark_report_aggregates_only=true \
  --benchmark_format=csv 2>/dev/null >"$out/times.csv"
awk -F, '/_median"/ {
    name = $1; gsub(/"|passBenchmark\/|_median/, "", name); time[name] = $4
    printf "  %-15s %8.1f us (cpu)\n", name, $4 }
  END {
    printf "  menu game / reference: %.3f\n", time["game_menu"] / time["reference_menu"]
    printf "  play game / reference: %.3f\n", time["game_play"] / time["reference_play"] }' "$out/times.csv"
