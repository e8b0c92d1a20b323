# Shared steps of the end-to-end tests: a private Xvfb, the game started in a
# scratch folder, screenshots, pixel reads and message boxes.
# Usage: source lib.sh GAME_BINARY RUN_DIR LEVELC; every test runs in its own
# scratch folder, $work, which holds copies of assets.dat and maps.bin.
#
# No step sleeps for a guessed time: each waits for what it needs, a window,
# a pixel, a file, a process, or the program's own progress. For that the
# program runs with the frame counter of bench/ preloaded (MQ_FRAME_COUNTER_LIB
# names it), which counts the pictures it presents: the game presents one per
# update, the editor and the name entry one after each input they act on.
set -euo pipefail

game_binary=$1
run_dir=$2
levelc_tool=${3:-}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
convert_tool=/usr/bin/convert
work=$(mktemp -d "${TMPDIR:-/tmp}/mq-e2e-XXXXXX")
xvfb_pid=
game_pid=
window=
# How long a wait may last before the step fails, in seconds.
wait_seconds=${MQ_E2E_WAIT_SECONDS:-60}
frame_counter=
counter_dir=$work/counter
# The counter of the program started last; a test that runs two at once
# switches it with game_pid and window.
frames_file=

# The library's own signal handler can deadlock in its shutdown once the X
# server is gone, so a game that is still running is killed outright.
cleanup() {
  if [ -n "$game_pid" ]; then
    pkill -KILL -P "$game_pid" 2>/dev/null || true
    kill -KILL "$game_pid" 2>/dev/null || true
  fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  if [ "${MQ_KEEP_E2E:-}" = 1 ]; then echo "kept $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

# Compiles level files (paths relative to $work) into $work/maps.bin.
make_maps() {
  printf '%s\n' "$@" >"$work/levels.txt"
  "$levelc_tool" "$work/levels.txt" "$work/maps.bin" >/dev/null
}

# The 250 bytes of a user.bin holding the given rows, best first:
# table_bytes SCORE NAME [SCORE NAME ...]
table_bytes() {
  python3 - "$@" <<'PY'
import struct, sys
args = sys.argv[1:]
out = b""
for score, name in zip(args[0::2], args[1::2]):
    out += name.encode().ljust(17, b"\0") + struct.pack("<Q", int(score))
sys.stdout.buffer.write(out)
PY
}

default_rows=(2500 "Mellow Quarrier" 2250 "Mellow Quarrier" 2000 "Mellow Quarrier" 1750 "Mellow Quarrier"
  1500 "Mellow Quarrier" 1250 "Mellow Quarrier" 1000 "Mellow Quarrier" 750 "Mellow Quarrier"
  500 "Mellow Quarrier" 250 "Mellow Quarrier")

fail() { echo "FAIL: $*" >&2; exit 1; }
check() { local what=$1; shift; "$@" || fail "$what"; echo "ok: $what"; }

start_xvfb() { # [WIDTHxHEIGHT]
  # Emptied here, not by the background job's redirection, which may run
  # after the wait below has read a display number left by an earlier server.
  : >"$work/display.txt"
  Xvfb -displayfd 1 -screen 0 "${1:-1024x768}x24" -nolisten tcp >"$work/display.txt" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 200); do [ -s "$work/display.txt" ] && break; sleep 0.05; done
  [ -s "$work/display.txt" ] || fail "Xvfb did not start"
  export DISPLAY=:$(cat "$work/display.txt")
}

# Gives KEYSYM a key of its own. Without one, xdotool lends it a spare key
# for the moment of the press and takes it back at once; a program that
# reads its events late then looks the key up after it was taken back and
# finds nothing.
bind_keysym() { # KEYSYM
  local spare
  # awk reads the whole table: leaving early would end xmodmap on a broken
  # pipe, which pipefail counts as a failure.
  spare=$(xmodmap -pke | awk 'NF == 3 && $2 > 8 && !spare { spare = $2 } END { print spare }')
  [ -n "$spare" ] || fail "no spare key for $1"
  xmodmap -e "keycode $spare = $1"
}

