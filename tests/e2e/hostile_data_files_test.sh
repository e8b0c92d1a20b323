#!/usr/bin/env bash
# assets.dat and maps.bin as a broken download leaves them: cut in half, cut
# inside a record, or a folder in their place. Each gives a clear outcome
# with no crash: a message box and the documented exit status, or a game
# that plays.
source "$(dirname "$0")/lib.sh"
source "$here/hostile_files.sh"

start_xvfb

# Runs $work/case, expects a message box and an exit status.
expect_message() { # MESSAGE STATUS
  local saved_work=$work
  work=$work/case
  start_game
  read_message
  local text=$message_text
  dismiss_message
  wait_exit
  work=$saved_work
  check "message '$1'" test "$text" = "$1"
  check "exit status $2 after '$1'" test "$exit_status" = "$2"
}

assets_size=$(stat -c %s "$run_dir/assets.dat")

fresh_case
head -c $((assets_size / 2)) "$run_dir/assets.dat" >"$work/case/assets.dat"
expect_message "assets.dat not found." 0
check "no user.bin written" test ! -e "$work/case/user.bin"

fresh_case
head -c $((assets_size - 1)) "$run_dir/assets.dat" >"$work/case/assets.dat"
expect_message "assets.dat not found." 0

fresh_case
rm "$work/case/assets.dat"
mkdir "$work/case/assets.dat"
expect_message "assets.dat not found." 0

# A folder is no level file: the same as none.
fresh_case
rm "$work/case/maps.bin"
mkdir "$work/case/maps.bin"
expect_message "maps.bin not found!" 1

# maps.bin cut inside its second record, on a byte without a PlayerStart:
# the rest of the record repeats that byte, the game loads two levels and
# plays.
fresh_case
python3 - "$run_dir/maps.bin" "$work/case/maps.bin" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read()[:512 + 300])
assert any(b >> 4 == 5 or b & 15 == 5 for b in data[512:]), "the cut record keeps its start"
data[-1] = 0x11
open(sys.argv[2], "wb").write(data)
PY
start_case
menu_start_game
! title_shown || fail "a game on the cut maps.bin did not start"
echo "ok: a game on the cut maps.bin started"
hold_to_leave Escape
wait_for_title
menu_exit
wait_exit
check "exit status 0 after playing a cut maps.bin" test "$exit_status" = 0

# The same cut on a PlayerStart byte: every missing record would hold a
# start, no record ends the list, and the file is refused.
fresh_case
python3 - "$run_dir/maps.bin" "$work/case/maps.bin" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read()[:512 + 300])
data[-1] = 0x05
open(sys.argv[2], "wb").write(data)
PY
expect_message "Invalid map file." 1
