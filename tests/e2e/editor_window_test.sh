#!/usr/bin/env bash
# The editor's window fits the desktop it opens on: without --scale, twice
# the size on a 1920 by 1080 screen (at most 1040 lines, leaving 40 for a
# title bar) and once on 1280 by 1024. Its title names the file and marks
# unsaved changes with '*'.
source "$(dirname "$0")/lib.sh"

cp "$(first_level)" "$work/first.txt"
window_size() { xwininfo -id "$window" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}'; }
wait_for_window_name() {
  for _ in $(seq 100); do
    [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$1" ] && return 0
    sleep 0.1
  done
  fail "the title stayed $(xdotool getwindowname "$window")"
}

open_on() { # SCREEN EXPECTED_WINDOW SCALE
  start_xvfb "$1"
  start_game first.txt
  wait_window
  wait_for_drawing $((512 * $3)) 0 $((192 * $3)) $((40 * $3))   # the panel
  check "on $1 the window is $2" test "$(window_size)" = "$2"
}

open_on 1920x1080 1536x1040 2
wait_for_window_name "first.txt - Mellow Quarrier level editor"
press 1; xdotool mousemove --window "$window" 8 8 click 1 2>/dev/null
wait_for_window_name "first.txt * - Mellow Quarrier level editor"
press ctrl+z
wait_for_window_name "first.txt - Mellow Quarrier level editor"
press Escape
wait_exit
kill "$xvfb_pid"

open_on 1280x1024 768x520 1
press Escape
wait_exit
