#!/usr/bin/env bash
# user.bin as players share it: a name entered just before the game is
# killed, two copies of the game in one folder, a read-only folder with a
# writable user.bin, hard links, a sticky folder open to all and a folder
# shared by a group, played by ordinary users. Every name entered is in
# user.bin afterwards.
source "$(dirname "$0")/lib.sh"
source "$here/hostile_files.sh"

start_xvfb

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
first_pid=$game_pid first_window=$window first_frames=$frames_file
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
second_pid=$game_pid second_window=$window second_frames=$frames_file
window=$first_window game_pid=$first_pid frames_file=$first_frames
play_and_name Ann
window=$second_window game_pid=$second_pid frames_file=$second_frames
play_and_name Bob
window=$first_window game_pid=$first_pid frames_file=$first_frames
xdotool mousemove --window "$window" 256 264
menu_exit
wait_exit
check "the first copy ends with status 0" test "$exit_status" = 0
window=$second_window game_pid=$second_pid frames_file=$second_frames
xdotool mousemove --window "$window" 256 264
menu_exit
wait_exit
check "the second copy ends with status 0" test "$exit_status" = 0
check "the first copy's name survives the second's exit" holds_name Ann
check "the second copy's name is there too" holds_name Bob

# A folder the player cannot write to, with a user.bin he can: the file is
# written in place. Root writes anywhere, so the game runs as nobody.
# One game as the user UID of group GID (and of GROUPS, if given), with a
# name entered; root plays as given.
play_as() { # UID GID GROUPS NAME
  if [ "$(id -u)" = 0 ]; then
    local groups=--clear-groups
    [ -n "$3" ] && groups=--groups=$3
    export MQ_GAME_WRAPPER="setpriv --reuid=$1 --regid=$2 $groups"
  fi
  MQ_GAME_TIMEOUT=30 start_case
  play_and_name "$4"
  menu_exit
  wait_exit
  unset MQ_GAME_WRAPPER
}

fresh_case
zero_table
chmod 666 "$work/case/user.bin"
chmod 555 "$work/case"
chmod 755 "$work"
play_as 65534 65534 "" Nob
check "no save error in a read-only folder (status $exit_status)" test "$exit_status" = 0
check "the name is written into the shared file" holds_name Nob
check "no file left beside user.bin" test -z "$(find "$work/case" -name 'user.bin?*')"
chmod 755 "$work/case"

# Two players' folders holding user.bin as hard links to one file: the
# other folder sees the new name too.
fresh_case
zero_table
mkdir -p "$work/other"
ln -f "$work/case/user.bin" "$work/other/user.bin"
start_case
play_and_name Lnk
menu_exit
wait_exit
check "the other hard link holds the name (status $exit_status)" grep -q Lnk "$work/other/user.bin"
check "the two links are still one file" test "$(stat -c %h "$work/case/user.bin")" = 2

# The rest needs players other than the one running the test.
[ "$(id -u)" = 0 ] || exit 0

# A sticky folder open to all, as /tmp: user.bin, writable by all, belongs
# to another player, so the rename over it is refused.
fresh_case
zero_table
chown 65533 "$work/case/user.bin"
chmod 666 "$work/case/user.bin"
chmod 1777 "$work/case"
play_as 65534 65534 "" Stk
check "no save error in a sticky folder (status $exit_status)" test "$exit_status" = 0
check "the name is in the sticky folder's table" holds_name Stk
check "the table still belongs to its owner" test "$(stat -c %u "$work/case/user.bin")" = 65533

# A folder shared by the group 60: two players of the group save in turn.
fresh_case
zero_table
chgrp 60 "$work/case"
chmod 775 "$work/case"
chown 65533:60 "$work/case/user.bin"
chmod 664 "$work/case/user.bin"
play_as 65534 65534 60 Gra
check "the first of the group saves (status $exit_status)" test "$exit_status" = 0
play_as 65532 65532 60 Grb
check "the second of the group saves (status $exit_status)" test "$exit_status" = 0
check "both names are in the group's table" eval 'holds_name Gra && holds_name Grb'
check "the table keeps its group and mode" test "$(stat -c %g:%a "$work/case/user.bin")" = 60:664
