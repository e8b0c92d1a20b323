#!/usr/bin/env bash
# The game and the bare reference loop in real windows under Xvfb: CPU share
# of one core, passes per second, resident memory and time to the first frame,
# in the title menu and in play on the heavy bench level, with the ratio of
# game to reference taken in the same run. Needs Xvfb, xdotool and python3.
# Usage: bench/run_window_bench.sh [BUILD_DIR] [SECONDS_PER_RUN] [ROUNDS]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:-$here/../build}
for tool in Xvfb xdotool python3; do
  command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 2; }
done
for file in run/mellow-quarrier run/assets.dat bench/mq-reference bench/libmq-frame-counter.so bench/heavy/maps.bin; do
  [ -e "$build/$file" ] || { echo "missing: $build/$file (build the game and the bench targets)" >&2; exit 2; }
done
exec python3 "$here/window_bench.py" "$build" "${2:-10}" "${3:-3}"
