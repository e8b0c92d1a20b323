#!/usr/bin/env bash
# user.bin as players share it: a name entered just before the game is
# killed, two copies of the game in one folder, and a read-only folder with
# a writable user.bin, played by an ordinary user. Every name entered is in
# user.bin afterwards.
source "$(dirname "$0")/lib.sh"
source "$here/hostile_files.sh"

start_xvfb

# A table of ten rows of 0 points: a game left at once qualifies.
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

# Killed right after the name entry: the name was saved with it.
fresh_case
zero_table
start_case
play_and_name Kim
pkill -KILL -P "$game_pid"
wait_exit
check "a name entered before a kill is kept" holds_name Kim

# Two copies in one folder, each entering a name, the first leaving first.
fresh_case
zero_table
start_case
first_pid=$game_pid first_window=$window
start_case_again() {
  start_in_case
  for _ in $(seq 150); do
    window=$(xdotool search --onlyvisible --class '^MellowQuarrier$' | grep -vx "$first_window" | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || fail "no second game window"
  # Side by side, so that each window's screenshots show its own picture.
  xdotool windowmove "$first_window" 0 0 windowmove "$window" 512 0
  wait_for_title
}
start_case_again
second_pid=$game_pid second_window=$window
window=$first_window
play_and_name Ann
window=$second_window
play_and_name Bob
window=$first_window game_pid=$first_pid
xdotool mousemove --window "$window" 256 264
menu_exit
wait_exit
check "the first copy ends with status 0" test "$exit_status" = 0
window=$second_window game_pid=$second_pid
xdotool mousemove --window "$window" 256 264
menu_exit
wait_exit
check "the second copy ends with status 0" test "$exit_status" = 0
check "the first copy's name survives the second's exit" holds_name Ann
check "the second copy's name is there too" holds_name Bob

# A folder the player cannot write to, with a user.bin he can: the file is
# written in place. Root writes anywhere, so the game runs as nobody.
fresh_case
zero_table
chmod 666 "$work/case/user.bin"
chmod 555 "$work/case"
chmod 755 "$work"
if [ "$(id -u)" = 0 ]; then
  export MQ_GAME_WRAPPER="setpriv --reuid=65534 --regid=65534 --clear-groups"
fi
MQ_GAME_TIMEOUT=30 start_case
play_and_name Nob
menu_exit
wait_exit
unset MQ_GAME_WRAPPER
check "no save error in a read-only folder (status $exit_status)" test "$exit_status" = 0
check "the name is written into the shared file" holds_name Nob
check "no file left beside user.bin" test -z "$(find "$work/case" -name 'user.bin?*')"
chmod 755 "$work/case"
