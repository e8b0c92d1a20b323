#!/usr/bin/env bash
# What mellow-quarrier-level-make costs: for each difficulty, a run of COUNT levels under
# /usr/bin/time -v, then from its progress lines the acceptance (levels per
# candidate built), the candidates turned away by reason, the CPU seconds
# spent per accepted level (median and 95th percentile; each level's time
# includes the candidates turned away before it), the spread of the
# difficulty figure, the share of levels with chasers and the peak memory.
#
#   bench/run_make_bench.sh BUILD_DIR [COUNT=50] [DIFFICULTIES="1 2 3 4 5"] [SEED=1]
set -euo pipefail

build=${1:?usage: bench/run_make_bench.sh BUILD_DIR [COUNT] [DIFFICULTIES] [SEED]}
count=${2:-50}
difficulties=${3:-1 2 3 4 5}
seed=${4:-1}
maker=$build/run/mellow-quarrier-level-make
work=$(mktemp -d "${TMPDIR:-/tmp}/mq-make-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

printf '%-10s %-10s %-9s %-9s %-9s %-22s %-8s %-8s %s\n' difficulty accepted "median-s" "p95-s" "max-s" "figure min/median/max" chasers "peak-MB" "turned away"
for difficulty in $difficulties; do
  log=$work/$difficulty.log
  /usr/bin/time -v -o "$work/$difficulty.time" "$maker" --seed "$seed" --count "$count" \
    --difficulty "$difficulty" --out "$work/levels-$difficulty" 2>"$log"
  python3 - "$log" "$work/$difficulty.time" "$difficulty" <<'PY'
import re, sys
log, timing, difficulty = sys.argv[1:]
text = open(log).read()
made = re.findall(r'figure ([0-9.]+), (\d+) chasers.*\(candidate \d+, ([0-9.]+) s CPU\)', text)
candidates = int(re.search(r'levels from (\d+) candidates', text).group(1))
away = re.findall(r'turned away so far: (.*)', text)[-1]
peak_kb = int(re.search(r'Maximum resident set size \(kbytes\): (\d+)', open(timing).read()).group(1))
def percentile(values, share):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(share * len(ordered)))]
seconds = [float(cpu) for _, _, cpu in made]
figures = [float(figure) for figure, _, _ in made]
chased = sum(1 for _, chasers, _ in made if int(chasers) > 0)
print('%-10s %-10s %-9.2f %-9.2f %-9.2f %-22s %-8s %-8.0f %s' % (
    difficulty, '%d/%d' % (len(made), candidates), percentile(seconds, 0.5), percentile(seconds, 0.95),
    max(seconds), '%.1f/%.1f/%.1f' % (min(figures), percentile(figures, 0.5), max(figures)),
    '%d%%' % (100 * chased // len(made)), peak_kb / 1024, away))
PY
done