# Starts the game in $work with a silent sound device, under a time limit,
# with the arguments given. MQ_GAME_WRAPPER, split on blanks, runs the game
# inside another program (valgrind, say) without changing the test.
start_game() {
  mkdir -p "$work/home"
  # silent_device=no leaves the machine's own sound settings (a test of a
  # machine without a sound device).
  if [ "${silent_device:-yes}" = yes ]; then
    printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$work/home/.asoundrc"
  fi
  local wrapper=()
  read -r -a wrapper <<<"${MQ_GAME_WRAPPER:-}"
  if [ -z "$frame_counter" ]; then
    [ -f "${MQ_FRAME_COUNTER_LIB:-}" ] ||
      fail "MQ_FRAME_COUNTER_LIB names no frame counter (build/bench/libmq-frame-counter.so)"
    # A copy in the scratch folder, which a test may open to another user.
    mkdir -p "$counter_dir"
    cp "$MQ_FRAME_COUNTER_LIB" "$counter_dir/"
    chmod -R a+rX "$counter_dir"
    frame_counter=$counter_dir/$(basename "$MQ_FRAME_COUNTER_LIB")
  fi
  # Made beforehand, so that a program run as another user may count into it.
  frames_file=$(mktemp "$counter_dir/frames-XXXXXX")
  chmod 666 "$frames_file"
  (cd "$work" && HOME="$work/home" LD_PRELOAD="$frame_counter" MQ_FRAME_COUNTER_FILE="$frames_file" \
    exec timeout -s KILL "${MQ_GAME_TIMEOUT:-60}" "${wrapper[@]}" "$game_binary" "$@" \
    >"$work/game.out" 2>"$work/game.err") &
  game_pid=$!
}

# The pictures the program has presented so far.
frames() { python3 "$here/frames.py" "$frames_file" count; }

# frames_wait [hold KEY] reach [+]COUNT | pause MS: waits until the program
# has presented COUNT pictures in all (+COUNT: more than now), or has
# presented none for MS milliseconds, holding KEY down meanwhile. Returns 3 when the program ended first; fails
# when the wait lasts too long.
frames_wait() {
  local status=0
  python3 "$here/frames.py" "$frames_file" "$@" "$game_pid" "$wait_seconds" || status=$?
  [ "$status" != 1 ] || fail "waited $wait_seconds s for the program ($*)"
  return "$status"
}

# Waits until the program has run UPDATES more updates (pictures, in play).
wait_updates() { # UPDATES
  frames_wait reach "+$1" || fail "the program ended"
}

# The game's window class is MellowQuarrier, the editor's MellowQuarrierEditor.
wait_window() {
  window=$(timeout 15 xdotool search --sync --onlyvisible --class '^MellowQuarrier' | head -1)
  [ -n "$window" ] || fail "no game window"
  xdotool mousemove --window "$window" 256 264
}

screenshot() { # NAME: writes $work/NAME.png and $work/NAME.ppm
  import -window "$window" "$work/$1.png"
  "$convert_tool" "$work/$1.png" -depth 8 "$work/$1.ppm"
}

pixel() { # SHOT X Y: prints RRGGBB
  python3 "$here/pixels.py" "$work/$1.ppm" pixel "$2" "$3"
}

# Waits until the region X Y W H of the window holds a pixel that is not black.
wait_for_drawing() {
  local x=$1 y=$2 w=$3 h=$4
  for _ in $(seq 100); do
    screenshot wait
    if python3 "$here/pixels.py" "$work/wait.ppm" lit "$x" "$y" "$w" "$h" >/dev/null; then
      return 0
    fi
    sleep 0.1
  done
  fail "nothing was drawn in $w x $h at ($x, $y)"
}

# Waits until the region X Y W H shows the colour RRGGBB somewhere.
wait_for_colour() {
  local colour=$1 x=$2 y=$3 w=$4 h=$5
  for _ in $(seq 100); do
    screenshot wait
    if [ "$(python3 "$here/pixels.py" "$work/wait.ppm" count "$colour" "$x" "$y" "$w" "$h")" -gt 0 ]; then
      return 0
    fi
    sleep 0.1
  done
  fail "no $colour in $w x $h at ($x, $y)"
}

# Holds KEY until the program stops presenting pictures: a key that ends the
# program, or Escape, which ends a game (the game then waits for its
# release) or an editor's play-test. It is let go long before the keyboard
# would repeat it into the editor's keys.
hold_to_leave() { frames_wait hold "$1" pause 200 || true; }

# The title screen: the white frame of the high-score box and the grey
# version text, neither of which a level in play puts at those places.
title_shown() {
  screenshot probe
  [ "$(pixel probe 128 104)" = FFFFFF ] && [ "$(pixel probe 375 104)" = FFFFFF ] &&
    [ "$(python3 "$here/pixels.py" "$work/probe.ppm" count 888888 480 512 32 14)" -gt 0 ]
}

# A new menu ignores the keyboard for its first 20 updates, so a key sent at
# once would be lost: the wait ends after them.
wait_for_title() {
  wait_until "the title screen did not come" title_shown
  wait_updates 20
}

# The cursor of the name entry, after a game whose score takes a place.
name_entry_shown() {
  screenshot probe
  [ "$(python3 "$here/pixels.py" "$work/probe.ppm" count FF5500 64 256 8 12)" -gt 0 ]
}

# Holds KEY down while the game runs UPDATES updates (the key may end it).
# Keys go to the window under the pointer.
hold() { frames_wait hold "$1" reach "+$2" || true; }
tap() { hold "$1" 8; }

