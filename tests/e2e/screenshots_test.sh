#!/usr/bin/env bash
# The shipped game's title screen and its first level in play, as the README
# shows them. With MQ_SCREENSHOT_DIR set, the pictures are saved there
# (docs/title.png and docs/play.png are made this way).
source "$(dirname "$0")/lib.sh"

cp "$run_dir/assets.dat" "$run_dir/maps.bin" "$work/"
start_xvfb
start_to_title
screenshot title
check "the default table's best score" test "$(python3 "$here/pixels.py" "$work/title.ppm" count FFFFFF 128 104 249 1)" = 249

menu_start_game
hold Right 70
wait_updates 30
screenshot play
check "the level fills the field" python3 "$here/pixels.py" "$work/play.ppm" lit 0 0 512 512
check "the status line shows the score" python3 "$here/pixels.py" "$work/play.ppm" lit 0 513 80 12
check "two spare lives" test "$(python3 "$here/pixels.py" "$work/play.ppm" count 000000 480 512 32 16)" -lt 512

if [ -n "${MQ_SCREENSHOT_DIR:-}" ]; then
  cp "$work/title.png" "$MQ_SCREENSHOT_DIR/title.png"
  cp "$work/play.png" "$MQ_SCREENSHOT_DIR/play.png"
fi

hold_to_leave Escape
wait_for_title
menu_exit
wait_exit
check "exit status 0" test "$exit_status" = 0
