#!/bin/sh
# Solves every level of levels/levels.txt with its enemies, each in a process
# of its own, and prints the solver's wall time and peak memory per level and
# for the whole set (GNU time measures them).
#
#   tools/solver/measure-solver.sh BUILD_DIR [OUT_DIR]
#
# The replays go to OUT_DIR, a scratch folder by default; give levels/replays
# to refresh the shipped ones. Exit status 1 when a level was not cleared.
set -eu
build=${1:?usage: measure-solver.sh BUILD_DIR [OUT_DIR]}
root=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
out=${2:-$scratch}
mkdir -p "$out"
status=0
started=$(date +%s.%N)
printf '%-28s %8s %8s\n' level seconds peak-MB
for level in $(grep -v '^#' "$root/levels/levels.txt"); do
  if ! /usr/bin/time -f '%e %M' -o "$scratch/time" "$build/tools/solver/level-solve" --enemies on \
      --out "$out" "$root/levels/$level" >"$scratch/log" 2>&1; then
    status=1
    cat "$scratch/log" >&2
  fi
  # GNU time puts a line about a failed command before its own.
  read -r seconds kilobytes <<EOT
$(tail -n 1 "$scratch/time")
EOT
  printf '%-28s %8s %8d\n' "${level%.txt}" "$seconds" $((kilobytes / 1024))
done
finished=$(date +%s.%N)
awk -v from="$started" -v to="$finished" 'BEGIN { printf "whole set: %.1f s\n", to - from }'
exit $status
