#!/usr/bin/env bash
# The shipped game's title screen and a busy level in play (ladders, ropes,
# four enemies and a hole the player has just dug), as the README shows them.
# With MQ_SCREENSHOT_DIR set, the pictures are saved there (docs/title.png
# and docs/play.png are made this way).
source "$(dirname "$0")/lib.sh"

busy_level=$here/../../levels/038-lattice.txt
# Lattice's player starts on the floor at cell (15, 29); J digs (14, 30).
hole_x=224
hole_y=480

cp "$run_dir/assets.dat" "$work/"
cp "$busy_level" "$work/busy.txt"
make_maps busy.txt
start_xvfb
start_to_title
screenshot title
check "the default table's best score" test "$(python3 "$here/pixels.py" "$work/title.ppm" count FFFFFF 128 104 249 1)" = 249

menu_start_game
wait_for_drawing 0 440 512 72
# The hole refills a second after it is dug: dig until a picture shows it open.
dug=no
for _ in $(seq 20); do
  tap j
  screenshot play
  if [ "$(python3 "$here/pixels.py" "$work/play.ppm" count 000000 $hole_x $hole_y 16 16)" = 256 ]; then
    dug=yes
    break
  fi
done
check "a dug hole beside the player" test "$dug" = yes
check "the level fills the field" python3 "$here/pixels.py" "$work/play.ppm" lit 0 0 512 512
check "the status line shows the score" python3 "$here/pixels.py" "$work/play.ppm" lit 0 513 80 12
check "two spare lives" test "$(python3 "$here/pixels.py" "$work/play.ppm" count 000000 480 512 32 16)" -lt 512

if [ -n "${MQ_SCREENSHOT_DIR:-}" ]; then
  cp "$work/title.png" "$MQ_SCREENSHOT_DIR/title.png"
  cp "$work/play.png" "$MQ_SCREENSHOT_DIR/play.png"
fi

hold Escape 0.1
sleep 0.5
hold Down 0.05; sleep 0.3
hold Down 0.05; sleep 0.3
hold j 0.05
wait_exit
check "exit status 0" test "$exit_status" = 0
