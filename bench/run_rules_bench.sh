#!/bin/sh
# What running the rules without a window costs: instructions per headless
# update (callgrind on mellow-quarrier-replay-run), the CPU time and peak memory of proving
# every shipped level with its enemies (mellow-quarrier-level-solve, one process a level),
# and how long the solver takes to answer the levels of bench/impossible/.
#
#   bench/run_rules_bench.sh BUILD_DIR [all|updates|proofs|impossible]
#
# BUILD_DIR holds the programs anywhere below it (a build folder, or a
# folder of copies of them, to measure an older build). Each is given
# --assets with the build's assets.dat when there is one, which programs
# that need no art ignore. Figures go to stdout; nothing is checked.
set -eu
build=$(cd "${1:?usage: run_rules_bench.sh BUILD_DIR [all|updates|proofs|impossible]}" && pwd)
part=${2:-all}
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

program() {
  found=$(find "$build" -name "$1" -type f -perm -u+x | head -n 1)
  [ -n "$found" ] || { echo "no $1 below $build" >&2; exit 2; }
  echo "$found"
}
assets=$(find "$build" -name assets.dat -type f | head -n 1)
assets_option=${assets:+--assets $assets}

# Updates of a replay, from mellow-quarrier-replay-run's line "... after N ticks ...".
ticks_of() { sed -n 's/.* after \([0-9]*\) ticks.*/\1/p' "$1"; }

# Instructions of a whole run of mellow-quarrier-replay-run on one replay.
instructions_of() {
  valgrind --tool=callgrind --callgrind-out-file="$scratch/callgrind" "$replay_run" $assets_option "$1" \
    >"$scratch/out" 2>"$scratch/err"
  sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$scratch/err"
}

# The long proof against the short one, so that start-up and reading the
# files drop out of the figure.
updates() {
  replay_run=$(program mellow-quarrier-replay-run)
  long=$root/levels/replays/056-fountain.replay
  short=$root/levels/replays/001-morning-walk.replay
  long_instructions=$(instructions_of "$long"); long_ticks=$(ticks_of "$scratch/out")
  short_instructions=$(instructions_of "$short"); short_ticks=$(ticks_of "$scratch/out")
  awk -v li="$long_instructions" -v lt="$long_ticks" -v si="$short_instructions" -v st="$short_ticks" 'BEGIN {
    printf "instructions per headless update: %.0f (056-fountain, %d updates, %d instructions; less 001-morning-walk, %d updates, %d)\n",
      (li - si) / (lt - st), lt, li, st, si
  }'
}

# CPU seconds (user + system) and peak resident kilobytes of one solver run.
solve() {
  /usr/bin/time -f '%U %S %M' -o "$scratch/time" "$solver" $assets_option --out "$scratch" "$@" \
    >"$scratch/log" 2>&1 || true
  tail -n 1 "$scratch/time"
}

proofs() {
  solver=$(program mellow-quarrier-level-solve)
  printf '%-28s %8s %8s  %s\n' level cpu-s peak-MB result
  for level in $(grep -v '^#' "$root/levels/levels.txt"); do
    read -r user system kilobytes <<EOT
$(solve --enemies on "$root/levels/$level")
EOT
    printf '%-28s %8.2f %8d  %s\n' "${level%.txt}" "$(echo "$user + $system" | bc)" $((kilobytes / 1024)) \
      "$(grep -v '^progress' "$scratch/log" | head -n 1 | cut -c 1-90)"
  done >"$scratch/table"
  cat "$scratch/table"
  awk 'NR > 1 { cpu += $2; if ($2 > worst) { worst = $2; name = $1 } if ($3 > peak) peak = $3 }
    END { printf "whole set: %.2f s of CPU; slowest %s, %.2f s; peak memory %d MB\n", cpu, name, worst, peak }' \
    "$scratch/table"
}

impossible() {
  solver=$(program mellow-quarrier-level-solve)
  printf '%-16s %8s %8s  %s\n' level cpu-s peak-MB answer
  for level in "$root"/bench/impossible/*.txt; do
    read -r user system kilobytes <<EOT
$(solve --enemies on "$level")
EOT
    printf '%-16s %8.2f %8d  %s\n' "$(basename "$level" .txt)" "$(echo "$user + $system" | bc)" \
      $((kilobytes / 1024)) "$(grep -v '^progress' "$scratch/log" | tr '\n' ' ' | cut -c 1-110)"
  done
}

case $part in
  all) updates; proofs; impossible ;;
  updates|proofs|impossible) $part ;;
  *) echo "usage: run_rules_bench.sh BUILD_DIR [all|updates|proofs|impossible]" >&2; exit 2 ;;
esac
