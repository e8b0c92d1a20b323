#!/usr/bin/env bash
# A first run as a player meets it: the window, its title and a drawn title
# screen; Exit from the menu ends the program with status 0 and writes the
# default high-score table.
source "$(dirname "$0")/lib.sh"

cp "$run_dir/assets.dat" "$run_dir/maps.bin" "$work/"
start_xvfb
start_to_title

check "window is 512 by 528" test "$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')" = 512x528
check "window title" test "$(xdotool getwindowname "$window")" = "Mellow Quarrier"
screenshot title
check "high-score box frame" test "$(pixel title 128 104)" = FFFFFF
check "version text" test "$(python3 "$here/pixels.py" "$work/title.ppm" count 888888 480 512 32 14)" -gt 0

menu_exit
wait_exit
check "exit status 0 after Exit" test "$exit_status" = 0
check "user.bin written with 250 bytes" test "$(stat -c %s "$work/user.bin")" = 250
table_bytes "${default_rows[@]}" >"$work/expected.bin"
check "the default table, byte for byte" cmp "$work/user.bin" "$work/expected.bin"

# Without a sound device (no sound settings in HOME, and none on this
# machine) the game plays silent after one plain line, none of the sound
# library's own errors.
if [ ! -e /dev/snd ]; then
  rm "$work/home/.asoundrc"
  silent_device=no
  start_to_title
  menu_exit
  wait_exit
  check "no sound device: one plain line on standard error" \
    test "$(cat "$work/game.err")" = "The game found no sound device and plays without sound."
fi
