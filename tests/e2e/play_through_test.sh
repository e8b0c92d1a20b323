#!/usr/bin/env bash
# A whole game as a player plays it: start from the menu, take a row of gold
# and clear the level, lose every life to an enemy on the next, type a name
# with a Backspace and a tilde, see the row on the title screen, switch the
# mode to Random and back, leave with Exit, and find the row in user.bin.
source "$(dirname "$0")/lib.sh"

row() { # TEXT: one row, padded with empty cells to 32
  local text=$1
  while [ ${#text} -lt 32 ]; do text+=.; done
  printf '%s\n' "$text"
}
walls() { for _ in $(seq "$1"); do row "################################"; done; }
{
  printf 'title: A row of gold\n'
  walls 29
  row "P\$\$\$\$\$\$\$\$\$\$\$\$\$\$\$\$\$\$\$\$"
  walls 2
} >"$work/gold.txt"
{
  printf 'title: Cornered\n'
  walls 29
  row "PE............................#\$"   # the gold is out of reach
  walls 2
} >"$work/cornered.txt"
make_maps gold.txt cornered.txt
cp "$run_dir/assets.dat" "$work/"

start_xvfb
start_to_title

menu_start_game
screenshot level1
check "the first level is drawn with gold" test "$(pixel level1 $((16 * 5 + 8)) $((16 * 29 + 8)))" != 000000
check "the status line shows the level label" python3 "$here/pixels.py" "$work/level1.ppm" lit 384 513 64 12

# 20 pieces of gold take 320 updates; holding on into the next level only
# runs the player into the far wall, where the enemy catches him all the same.
xdotool keydown --window "$window" Right 2>/dev/null
wait_until "no name entry" name_entry_shown
xdotool keyup --window "$window" Right 2>/dev/null
echo "ok: the name entry shows its cursor"
xdotool type --window "$window" --delay 80 "Zedd"
press BackSpace
press asciitilde
press Return
wait_for_title

screenshot title
check "the new row is drawn in the lowest place" python3 "$here/pixels.py" "$work/title.ppm" lit 240 256 34 12

menu_key Down                    # Mode:
menu_key k
screenshot random
check "the mode reads Random in bright red" test "$(python3 "$here/pixels.py" "$work/random.ppm" count FF0000 208 312 48 12)" -gt 0
menu_key k
menu_key Down                    # Exit
hold_to_leave j
wait_exit
check "exit status 0" test "$exit_status" = 0

score=$(python3 -c "import struct,sys; d=open(sys.argv[1],'rb').read(); print(struct.unpack('<Q', d[9*25+17:9*25+25])[0])" "$work/user.bin")
check "the game scored the gold and a time bonus" test "$score" -gt 300 -a "$score" -lt 321
table_bytes "${default_rows[@]:0:18}" "$score" "Zed~" >"$work/expected.bin"
check "user.bin holds the new row in place 10, byte for byte" cmp "$work/user.bin" "$work/expected.bin"
