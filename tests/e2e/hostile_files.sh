# Steps shared by the hostile-file tests (source after lib.sh): files built
# byte by byte, a game started in a folder of its own, and the title menu
# driven with the keys a player uses.

# Makes $work/case a fresh folder with the run folder's assets.dat and
# maps.bin, for the caller to spoil.
fresh_case() {
  rm -rf "$work/case"
  mkdir -p "$work/case"
  cp "$run_dir/assets.dat" "$run_dir/maps.bin" "$work/case/"
}

# Starts the game in $work/case.
start_in_case() {
  local saved_work=$work
  work=$work/case
  start_game
  work=$saved_work
}

# Starts the game in $work/case and waits for the title screen.
start_case() {
  start_in_case
  wait_window
  wait_for_title
}

# The title screen: the white frame of the high-score box and the grey
# version text, neither of which a level in play puts at those places.
title_shown() {
  screenshot probe
  [ "$(pixel probe 128 104)" = FFFFFF ] && [ "$(pixel probe 375 104)" = FFFFFF ] &&
    [ "$(python3 "$here/pixels.py" "$work/probe.ppm" count 888888 480 512 32 14)" -gt 0 ]
}

# A new menu ignores the keyboard for its first 20 passes, so a key sent at
# once would be lost: the wait ends after them.
wait_for_title() {
  for _ in $(seq 150); do
    title_shown && sleep 0.3 && return 0
    sleep 0.1
  done
  fail "the title screen did not come"
}

# A table of ten rows of 0 points in $work/case: a game left at once
# qualifies.
zero_table() {
  user_bin_bytes 0:Old 0:Old 0:Old 0:Old 0:Old 0:Old 0:Old 0:Old 0:Old 0:Old >"$work/case/user.bin"
}

# From the title of the game in $window: a game of 0 points, then the name.
# The keyboard goes to the window under the pointer.
play_and_name() { # NAME
  xdotool mousemove --window "$window" 256 264
  menu_start_game
  sleep 0.5
  hold Escape 0.1
  sleep 0.5
  xdotool type --window "$window" --delay 60 "$1"
  xdotool key --window "$window" Return
  wait_for_title
}

holds_name() { # NAME
  [ "$(stat -c %s "$work/case/user.bin")" = 250 ] && grep -q "$1" "$work/case/user.bin"
}

# user.bin records, best first, from "SCORE:NAME" words; a name given as
# NAME/17 fills its whole 17-byte field, with no zero byte.
user_bin_bytes() {
  python3 - "$@" <<'PY'
import struct, sys
out = b""
for word in sys.argv[1:]:
    score, name = word.split(":", 1)
    if name.endswith("/17"):
        field = (name[:-3].encode() * 17)[:17]
    else:
        field = name.encode().ljust(17, b"\0")
    out += field + struct.pack("<Q", int(score))
sys.stdout.buffer.write(out)
PY
}

# maps.bin bytes for level files of 32 rows of 32 cell characters
# (. # H - $ P E), followed by the record that ends the list.
maps_bin_bytes() {
  python3 - "$@" <<'PY'
import sys
codes = {c: i for i, c in enumerate(".#H-$PE789abcdef")}
out = b""
for path in sys.argv[1:]:
    rows = [line.rstrip("\n") for line in open(path)]
    assert len(rows) == 32 and all(len(r) == 32 for r in rows), path
    record = bytearray(512)
    for k in range(16):
        for y in range(32):
            record[32 * k + y] = codes[rows[y][2 * k]] << 4 | codes[rows[y][2 * k + 1]]
    out += bytes(record)
sys.stdout.buffer.write(out + bytes(512))
PY
}

# Writes a level file of 32 rows of 32 cells, each row filled with FILL,
# with the cell characters of "X,Y,C" words put over it.
level_rows() { # FILE FILL [X,Y,C ...]
  python3 - "$@" <<'PY'
import sys
path, fill = sys.argv[1], sys.argv[2]
rows = [list(fill * 32) for _ in range(32)]
for word in sys.argv[3:]:
    x, y, c = word.split(",")
    rows[int(y)][int(x)] = c
open(path, "w").write("".join("".join(r) + "\n" for r in rows))
PY
}
