#!/usr/bin/env bash
# Builds the fuzz targets (tests/fuzz, clang with libFuzzer, ASan and UBSan),
# runs each for a while, one after the other, then the sanitized soak.
# Usage: scripts/fuzz.sh                  each target 10 s, then the soak
#        scripts/fuzz.sh --long [LIMIT]   each target for LIMIT: seconds
#                                         (default 600) or a count of
#                                         executions written like 10000000runs;
#                                         no soak (scripts/soak.sh runs it)
#        scripts/fuzz.sh --build          builds the targets and the soak only
#        scripts/fuzz.sh --run TARGET     runs one target (maps_bin, user_bin,
#                                         level_text, assets_dat) as built, 10 s
# MQ_TEST_EFFORT (default 1) multiplies the 10 s and the soak's length; CTest
# builds once and runs each target as a test of its own.
# A finding leaves its input in build-fuzz/findings/. The closing line counts
# the targets (and the soak) that passed and failed.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
fuzz_build=$(realpath -m "${MQ_FUZZ_BUILD_DIR:-$repo/build-fuzz}")
every=(maps_bin user_bin level_text assets_dat)
targets=("${every[@]}")

limit=(-max_total_time=$((10 * ${MQ_TEST_EFFORT:-1})))
soak=yes
build=yes
case "${1:-}" in
  --long)
    soak=no
    case "${2:-600}" in
      *runs) limit=(-runs="${2%runs}") ;;
      *) limit=(-max_total_time="${2:-600}") ;;
    esac ;;
  --build) targets=() soak=no ;;
  --run)
    case " ${every[*]} " in *" ${2:-} "*) ;; *) echo "fuzz: no target '${2:-}' (${every[*]})" >&2; exit 2 ;; esac
    targets=("$2") soak=no build=no ;;
  '') ;;
  *) echo "usage: scripts/fuzz.sh [--long [LIMIT] | --build | --run TARGET]" >&2; exit 2 ;;
esac

if [ "$build" = yes ]; then
  cmake -S "$repo/tests/fuzz" -B "$fuzz_build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  cmake --build "$fuzz_build" --target "${every[@]/#/fuzz_}" mq_soak -j "$(nproc)" >/dev/null
fi

# maps.bin records are 512 bytes: five of them reach every rule of the
# reader. A datafile's sound object needs a few kilobytes.
max_len() { case "$1" in maps_bin) echo 2600 ;; assets_dat) echo 8192 ;; *) echo 4096 ;; esac; }

export UBSAN_OPTIONS=print_stacktrace=1
passed=0
failed=0
mkdir -p "$fuzz_build/findings"
for target in "${targets[@]}"; do
  corpus=$fuzz_build/corpus/$target
  log=$fuzz_build/fuzz_$target.log
  mkdir -p "$corpus"
  # New inputs go to the first folder; the committed seeds stay as they are.
  if "$fuzz_build/fuzz_$target" "${limit[@]}" -max_len="$(max_len "$target")" -timeout=5 \
      -print_final_stats=1 -artifact_prefix="$fuzz_build/findings/$target-" \
      "$corpus" "$repo/tests/fuzz/corpus/$target" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    echo "fuzz_$target: $runs runs ($speed per second), no finding"
    passed=$((passed + 1))
  else
    echo "fuzz_$target: FINDING (log: $log)"
    grep -E 'ERROR|property failed|runtime error|SUMMARY|Test unit written' "$log" | head -20 || true
    failed=$((failed + 1))
  fi
done

if [ "$soak" = yes ]; then
  if "$repo/scripts/soak.sh"; then
    passed=$((passed + 1))
  else
    echo "soak: FAILED"
    failed=$((failed + 1))
  fi
fi
[ "${#targets[@]}" = 0 ] || echo "fuzz: $passed passed, $failed failed"
[ "$failed" = 0 ]
