#!/usr/bin/env bash
# user.bin as an older copy or a broken disk leaves it: cut short, names
# that fill their fields, scores of 2^63 and more, and a folder or a FIFO in
# its place.
# The game starts, shows a table, ends with status 0, and writes back every
# row that it could read.
source "$(dirname "$0")/lib.sh"
source "$here/hostile_files.sh"

start_xvfb

# Starts on $work/case and leaves through the menu; sets exit_status.
start_and_exit() {
  start_case
  menu_exit
  wait_exit
}

defaults=(2500:"Mellow Quarrier" 2250:"Mellow Quarrier" 2000:"Mellow Quarrier" 1750:"Mellow Quarrier"
  1500:"Mellow Quarrier" 1250:"Mellow Quarrier" 1000:"Mellow Quarrier" 750:"Mellow Quarrier"
  500:"Mellow Quarrier" 250:"Mellow Quarrier")

# Cut inside the fifth record: the four whole records stay, the places
# after them get their default rows.
fresh_case
user_bin_bytes 9000:Ada 8000:Bo 7000:Cy 6000:Di 5000:Ed | head -c 110 >"$work/case/user.bin"
start_and_exit
check "exit status 0 with a 110-byte user.bin" test "$exit_status" = 0
user_bin_bytes 9000:Ada 8000:Bo 7000:Cy 6000:Di "${defaults[@]:4}" >"$work/expected.bin"
check "whole records kept, the rest default" cmp "$work/case/user.bin" "$work/expected.bin"

# Names without their zero byte: the first 16 characters are the name.
fresh_case
user_bin_bytes 900:A/17 800:B/17 700:C/17 600:D/17 500:E/17 400:F/17 300:G/17 200:H/17 100:I/17 50:J/17 \
  >"$work/case/user.bin"
start_and_exit
check "exit status 0 with names that fill their fields" test "$exit_status" = 0
user_bin_bytes 900:AAAAAAAAAAAAAAAA 800:BBBBBBBBBBBBBBBB 700:CCCCCCCCCCCCCCCC 600:DDDDDDDDDDDDDDDD \
  500:EEEEEEEEEEEEEEEE 400:FFFFFFFFFFFFFFFF 300:GGGGGGGGGGGGGGGG 200:HHHHHHHHHHHHHHHH \
  100:IIIIIIIIIIIIIIII 50:JJJJJJJJJJJJJJJJ >"$work/expected.bin"
check "names cut to 16 characters and their zero byte" cmp "$work/case/user.bin" "$work/expected.bin"

# Scores of 2^63 and above: a game of 0 points does not qualify, no name
# is asked for, and every score goes back unchanged.
fresh_case
user_bin_bytes 18446744073709551615:Max 18446744073709551614:Two 17293822569102704640:Fifteen \
  13835058055282163712:Three 9223372036854775809:Odd 9223372036854775808:Half 9223372036854775808:Same \
  9223372036854775808:Again 9223372036854775808:More 9223372036854775808:Last >"$work/case/user.bin"
cp "$work/case/user.bin" "$work/expected.bin"
start_case
menu_start_game
hold_to_leave Escape
wait_for_title
menu_exit
wait_exit
check "exit status 0 with scores of 2^63 and more" test "$exit_status" = 0
check "huge scores written back unchanged" cmp "$work/case/user.bin" "$work/expected.bin"

# A folder named user.bin: the title screen comes, the save fails with
# a message, the program still ends with 0 and the folder keeps its file.
fresh_case
mkdir "$work/case/user.bin"
echo "keep me" >"$work/case/user.bin/inside.txt"
start_case
menu_exit
read_message
dismiss_message
check "save failure reported" test "$message_text" = "Error saving high scores"
wait_exit
check "exit status 0 after the failed save" test "$exit_status" = 0
check "the folder and its file are left alone" test "$(cat "$work/case/user.bin/inside.txt")" = "keep me"
check "no file left behind" test -z "$(find "$work/case" -maxdepth 1 -name 'user.bin?*')"

# A FIFO named user.bin: read as no file, left alone by the save.
fresh_case
mkfifo "$work/case/user.bin"
start_case
menu_exit
read_message
dismiss_message
check "save to a FIFO reported" test "$message_text" = "Error saving high scores"
wait_exit
check "exit status 0 after the FIFO" test "$exit_status" = 0
check "the FIFO is left alone" test -p "$work/case/user.bin"
