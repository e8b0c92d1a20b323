#!/usr/bin/env bash
# The level editor driven as a person would: a new level drawn with clicks,
# a drag and a rectangle, a title typed (a character the font cannot draw
# refused), saved and compared character for character; undo and redo;
# quitting with unsaved changes asks first; a faulty file is refused with
# the parser's message and status 1; at scale 2 the mouse finds the cell
# under it.
source "$(dirname "$0")/lib.sh"

# The level file the drawing below must give: rows as "ROW:TEXT:COLUMN" edits
# of an empty grid.
expected_level() { # TITLE EDIT...
  python3 - "$@" <<'PY'
import sys
title, edits = sys.argv[1], sys.argv[2:]
rows = [["."] * 32 for _ in range(32)]
for edit in edits:
    row, text, column = edit.split(":")
    for i, c in enumerate(text):
        rows[int(row)][int(column) + i] = c
print("title: " + title)
for row in rows:
    print("".join(row))
PY
}

start_xvfb 1600x1200
bind_keysym eacute
start_editor --scale 1 new.txt

press 1
drag_cells 2 20 12 20             # a floor of eleven bricks
press 5; click_cell 3 19          # the player on it
press 4; click_cell 10 19         # gold at its far end
press 1
xdotool keydown --window "$window" shift 2>/dev/null
drag_cells 14 20 16 22            # a block of nine bricks
xdotool keyup --window "$window" shift 2>/dev/null
click_cell 16 22 3                # the right button empties a cell
press t                           # the typing replaces "Untitled"
xdotool type --window "$window" --delay 50 "Drawn by hand" 2>/dev/null
press eacute                      # not in the game's font: refused at once, in red
wait_for_colour FF4040 512 472 256 48
press Return
expected_level "Drawn by hand" 19:P:3 19:\$:10 20:###########:2 20:###:14 21:###:14 22:##.:14 >"$work/expected.txt"
press ctrl+s
check_soon "the saved level, character for character" cmp -s "$work/new.txt" "$work/expected.txt"

press ctrl+z; press ctrl+z; press ctrl+z   # the title, the right click, the rectangle
expected_level "Untitled" 19:P:3 19:\$:10 20:###########:2 >"$work/expected.txt"
press ctrl+s
check_soon "three steps undone" cmp -s "$work/new.txt" "$work/expected.txt"
press ctrl+y
expected_level "Untitled" 19:P:3 19:\$:10 20:###########:2 20:###:14 21:###:14 22:###:14 >"$work/expected.txt"
press ctrl+s
check_soon "one step redone" cmp -s "$work/new.txt" "$work/expected.txt"

click_cell 0 0
press_shown Escape
check "quitting with unsaved changes asks first" kill -0 "$game_pid"
press n
wait_exit
check "no saves without asking" cmp "$work/new.txt" "$work/expected.txt"
check "exit status 0" test "$exit_status" = 0

head -n 32 "$work/expected.txt" >"$work/short.txt"
cp "$work/short.txt" "$work/short.before"
start_game short.txt
read_message
check "the parser's message" test "$message_text" = "short.txt:33:1: expected 32 rows, found 31"
dismiss_message
wait_exit
check "exit status 1" test "$exit_status" = 1
check "the faulty file untouched" cmp "$work/short.txt" "$work/short.before"

# At scale 2 a cell is 32 pixels: its corner pixels are the cell's.
start_game --scale 2 big.txt
wait_window
wait_for_drawing 1024 0 384 80
press 5; paint_and_wait $((32 * 30 + 31)) $((32 * 31 + 31)) 32 mousemove --window "$window" $((32 * 30 + 31)) $((32 * 31 + 31)) click 1
press 4; paint_and_wait 32 0 32 mousemove --window "$window" 32 0 click 1
press ctrl+s
press Escape
wait_exit
expected_level "Untitled" 31:P:30 0:\$:1 >"$work/expected.txt"
check "at scale 2, cells under the mouse" cmp "$work/big.txt" "$work/expected.txt"
