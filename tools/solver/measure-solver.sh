#!/bin/sh
# Solves every level of levels/levels.txt with its enemies, each in a process
# of its own, and prints the solver's wall time and peak memory per level and
# for the whole set (GNU time measures them), with the machine's load.
#
#   tools/solver/measure-solver.sh BUILD_DIR [OUT_DIR]
#
# The replays go to OUT_DIR, a scratch folder by default; give levels/replays
# to refresh the shipped ones. Exit status 1 when a level was not cleared or
# a figure passed its limit: a minute or a gigabyte for a level, ten minutes
# for the set.
set -eu
build=${1:?usage: measure-solver.sh BUILD_DIR [OUT_DIR]}
root=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
out=${2:-$scratch}
mkdir -p "$out"
level_seconds_max=60
level_megabytes_max=1024
set_seconds_max=600
status=0
started=$(date +%s.%N)
printf '%-28s %8s %8s\n' level seconds peak-MB
for level in $(grep -v '^#' "$root/levels/levels.txt"); do
  if ! /usr/bin/time -f '%e %M' -o "$scratch/time" "$build/run/mellow-quarrier-level-solve" --enemies on \
      --out "$out" "$root/levels/$level" >"$scratch/log" 2>&1; then
    status=1
    cat "$scratch/log" >&2
  fi
  # GNU time puts a line about a failed command before its own.
  read -r seconds kilobytes <<EOT
$(tail -n 1 "$scratch/time")
EOT
  verdict=$(awk -v s="$seconds" -v mb=$((kilobytes / 1024)) -v smax=$level_seconds_max -v mbmax=$level_megabytes_max \
    'BEGIN { print (s > smax || mb > mbmax) ? "  OVER THE LIMIT" : "" }')
  [ -z "$verdict" ] || status=1
  printf '%-28s %8s %8d%s\n' "${level%.txt}" "$seconds" $((kilobytes / 1024)) "$verdict"
done
finished=$(date +%s.%N)
load5=$(cut -d " " -f 2 /proc/loadavg)
awk -v from="$started" -v to="$finished" -v max=$set_seconds_max -v load="$load5" -v cores="$(nproc)" 'BEGIN {
  printf "whole set: %.1f s%s\n", to - from, (to - from > max) ? "  OVER THE LIMIT" : ""
  printf "load average over the last 5 minutes: %s on %d cores\n", load, cores
  exit (to - from > max) ? 1 : 0
}' || status=1
exit $status
