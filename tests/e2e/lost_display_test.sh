#!/usr/bin/env bash
# The X server going away (a logout, a crashed desktop) while the game shows
# the title menu, while it plays, and right after a name was entered: the
# game ends at once with status 1 and one line that says why, never with an
# abort or a core dump, and user.bin holds what the last save wrote.
# MQ_LOST_DISPLAY_RUNS sets the number of runs at the menu and in play.
source "$(dirname "$0")/lib.sh"
source "$here/hostile_files.sh"

lose_display() {
  kill -KILL "$xvfb_pid"
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=
  wait_exit
}

said_why() { grep -q "the connection to the X server was lost" "$work/case/game.err"; }

runs=${MQ_LOST_DISPLAY_RUNS:-6}
for run in $(seq "$runs"); do
  fresh_case
  start_xvfb
  start_case
  where="at the menu"
  if [ $((run % 2)) = 0 ]; then
    where="in play"
    menu_start_game
    wait_for_drawing 384 513 56 12   # the status line's level number
  fi
  lose_display
  check "run $run, $where: status 1 (not $exit_status)" test "$exit_status" = 1
  check "run $run, $where: one line says why" said_why
done

fresh_case
zero_table
start_xvfb
start_case
play_and_name Kim
lose_display
check "after a name entry: status 1 (not $exit_status)" test "$exit_status" = 1
check "the name entered before is in user.bin" holds_name Kim
