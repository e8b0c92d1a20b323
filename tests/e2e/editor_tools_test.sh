#!/usr/bin/env bash
# The drawing tools through the real window: B fills the region under the
# pointer, X mirrors the whole level (starts included), S selects a
# rectangle that M lifts and a click puts down elsewhere, Ctrl+C and Ctrl+V
# paste a copy; each result saved and compared cell for cell with the same
# operations done on a plain grid. Then a --scale too large for the screen.
source "$(dirname "$0")/lib.sh"
# Every step screenshots the window: on a busy machine the whole run is long.
export MQ_GAME_TIMEOUT=${MQ_GAME_TIMEOUT:-180}

# The level the steps must give: the operations of the steps on a grid.
expected_level() { # OPERATION...
  python3 - "$@" <<'PY'
import sys
g = [["."] * 32 for _ in range(32)]
def fill(x, y, k):
    old = g[y][x]
    todo = [(x, y)]
    while todo:
        x, y = todo.pop()
        if 0 <= x < 32 and 0 <= y < 32 and g[y][x] == old and old != k:
            g[y][x] = k
            todo += [(x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)]
for op in sys.argv[1:]:
    name, *a = op.split(":")
    if name == "rect":
        x1, y1, x2, y2, k = int(a[0]), int(a[1]), int(a[2]), int(a[3]), a[4]
        for y in range(y1, y2 + 1):
            for x in range(x1, x2 + 1):
                g[y][x] = k
    elif name == "fill":
        fill(int(a[0]), int(a[1]), a[2])
    elif name == "mirror":
        g = [row[::-1] for row in g]
    elif name == "copy":   # x1 y1 x2 y2 to_x to_y [move]
        x1, y1, x2, y2, tx, ty = map(int, a[:6])
        block = [row[x1:x2 + 1] for row in g[y1:y2 + 1]]
        if len(a) > 6:
            for y in range(y1, y2 + 1):
                for x in range(x1, x2 + 1):
                    g[y][x] = "."
        for dy, row in enumerate(block):
            for dx, c in enumerate(row):
                g[ty + dy][tx + dx] = c
print("title: Untitled")
for row in g:
    print("".join(row))
PY
}

# Points at the cell and presses the key, then waits until the cell at
# (X2, Y2) is drawn anew.
key_at() { # X Y KEY X2 Y2
  paint_and_wait $((16 * $4 + 8)) $((16 * $5 + 8)) 16 mousemove --window "$window" $((16 * $1 + 8)) $((16 * $2 + 8)) \
    key --window "$window" "$3"
}
saved_as_expected() { # WHAT OPERATION...
  local what=$1
  shift
  expected_level "$@" >"$work/expected.txt"
  press ctrl+s
  check_soon "$what" cmp -s "$work/tools.txt" "$work/expected.txt"
}

start_xvfb
start_editor --scale 1 tools.txt
steps=(rect:2:20:12:20:'#' rect:3:19:3:19:P)
press 1; drag_cells 2 20 12 20
press 5; click_cell 3 19
press 1
xdotool keydown --window "$window" shift 2>/dev/null
drag_cells 20 10 24 14
xdotool keyup --window "$window" shift 2>/dev/null
press 2; click_cell 22 12                  # a ladder in the block's middle
steps+=(rect:20:10:24:14:'#' rect:22:12:22:12:H)
press 4; key_at 20 10 b 24 14              # gold over the block's bricks, round the ladder
steps+=(fill:20:10:'$')
saved_as_expected "B fills the bricks joined side by side, not the ladder" "${steps[@]}"

key_at 0 0 x 28 19                         # the player moves from (3, 19) to (28, 19)
steps+=(mirror)
saved_as_expected "X mirrors the whole level, the start with it" "${steps[@]}"

press s
drag_cells 7 10 11 14                      # the block, now at columns 7 to 11
# Lifted by its middle cell, the block floats under the pointer to (9, 2).
paint_and_wait $((16 * 9 + 8)) $((16 * 2 + 8)) 16 mousemove --window "$window" $((16 * 9 + 8)) $((16 * 12 + 8)) \
  key --window "$window" m mousemove --window "$window" $((16 * 9 + 8)) $((16 * 2 + 8))
xdotool click --window "$window" 1        # puts it down: its middle at (9, 2)
steps+=(copy:7:10:11:14:7:0:move)
saved_as_expected "M moves the selection where the click puts it" "${steps[@]}"

press ctrl+c
key_at 25 2 ctrl+v 25 2                    # the copy floats with its corner at the pointer
xdotool click --window "$window" 1
steps+=(copy:7:0:11:4:25:2)
saved_as_expected "Ctrl+V pastes the copy where the click puts it" "${steps[@]}"

press Escape                               # lets go of the selection
press_shown Escape
wait_exit
check "exit status 0" test "$exit_status" = 0

# A scale too large for the 1024 by 768 screen: the largest that fits, said.
start_game --scale 3 small.txt
wait_window
wait_for_drawing 512 0 192 40
check "--scale 3 falls back to 1, with a line on standard error" grep -q -- "--scale 3 needs a window of 2304 by 1560.*scale 1 instead" "$work/game.err"
press_shown Escape
wait_exit
