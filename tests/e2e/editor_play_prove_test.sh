#!/usr/bin/env bash
# The editor's play-test and proof on the first shipped level: play it and
# come back to the same drawing, prove it, watch the proof (once to its end),
# save, and find the replay beside the level clearing it through mellow-quarrier-replay-run. With
# MQ_SCREENSHOT_DIR set, the proven level is saved there as editor.png (the
# README shows docs/editor.png).
source "$(dirname "$0")/lib.sh"
replay_run=$4

cp "$(first_level)" "$work/first.txt"
cp "$work/first.txt" "$work/first.before"
grid_sum() { "$convert_tool" "$work/$1.png" -crop 512x512+0+0 +repage rgb:- | md5sum; }
# The editor's drawing is back as SHOT showed it before; NAME keeps the look.
drawing_back() { # NAME
  screenshot "$1"
  [ "$(grid_sum before)" = "$(grid_sum "$1")" ]
}

start_xvfb
start_editor first.txt
screenshot before

press p
wait_for_colour 445566 513 4 128 12   # the score's dim zeros, atop the panel
hold Right 40
hold_to_leave Escape
check_soon "back from the play-test to the same drawing" drawing_back after
check "the level file untouched" cmp "$work/first.txt" "$work/first.before"

press v
wait_for_colour 40FF40 512 120 256 200   # "Cleared"
screenshot proven
if [ -n "${MQ_SCREENSHOT_DIR:-}" ]; then
  cp "$work/proven.png" "$MQ_SCREENSHOT_DIR/editor.png"
fi

press w
wait_for_colour 445566 513 4 128 12
hold f 50
hold_to_leave Escape
check_soon "back from watching to the same drawing" drawing_back watched

# Watched again to its end, fast, with Left held: only the proof's keys count.
press w
wait_for_colour 445566 513 4 128 12
xdotool keydown --window "$window" f Left 2>/dev/null
wait_for_colour 40FF40 512 472 256 48   # "The proof was watched to its end"
xdotool keyup --window "$window" f Left 2>/dev/null

press ctrl+s
check_soon "the proof saved beside the level" test -s "$work/first.replay"
check "the proof clears the level" "$replay_run" --assets "$run_dir/assets.dat" "$work/first.replay"
press Escape
wait_exit
check "exit status 0" test "$exit_status" = 0
