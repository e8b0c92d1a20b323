# Shared steps of the end-to-end tests: a private Xvfb, the game started in a
# scratch folder, screenshots, pixel reads and message boxes.
# Usage: source lib.sh GAME_BINARY RUN_DIR LEVELC; every test runs in its own
# scratch folder, $work, which holds copies of assets.dat and maps.bin.
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

# Starts the game in $work with a silent sound device, under a time limit,
# with the arguments given. MQ_GAME_WRAPPER, split on blanks, runs the game
# inside another program (valgrind, say) without changing the test.
start_game() {
  mkdir -p "$work/home"
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$work/home/.asoundrc"
  local wrapper=()
  read -r -a wrapper <<<"${MQ_GAME_WRAPPER:-}"
  (cd "$work" && HOME="$work/home" exec timeout -s KILL "${MQ_GAME_TIMEOUT:-60}" "${wrapper[@]}" "$game_binary" "$@" \
    >"$work/game.out" 2>"$work/game.err") &
  game_pid=$!
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
      sleep 0.2
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

# The key's release may find the window gone when the key ended the game.
hold() { # KEY SECONDS
  xdotool keydown --window "$window" "$1" sleep "$2" keyup --window "$window" "$1" 2>/dev/null || true
}

tap() { hold "$1" 0.08; }

# Starts the game in its window and waits until the title screen is drawn
# and its menu takes keys (a new menu ignores its first 20 passes).
start_to_title() {
  start_game "$@"
  wait_window
  wait_for_drawing 196 32 120 12
  sleep 0.3
}

# The menu reads held keys and ignores them for a moment after each one.
menu_key() { hold "$1" 0.05; sleep 0.3; }
menu_start_game() { menu_key j; }
# The window may be gone before the key is let go.
menu_exit() { menu_key Down; menu_key Down; hold j 0.05 2>/dev/null || true; }

# Starts the level editor with the arguments given and waits for its palette.
start_editor() {
  start_game "$@"
  wait_window
  wait_for_drawing 512 0 192 40
}

# A click on the editor's cell (X, Y) at scale 1, with a mouse button
# (1 by default), and a drag from one cell to another.
click_cell() { # X Y [BUTTON]
  xdotool mousemove --window "$window" $((16 * $1 + 8)) $((16 * $2 + 8)) click "${3:-1}" 2>/dev/null
  sleep 0.1
}
drag_cells() { # X1 Y1 X2 Y2
  xdotool mousemove --window "$window" $((16 * $1 + 8)) $((16 * $2 + 8)) mousedown 1 \
    mousemove --window "$window" $((16 * $3 + 4)) $((16 * $4 + 8)) sleep 0.05 \
    mousemove --window "$window" $((16 * $3 + 8)) $((16 * $4 + 8)) mouseup 1 2>/dev/null
  sleep 0.1
}

wait_for_file() { # PATH: until it exists and is not empty
  for _ in $(seq 300); do [ -s "$1" ] && return 0; sleep 0.1; done
  fail "no file $1"
}

# A key to the editor, and a moment for it to act on it.
press() { xdotool key --window "$window" "$@" 2>/dev/null; sleep 0.15; }

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
