#!/usr/bin/env bash
# Levels from a pack off the internet that no level designer would make: one
# whose every cell but the start is an enemy start (1023 enemies), and one
# whose start is walled in with bricks. The game neither crashes nor hangs:
# it keeps answering the keys, Escape (or the last life lost) ends the game,
# a qualifying score is named, the title comes back, and Exit ends the
# program with status 0.
#
# Without gold, the crowd's level is cleared in every update, so its time
# bonus piles up and each update builds 1023 enemies anew; with one piece of
# gold the crowd stays and moves.
source "$(dirname "$0")/lib.sh"
source "$here/hostile_files.sh"

start_xvfb
# An update of the crowd's level takes many times the nominal 10 ms on a
# loaded machine, so the game gets longer than usual before it counts as hung.
export MQ_GAME_TIMEOUT=${MQ_GAME_TIMEOUT:-180}

name_entry_or_title() { name_entry_shown || title_shown; }

# Starts a game on the case's level, holds KEYS for a while, then leaves.
play_and_leave() { # NAME KEY...
  local name=$1
  shift
  start_case
  menu_start_game
  for key_name in "$@"; do
    tap "$key_name"
  done
  screenshot "$name-in-play"
  hold_to_leave Escape
  # A name entry, if the score qualifies; the title ignores these keys.
  wait_until "neither a name entry nor the title came after $name" name_entry_or_title
  xdotool type --window "$window" --delay 60 ZED
  xdotool key --window "$window" Return
  wait_for_title
  echo "ok: the title came back after $name"
  menu_exit
  wait_exit
  check "exit status 0 after $name" test "$exit_status" = 0
  check "user.bin written after $name" test "$(stat -c %s "$work/case/user.bin")" = 250
}

fresh_case
level_rows "$work/crowd.txt" E 16,31,P
maps_bin_bytes "$work/crowd.txt" >"$work/case/maps.bin"
play_and_leave "1023 enemies" Left j Right k Up Down
check "the crowd's cleared levels named in the table" test "$(head -c 3 "$work/case/user.bin")" = ZED

fresh_case
level_rows "$work/crowd_with_gold.txt" E 16,31,P 0,0,$
maps_bin_bytes "$work/crowd_with_gold.txt" >"$work/case/maps.bin"
play_and_leave "1022 enemies and one gold" Left j Right k Up Down

fresh_case
level_rows "$work/walled.txt" . 15,15,# 16,15,# 17,15,# 15,16,# 16,16,P 17,16,# 15,17,# 16,17,# 17,17,# 3,30,$ 28,30,E
maps_bin_bytes "$work/walled.txt" >"$work/case/maps.bin"
play_and_leave "a walled-in start" j k Left Right Up Down j
