#!/usr/bin/env bash
# A start on an X server with every client slot taken waits for one to come
# free instead of ending as if there were no desktop; once up, the library's
# kill keys (Ctrl+Alt+End) no longer end the game, whose high scores would
# go unsaved: only the menu's Exit does, with status 0.
source "$(dirname "$0")/lib.sh"

cp "$run_dir/assets.dat" "$run_dir/maps.bin" "$work/"
: >"$work/display.txt"
Xvfb -displayfd 1 -maxclients 64 -screen 0 1024x768x24 -nolisten tcp >"$work/display.txt" 2>/dev/null &
xvfb_pid=$!
wait_until "Xvfb did not start" test -s "$work/display.txt"
export DISPLAY=:$(cat "$work/display.txt")

# Each holder keeps a connection open while it waits for a window that never
# comes; holders are added until the server turns a new client away.
holders=()
full() {
  xdotool getmouselocation >/dev/null 2>&1 || return 0
  xdotool search --sync --name "no such window $$" >/dev/null 2>&1 &
  holders+=($!)
  return 1
}
wait_until "the server never filled up" full
start_game
wait_until "the game did not try the busy server" grep -q "trying again" "$work/game.err"
kill "${holders[@]}"
wait_window
wait_for_drawing 196 32 120 12
wait_updates 20
check "the game started once a slot came free" kill -0 "$game_pid"

xdotool key --window "$window" ctrl+alt+End
# The menu still answers after the kill keys: Exit ends the game, with its status.
menu_exit
wait_exit
check "Ctrl+Alt+End left the game running; Exit ended it with status 0" test "$exit_status" = 0
check "the high scores were saved" test -s "$work/user.bin"
