#!/usr/bin/env bash
# Builds the sanitized soak (tests/soak, in the clang build of tests/fuzz) and
# plays TICKS ticks of random games seeded with SEED on the shipped levels.
# Usage: scripts/soak.sh [TICKS] [SEED]   (defaults 50000 times MQ_TEST_EFFORT,
#                                         itself 1 by default, and 1)
# MQ_BUILD_DIR: the normal build whose run/ folder holds maps.bin and
# assets.dat (default build/); MQ_FUZZ_BUILD_DIR: the clang build (default
# build-fuzz/).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ticks=${1:-$((50000 * ${MQ_TEST_EFFORT:-1}))}
seed=${2:-1}
fuzz_build=${MQ_FUZZ_BUILD_DIR:-$repo/build-fuzz}
run_dir=${MQ_BUILD_DIR:-$repo/build}/run

if [ ! -f "$run_dir/maps.bin" ] || [ ! -f "$run_dir/assets.dat" ]; then
  echo "soak: no maps.bin and assets.dat in $run_dir; build the game first" >&2
  exit 2
fi
# Configured once: CTest runs this beside the fuzz targets of the same build.
[ -f "$fuzz_build/CMakeCache.txt" ] ||
  cmake -S "$repo/tests/fuzz" -B "$fuzz_build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$fuzz_build" --target mq_soak -j "$(nproc)" >/dev/null

# About 6,000 ticks a second; a soak that stops making progress is a hang.
limit=$((ticks / 1000 + 120))
export UBSAN_OPTIONS=print_stacktrace=1
status=0
timeout "$limit" "$fuzz_build/soak/mq_soak" "$run_dir" "$seed" "$ticks" || status=$?
if [ "$status" = 124 ]; then
  echo "soak: seed $seed did not finish $ticks ticks within $limit s" >&2
fi
exit "$status"
