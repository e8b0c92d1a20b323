#!/usr/bin/env bash
# mellow-quarrier-level-make as a program: bad options give the usage and status 2 and write
# nothing; a folder of someone else's files is refused and left as it was;
# the same seed and options write the same bytes, also over an earlier run;
# the proofs it writes replay with mellow-quarrier-replay-run; and a run stopped by SIGTERM
# leaves whole levels, each with its proof, and a list naming exactly those.
#
#   level_make_tool_test.sh LEVEL_MAKE REPLAY_RUN
set -euo pipefail

maker=$1
replay_run=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/mq-level-make-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

status_of() { set +e; "$@" >"$work/out" 2>"$work/err"; echo $?; set -e; }

for options in "" "--seed 1 --count 1" "--seed 1 --count 0 --out $work/x" "--seed -1 --count 1 --out $work/x" \
  "--seed 1 --count 1 --out $work/x --difficulty 6" "--seed 1 --count 1 --out $work/x --enemies 3-1" \
  "--seed 1 --count 256 --out $work/x" "--seed 1 --count 1 --out $work/x --colour blue"; do
  # shellcheck disable=SC2086
  [ "$(status_of "$maker" $options)" = 2 ] || fail "status for '$options'"
  grep -q '^usage: mellow-quarrier-level-make' "$work/err" || fail "no usage for '$options'"
  [ ! -e "$work/x" ] || fail "'$options' made the folder"
done

mkdir "$work/mine"
echo "my notes" >"$work/mine/notes.txt"
[ "$(status_of "$maker" --seed 1 --count 1 --out "$work/mine")" = 2 ] || fail "a folder of other files was taken"
grep -q 'not an earlier run of mellow-quarrier-level-make' "$work/err" || fail "no reason given: $(cat "$work/err")"
[ "$(ls -A "$work/mine")" = notes.txt ] && [ "$(cat "$work/mine/notes.txt")" = "my notes" ] || fail "the folder changed"

"$maker" --seed 4 --count 2 --difficulty 2 --out "$work/a" 2>"$work/a.log" || fail "run a: $(cat "$work/a.log")"
grep -q '2/2' "$work/a.log" || fail "no progress line per level"
"$maker" --seed 4 --count 2 --difficulty 2 --out "$work/b" 2>/dev/null
diff -r "$work/a" "$work/b" || fail "the same seed wrote other bytes"
"$maker" --seed 4 --count 2 --difficulty 2 --out "$work/b" 2>/dev/null || fail "an earlier run was refused"
diff -r "$work/a" "$work/b" || fail "a run over an earlier one wrote other bytes"
[ "$(grep -vc '^#' "$work/a/levels.txt")" = 2 ] || fail "the list does not name two levels"
"$replay_run" "$work"/a/replays/*.replay >/dev/null || fail "a proof does not replay"

# Stopped once the first level is listed: the files agree with the list.
"$maker" --seed 8 --count 40 --difficulty 1 --out "$work/c" 2>"$work/c.log" &
run=$!
until grep -qv '^#' "$work/c/levels.txt" 2>/dev/null; do
  kill -0 "$run" 2>/dev/null || fail "the run ended before it was stopped"
  sleep 0.1
done
kill -TERM "$run"
set +e; wait "$run"; status=$?; set -e
[ "$status" = 1 ] || fail "status $status after SIGTERM"
grep -q 'stopped by signal 15' "$work/c.log" || fail "the stop was not told"
listed=$(grep -v '^#' "$work/c/levels.txt" | sort)
written=$(cd "$work/c" && ls -- *.txt | grep -vx levels.txt | sort)
[ "$listed" = "$written" ] || fail "the list names [$listed], the folder holds [$written]"
for level in $listed; do
  [ -f "$work/c/replays/${level%.txt}.replay" ] || fail "$level has no proof"
done
[ "$(ls "$work/c/replays" | wc -l)" = "$(echo "$listed" | wc -l)" ] || fail "a proof without its level"
! ls -A "$work/c" "$work/c/replays" | grep -q saving || fail "a half-written file was left"
echo "mellow-quarrier-level-make: options, folders, determinism and a stopped run all hold"
