# Shared steps of the end-to-end tests: a private Xvfb, the game started in a
# scratch folder, screenshots, pixel reads and message boxes.
# Usage: source lib.sh GAME_BINARY RUN_DIR; every test runs in its own
# scratch folder, $work, which holds copies of assets.dat and maps.bin.
set -euo pipefail

game_binary=$1
run_dir=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
convert_tool=/usr/bin/convert
work=$(mktemp -d "${TMPDIR:-/tmp}/mq-e2e-XXXXXX")
xvfb_pid=
game_pid=
window=

cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  if [ "${MQ_KEEP_E2E:-}" = 1 ]; then echo "kept $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
check() { local what=$1; shift; "$@" || fail "$what"; echo "ok: $what"; }

start_xvfb() {
  Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp >"$work/display.txt" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 200); do [ -s "$work/display.txt" ] && break; sleep 0.05; done
  [ -s "$work/display.txt" ] || fail "Xvfb did not start"
  export DISPLAY=:$(cat "$work/display.txt")
}

# Starts the game in $work with a silent sound device, under a time limit.
start_game() {
  mkdir -p "$work/home"
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$work/home/.asoundrc"
  (cd "$work" && HOME="$work/home" exec timeout "${MQ_GAME_TIMEOUT:-60}" "$game_binary" \
    >"$work/game.out" 2>"$work/game.err") &
  game_pid=$!
}

wait_window() {
  window=$(timeout 15 xdotool search --sync --onlyvisible --class '^allegro$' | head -1)
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

hold() { # KEY SECONDS
  xdotool keydown --window "$window" "$1" sleep "$2" keyup --window "$window" "$1"
}

tap() { hold "$1" 0.08; }

# Waits for a message box; sets message_text and message_box.
read_message() {
  message_box=$(timeout 15 xdotool search --sync --onlyvisible --class '^Xmessage$' | head -1)
  [ -n "$message_box" ] || fail "no message box"
  local xmessage_pid
  xmessage_pid=$(pgrep -x xmessage -P "$(pgrep -P "$game_pid" | head -1)" | head -1)
  message_text=$(tr '\0' '\n' <"/proc/$xmessage_pid/cmdline" | tail -n +7)
}

dismiss_message() { xdotool key --window "$message_box" Return 2>/dev/null || true; }

# Waits for the game to end; sets exit_status (124: timed out).
wait_exit() {
  exit_status=0
  wait "$game_pid" || exit_status=$?
  game_pid=
}
