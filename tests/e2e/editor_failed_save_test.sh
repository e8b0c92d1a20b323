#!/usr/bin/env bash
# Saves that fail, as a user who is not root: a level in a read-only folder,
# and a read-only level in a folder open to writing, which root, who could
# write it, leaves alone too.
# The message says so in full, the file keeps its old text, and the level
# stays in the editor unsaved, so quitting still asks; Save as then keeps
# every edit in a file elsewhere. A level behind a folder the user may not
# search is refused, not taken for a new one. A play-test that cannot start
# for want of a scratch folder says why and loses nothing.
source "$(dirname "$0")/lib.sh"

user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
chmod 755 "$work"
# The build may lie where only root can look (a checkout in /root): that
# user runs a copy of the editor with the assets.dat it reads beside it.
mkdir "$work/bin"
cp "$game_binary" "$run_dir/assets.dat" "$work/bin/"
chmod -R a+rX "$work/bin"
game_binary=$work/bin/$(basename "$game_binary")

fail_to_save() { # FOLDER_MODE FILE_MODE [root]
  local folder=$work/f$1$2${3:-} wrapper="${user[*]}"
  [ "${3:-}" = root ] && wrapper=
  mkdir "$folder"
  cp "$(first_level)" "$folder/level.txt"
  cp "$folder/level.txt" "$work/before.txt"
  chown -R nobody "$folder"
  chmod "$1" "$folder"
  chmod "$2" "$folder/level.txt"
  MQ_GAME_WRAPPER="$wrapper" start_editor "$folder/level.txt"
  press 1
  xdotool mousemove --window "$window" 8 8 click 1 2>/dev/null
  press ctrl+s
  wait_for_colour FF4040 512 472 256 48   # the message
  check "folder $1, file $2: the level file untouched" cmp "$folder/level.txt" "$work/before.txt"
  press Escape
  sleep 0.3
  check "folder $1, file $2: still unsaved, so quitting asks" kill -0 "$game_pid"
  press Escape                       # back to the drawing, and Save as
  press ctrl+shift+s; press ctrl+u
  xdotool type --window "$window" --delay 20 "$work/out/saved$1$2${3:-}.txt" 2>/dev/null
  press Return
  for _ in $(seq 100); do [ -s "$work/out/saved$1$2${3:-}.txt" ] && break; sleep 0.1; done
  check "folder $1, file $2: Save as keeps every edit" python3 - "$work/before.txt" "$work/out/saved$1$2${3:-}.txt" <<'PY'
import sys
before, saved = (open(name).read().splitlines() for name in sys.argv[1:])
before[-32] = "#" + before[-32][1:]     # the brick painted at (0, 0)
sys.exit(before != saved)
PY
  press Escape
  wait_exit
  check "exit status 0, nothing left unsaved" test "$exit_status" = 0
}

mkdir -m 777 "$work/out"
start_xvfb
fail_to_save 555 644
fail_to_save 755 444
[ "$(id -u)" = 0 ] && fail_to_save 755 444 root

mkdir "$work/closed"
cp "$work/before.txt" "$work/closed/level.txt"
chmod 700 "$work/closed"
MQ_GAME_WRAPPER="${user[*]}" start_game "$work/closed/level.txt"
read_message
check "the closed folder's message" test "$message_text" = "$work/closed/level.txt: cannot be read: Permission denied"
dismiss_message
wait_exit
check "exit status 1" test "$exit_status" = 1

# No scratch folder can be made for the play-test (a full or closed scratch
# disk): the message says why, the editor goes on, and the drawing, with the
# ladder painted before, is saved whole; no scratch folder is left behind.
mkdir -m 777 "$work/fplay" "$work/scratch"
cp "$work/before.txt" "$work/fplay/level.txt"
chmod 666 "$work/fplay/level.txt"
export TMPDIR=$work/scratch
MQ_GAME_WRAPPER="${user[*]}" start_editor "$work/fplay/level.txt"
unset TMPDIR
chmod 555 "$work/scratch"
press 2
xdotool mousemove --window "$window" 24 24 click 1 2>/dev/null
press p
wait_for_colour FF4040 512 472 256 48   # the message
check "the editor goes on when a play-test cannot start" kill -0 "$game_pid"
chmod 777 "$work/scratch"
press ctrl+s
ladder_saved() { [ "$(tail -n 32 "$work/fplay/level.txt" | sed -n 2p | cut -c2)" = H ]; }
for _ in $(seq 100); do ladder_saved && break; sleep 0.1; done
check "the drawing is saved whole after it" ladder_saved
press Escape
wait_exit
check "exit status 0 after the play-test that could not start" test "$exit_status" = 0
check "no scratch folder left" test -z "$(ls -A "$work/scratch")"
