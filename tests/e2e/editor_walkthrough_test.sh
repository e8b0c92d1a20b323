#!/usr/bin/env bash
# The README's "Make your first level" and "To ship it", step by step, in a
# copy of the levels folder, on a 1920 by 1080 screen: the red frame appears
# and goes as it says, the mirror, the pasted floor and the fill come and go
# leaving the level as it was, the window zooms in with the drawing and back
# out, the play-test comes back, the proof clears the level, the saves land
# where it says (the shipped proof in replays/, where the level tests look),
# and the list takes the new level.
source "$(dirname "$0")/lib.sh"
replay_run=$4
levels=$here/../../levels

cell_box() { echo "$((16 * $1)) $((16 * $2)) 16 16"; }
wait_without_colour() { # RRGGBB X Y W H
  for _ in $(seq 100); do
    screenshot wait
    [ "$(python3 "$here/pixels.py" "$work/wait.ppm" count "$@")" = 0 ] && return 0
    sleep 0.1
  done
  fail "$1 stayed in $4 x $5 at ($2, $3)"
}
type_text() { xdotool type --window "$window" --delay 30 "$1" 2>/dev/null; }
# Presses KEY and waits until the cell (X, Y) is drawn anew.
key_then_cell() { # KEY X Y
  paint_and_wait $((16 * $2 + 8)) $((16 * $3 + 8)) 16 key --window "$window" "$1"
}
window_is() { # WIDTHxHEIGHT
  [ "$(xdotool getwindowgeometry "$window" 2>/dev/null | awk '/Geometry/ { print $2 }')" = "$1" ]
}

mkdir -p "$work/levels/replays"
cp "$levels/levels.txt" "$levels/001-morning-walk.txt" "$work/levels/"
cp "$levels/replays/001-morning-walk.replay" "$work/levels/replays/"
sed -i '/^[0-9]/{/^001-/!d}' "$work/levels/levels.txt"

start_xvfb 1920x1080
start_editor --scale 1 mine.txt                          # 1
press 1; drag_cells 0 29 10 29; press 5; click_cell 3 28 # 2
press 1; drag_cells 12 20 24 20; press 4; click_cell 18 19  # 3
wait_for_colour FF2020 $(cell_box 18 19)
press 2; drag_cells 11 29 11 19                          # 4
wait_without_colour FF2020 $(cell_box 18 19)
press 4; click_cell 7 28
press 6; click_cell 24 19                                # 5
key_then_cell x 7 19; key_then_cell x 7 19               # 6: the enemy there and back
press s; drag_cells 0 29 10 29; press ctrl+c             # 7
paint_and_wait 8 $((16 * 31 + 8)) 16 mousemove --window "$window" 8 $((16 * 31 + 8)) key --window "$window" ctrl+v
xdotool click --window "$window" 1
press 0                                                  # 8
paint_and_wait $((16 * 5 + 8)) $((16 * 31 + 8)) 16 mousemove --window "$window" $((16 * 5 + 8)) $((16 * 31 + 8)) \
  key --window "$window" b
press_shown u; press_shown Escape
press z                                                  # 9
check_soon "Z zooms in as far as the screen allows" window_is 1536x1040
wait_for_drawing $((32 * 5)) $((32 * 29)) 32 32          # the floor, drawn twice as large
press shift+z
check_soon "Shift+Z zooms out" window_is 768x520
press t; type_text "My level"; press Return              # 10
press p                                                  # 11
wait_for_colour 445566 513 4 128 12
hold_to_leave Escape
wait_for_colour FF4040 512 472 256 48                    # "Played from the start: ..."
press v                                                  # 12
wait_for_colour 40FF40 512 120 256 200                   # "Proof: Cleared"
press ctrl+s                                             # 13
wait_for_file "$work/mine.replay"
check "mine.txt saved" grep -q '^title: My level$' "$work/mine.txt"
check "the tools left the level as drawn" test "$(sed -n 31p "$work/mine.txt") $(sed -n 33p "$work/mine.txt")" = \
  "###########H$(printf '.%.0s' $(seq 20)) $(printf '.%.0s' $(seq 32))"
check "its proof beside it clears it" "$replay_run" --assets "$run_dir/assets.dat" "$work/mine.replay"

press ctrl+shift+s; press ctrl+u                         # to ship it
type_text "levels/058-my-level.txt"; press Return
wait_for_file "$work/levels/058-my-level.txt"
press ctrl+s
wait_for_file "$work/levels/replays/058-my-level.replay"
check "the shipped proof in replays/ clears it" \
  "$replay_run" --assets "$run_dir/assets.dat" "$work/levels/replays/058-my-level.replay"
press ctrl+o; press ctrl+u; type_text "levels/levels.txt"; press Return
wait_for_colour 40FF40 4 18 440 12                       # the first level, proven
press a; type_text "058"; press Tab; press Return
press ctrl+s
list_takes_it() {
  [ "$(grep -v '^#' "$work/levels/levels.txt" | grep .)" = "$(printf '001-morning-walk.txt\n058-my-level.txt')" ]
}
check_soon "the list takes it after the chosen level" list_takes_it
press Escape
wait_exit
check "exit status 0" test "$exit_status" = 0
