#!/usr/bin/env bash
# A new level set made from nothing through the real window: Ctrl+Shift+N
# asks for the list, whose folder the prompt makes; three levels added, one
# clearable (drawn first, then saved into the set's folder under a name
# made of its title), one whose gold no way reaches, one never drawn; Prove all
# proves the first, and lists the other two as failed, in red; the saved
# list leaves out the level never drawn.
source "$(dirname "$0")/lib.sh"
export MQ_GAME_TIMEOUT=${MQ_GAME_TIMEOUT:-180}
panel_facts="512 30 256 60"

type_path() { # TEXT: typed after the folder the prompt offers, then Enter
  xdotool type --window "$window" --delay 30 "$1" 2>/dev/null
  press Return
}

# Adds a level to the set and draws a floor with the player on it.
add_level() { # NAME
  press a
  type_path "$1"
  press 1; drag_cells 2 20 12 20
  press 5; click_cell 3 19
}

start_xvfb
start_editor --scale 1 scratch.txt
press ctrl+shift+n
type_path sets/                          # not there yet: made, and entered
wait_until "the prompt made no folder" test -d "$work/sets"
echo "ok: the file prompt makes a folder"
xdotool type --window "$window" --delay 30 "mine.txt" 2>/dev/null
press Return

press ctrl+n                             # a new level for the set, drawn first
press 1; drag_cells 2 20 12 20
press 5; click_cell 3 19
press 4; click_cell 10 19
press t
xdotool type --window "$window" --delay 30 "Good one" 2>/dev/null
press Return
press ctrl+s                             # offers the set's folder and a name of the title
press Return
wait_for_file "$work/sets/good-one.txt"
press Escape

add_level bad.txt
press 1
xdotool keydown --window "$window" shift 2>/dev/null
drag_cells 20 2 24 6
xdotool keyup --window "$window" shift 2>/dev/null
press 4; click_cell 22 4                 # sealed in brick: no way reaches it
press ctrl+s
wait_for_file "$work/sets/bad.txt"
press Escape

press a
type_path never.txt
press Escape                             # back to the set, never drawn

press v
wait_for_file "$work/sets/good-one.replay"
wait_for_colour FF4040 $panel_facts      # "Proven 1 of 3, 2 failed:" and each reason
check "the failed proofs saved nothing" test ! -e "$work/sets/bad.replay"
press ctrl+s
printf '%s\n' good-one.txt bad.txt >"$work/expected.txt"
check_soon "the list leaves out the level never drawn" cmp -s "$work/sets/mine.txt" "$work/expected.txt"
press_shown Escape
wait_exit
check "exit status 0" test "$exit_status" = 0
