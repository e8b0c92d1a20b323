#!/usr/bin/env bash
# Start-up with a missing, unreadable or damaged assets.dat, and with a
# missing or invalid maps.bin: a clear message box, the documented exit
# status, no crash, and user.bin left alone.
source "$(dirname "$0")/lib.sh"

start_xvfb

# Runs the game in a fresh folder prepared by the caller and checks the
# message and the exit status; user.bin must come out as it went in.
expect_message() { # MESSAGE STATUS [no-user-bin]
  local folder=$work/case
  [ "${3:-}" = no-user-bin ] || printf 'keep me' >"$folder/user.bin"
  local saved_work=$work
  work=$folder
  start_game
  read_message
  local text=$message_text
  dismiss_message
  wait_exit
  local status=$exit_status
  work=$saved_work
  check "message '$1'" test "$text" = "$1"
  check "exit status $2 for '$1'" test "$status" = "$2"
  if [ "${3:-}" = no-user-bin ]; then
    check "no user.bin created for '$1'" test ! -e "$folder/user.bin"
  else
    check "user.bin untouched for '$1'" test "$(cat "$folder/user.bin")" = "keep me"
  fi
}

fresh_case() { rm -rf "$work/case"; mkdir -p "$work/case"; }

fresh_case
cp "$run_dir/maps.bin" "$work/case/"
expect_message "assets.dat not found." 0 no-user-bin

fresh_case
cp "$run_dir/maps.bin" "$work/case/"
expect_message "assets.dat not found." 0

fresh_case
cp "$run_dir/maps.bin" "$work/case/"
head -c 1000 "$run_dir/assets.dat" >"$work/case/assets.dat"
expect_message "assets.dat not found." 0

# Datafiles made with the dat tool: a wrong password, too few objects, and a
# bitmap where a sample belongs.
/usr/bin/convert -size 16x16 xc:red "BMP3:$work/red.bmp"
dat_tool() { (cd "$work" && dat -n0 -s1 -c2 -k "$@" >/dev/null); }
for i in $(seq -w 0 17); do cp "$work/red.bmp" "$work/$i.bmp"; done

fresh_case
cp "$run_dir/maps.bin" "$work/case/"
dat_tool -007 wrong case/assets.dat -a -t BMP -bpp 32 00.bmp
expect_message "assets.dat not found." 0

fresh_case
cp "$run_dir/maps.bin" "$work/case/"
dat_tool -007 zoph case/assets.dat -a -t BMP -bpp 32 00.bmp 01.bmp 02.bmp
expect_message "assets.dat is damaged: it holds 3 objects, not 18." 1

fresh_case
cp "$run_dir/maps.bin" "$work/case/"
dat_tool -007 zoph case/assets.dat -a -t BMP -bpp 32 $(cd "$work" && ls [01]?.bmp)
expect_message "assets.dat is damaged: object 11 is not a sample." 1

fresh_case
cp "$run_dir/assets.dat" "$work/case/"
expect_message "maps.bin not found!" 1

fresh_case
cp "$run_dir/assets.dat" "$work/case/"
head -c 512 /dev/zero >"$work/case/maps.bin"
expect_message "Invalid map file." 1

fresh_case
cp "$run_dir/assets.dat" "$work/case/"
: >"$work/case/maps.bin"
expect_message "Invalid map file." 1

# A FIFO in place of a file would block its reader for ever: it counts as
# no file at all.
fresh_case
cp "$run_dir/maps.bin" "$work/case/"
mkfifo "$work/case/assets.dat"
expect_message "assets.dat not found." 0

fresh_case
cp "$run_dir/assets.dat" "$work/case/"
mkfifo "$work/case/maps.bin"
expect_message "maps.bin not found!" 1

# Without a desktop the library cannot start: a message on the terminal and
# status 1, never a crash.
fresh_case
cp "$run_dir/assets.dat" "$run_dir/maps.bin" "$work/case/"
status=0
(cd "$work/case" && env -u DISPLAY timeout -s KILL 20 "$game_binary" >"$work/case/out.txt" 2>/dev/null) || status=$?
check "exit status 1 without a desktop" test "$status" = 1
check "the terminal says why" grep -q "needs a desktop" "$work/case/out.txt"
check "no user.bin without a desktop" test ! -e "$work/case/user.bin"
