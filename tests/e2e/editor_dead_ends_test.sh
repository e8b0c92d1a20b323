#!/usr/bin/env bash
# The editor finds the dead ends of the level as it stands without being
# asked, while it takes keys: the old Skyline's slot at the left edge is
# framed in the trap colour and counted in the panel; D shows the way into
# it and gives the window back; closing the slot with a ladder takes the
# frame away.
source "$(dirname "$0")/lib.sh"

trap_colour=00E0FF
slot="0 448 16 16"          # cell (0, 28)
panel="513 0 254 460"

start_xvfb 1600x1200
cp "$here/../analysis/levels/old-skyline.txt" "$work/skyline.txt"
start_editor --scale 1 skyline.txt

wait_for_colour $trap_colour $slot
check "the panel counts the trap" wait_for_colour $trap_colour $panel

press d
wait_for_colour 445566 513 4 128 12      # the game's score atop the panel: the way is shown
wait_for_colour $trap_colour $slot       # and the drawing is back, framed as before

press 2                                  # a ladder out of the slot
xdotool mousemove --window "$window" 8 $((16 * 28 + 8)) click 1 2>/dev/null
xdotool mousemove --window "$window" 8 $((16 * 27 + 8)) click 1 2>/dev/null
for _ in $(seq 100); do
  screenshot closed
  [ "$(python3 "$here/pixels.py" "$work/closed.ppm" count $trap_colour $slot)" -eq 0 ] && break
  sleep 0.1
done
check "a ladder out of the slot takes the trap away" \
  test "$(python3 "$here/pixels.py" "$work/closed.ppm" count $trap_colour $slot)" -eq 0

press Escape
press n
wait_exit
check "the editor closes" test "$exit_status" = 0