# Starts the game in its window and waits until the title screen is drawn
# and its menu takes keys (a new menu ignores its first 20 updates).
start_to_title() {
  start_game "$@"
  wait_window
  wait_for_drawing 196 32 120 12
  wait_updates 20
}

# The menu reads held keys once per update and ignores them for 15 updates
# after one it took: a key is held for 5 updates, then the menu is left its 15.
menu_key() { hold "$1" 5; wait_updates 16; }
# The level's status line ("Level 1"), which the title screen leaves black.
wait_for_play() { wait_for_drawing 384 513 56 12; }
# Start game pauses the menu for half a second before play begins; J is let
# go within that pause, so that play never finds it held (J digs).
menu_start_game() {
  frames_wait hold j pause 200 || true
  wait_for_play
}
menu_exit() { menu_key Down; menu_key Down; hold_to_leave j; }

# Starts the level editor with the arguments given and waits for its palette.
start_editor() {
  start_game "$@"
  wait_window
  wait_for_drawing 512 0 192 40
}

# Clicks on the editor's cell (X, Y) at scale 1 with a mouse button (1 by
# default), or drags from one cell to another, and waits until the editor has
# drawn the last cell anew.
click_cell() { # X Y [BUTTON]
  local x=$((16 * $1 + 8)) y=$((16 * $2 + 8))
  paint_and_wait $x $y 16 mousemove --window "$window" $x $y click "${3:-1}"
}
drag_cells() { # X1 Y1 X2 Y2
  local x=$((16 * $3 + 8)) y=$((16 * $4 + 8))
  paint_and_wait $x $y 16 mousemove --window "$window" $((16 * $1 + 8)) $((16 * $2 + 8)) mousedown 1 \
    mousemove --window "$window" $((x - 4)) $y mousemove --window "$window" $x $y mouseup 1
}

# Runs the xdotool steps, then waits until the editor has drawn the cell at
# window pixel (X, Y) anew: the steps paint it.
paint_and_wait() { # X Y CELL_PIXELS XDOTOOL_STEP...
  local x=$1 y=$2 size=$3 before
  shift 3
  before=$(cell_sum "$x" "$y" "$size")
  xdotool "$@" 2>/dev/null || fail "xdotool $* failed"
  wait_until "the cell at ($x, $y) was not drawn anew" cell_changed "$x" "$y" "$size" "$before"
}

# A checksum of the cell of CELL_PIXELS at window pixel (X, Y) as shown now.
cell_sum() { # X Y CELL_PIXELS
  local size=$3
  wait_until "no screenshot of the editor" screenshot cell
  "$convert_tool" "$work/cell.png" -crop "${size}x${size}+$(($1 / size * size))+$(($2 / size * size))" \
    +repage rgb:- | md5sum
}
cell_changed() { [ "$(cell_sum "$1" "$2" "$3")" != "$4" ]; }

wait_for_file() { # PATH: until it exists and is not empty
  wait_until "no file $1" test -s "$1"
}

# A key to the editor or the name entry. Both keep keys in order, and the
# editor acts on the keys of an update before its clicks, so the steps after
# a key wait only for what they check.
press() { xdotool key --window "$window" "$@" 2>/dev/null || fail "the key $* found no window"; }

# A key that changes what the program shows, and the picture after it.
press_shown() {
  local from
  from=$(frames)
  press "$@"
  frames_wait reach $((from + 1)) || true
}

# Runs COMMAND... until it succeeds; fails with WHY after the longest wait.
wait_until() { # WHY COMMAND...
  local why=$1 deadline=$((SECONDS + wait_seconds))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "$why"
    sleep 0.1
  done
}

# A check of what the program is still writing or drawing: WHAT must come.
check_soon() { # WHAT COMMAND...
  wait_until "$@"
  echo "ok: $1"
}

# The path of the first shipped level in play order.
first_level() {
  local levels=$here/../../levels
  printf '%s/%s\n' "$levels" "$(sed -n '/^[^#]/{p;q}' "$levels/levels.txt")"
}

# Waits for a message box; sets message_text and message_box.
read_message() {
  message_box=$(timeout 15 xdotool search --sync --onlyvisible --class '^Xmessage$' | head -1)
  [ -n "$message_box" ] || fail "no message box"
  local xmessage_pid
  xmessage_pid=$(pgrep -x xmessage -P "$(pgrep -P "$game_pid" | head -1)" | head -1)
  message_text=$(tr '\0' '\n' <"/proc/$xmessage_pid/cmdline" | tail -n +7)
}

dismiss_message() { xdotool key --window "$message_box" Return 2>/dev/null || true; }

# Waits for the game to end; sets exit_status (137: killed when its time ran out).
wait_exit() {
  exit_status=0
  wait "$game_pid" || exit_status=$?
  game_pid=
}
