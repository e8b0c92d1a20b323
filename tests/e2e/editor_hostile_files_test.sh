#!/usr/bin/env bash
# The editor never blocks or dies on a file: a set whose proofs are a FIFO
# and a line of four billion updates is measured and left with Escape; a
# set of 256 levels, one more than the game holds, is refused when played
# instead of ending the editor; the library's kill keys do nothing; TERM
# while proving leaves no scratch folder behind, the solver's neither.
source "$(dirname "$0")/lib.sh"
levels=$here/../../levels
set_dir=$work/set
export TMPDIR=$work/tmp
mkdir -p "$TMPDIR" "$set_dir/replays"

first=$(first_level)
cp "$first" "$set_dir/a.txt"
cp "$first" "$set_dir/b.txt"
mkfifo "$set_dir/replays/a.replay"
printf 'level: ../b.txt\nenemies: off\n4294967295 -\n' >"$set_dir/replays/b.replay"
printf 'a.txt\nb.txt\n' >"$set_dir/levels.txt"
for _ in $(seq 256); do echo a.txt; done >"$set_dir/big.txt"
cp "$set_dir/big.txt" "$work/big-before.txt"

start_xvfb
start_editor --scale 1 "$set_dir/levels.txt"
wait_for_colour FF4040 4 30 440 12            # the second level measured: its proof refused
press ctrl+alt+End
press Escape
wait_exit
check "the set with a FIFO and an endless proof was left with Escape, status 0" test "$exit_status" = 0

start_editor --scale 1 "$set_dir/big.txt"
press p
press Escape
wait_exit
check "a set of 256 levels was refused, not played: status 0" test "$exit_status" = 0
check "the list is as it was" cmp "$set_dir/big.txt" "$work/big-before.txt"

# A level whose proof takes the solver seconds, long enough to be caught at it.
cp "$here/../../bench/heavy.txt" "$work/heavy.txt"
start_editor --scale 1 "$work/heavy.txt"
press v
editor_pid=$(pgrep -P "$game_pid")
wait_until "no solver started" pgrep -P "$editor_pid" -f level-solve >/dev/null
kill -TERM "$editor_pid"
wait_exit
empty() { [ -z "$(ls -A "$TMPDIR")" ]; }
check_soon "TERM while proving left no scratch folder" empty
