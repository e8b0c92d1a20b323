#!/usr/bin/env bash
# The Debian package as a player meets it, from the first build of
# package_build.sh: the .deb is unpacked into a scratch root and its launcher
# runs with a scratch HOME. A first start shows the title screen and Exit
# writes user.bin into the player's folder; bad command lines change nothing
# there; --from 3 plays the third level as "Level 1" with a table of its own;
# a changed install reaches the player's folder; each window reports the
# class its menu entry names; the installed editor opens and closes; and the
# package's own autopkgtest that needs a window passes.
# Usage: package_test.sh SOURCE_DIR PACKAGES_DIR
source_dir=$(realpath "$1")
levels_dir=$source_dir/levels
source "$(dirname "$0")/../e2e/lib.sh" launcher "" ""
root=$work/root
game_binary=$root/usr/games/mellow-quarrier
unset XDG_DATA_HOME
export HOME=$work/home
save=$HOME/.local/share/mellow-quarrier
practice=$save/practice/from-3
deb=$(echo "$2"/first/mellow-quarrier_*_amd64.deb)
dpkg-deb -x "$deb" "$root"
sources=$root/usr/share/games/mellow-quarrier/levels

# play_first_frame SHOT [ARGUMENT...]: starts the launcher, plays up to the
# first frame of the first level, screenshots it as SHOT and leaves the game
# through Escape and the menu's Exit.
play_first_frame() {
  local shot=$1
  shift
  start_to_title "$@"
  menu_start_game
  screenshot "$shot"
  hold_to_leave Escape
  wait_for_title
  menu_exit
  wait_exit
}

# The shipped level whose walls and gold the screenshot matches best, by its
# place in levels.txt (enemies move before the shot, so the match is not exact).
best_level() {
  python3 "$here/pixels.py" "$work/$1.ppm" cells >"$work/cells.txt"
  python3 - "$work/cells.txt" "$levels_dir" <<'PY'
import os, sys
shot = open(sys.argv[1]).read().split()
names = [l.strip() for l in open(os.path.join(sys.argv[2], "levels.txt")) if l.strip() and not l.startswith("#")]
def score(name):
    rows = [l.rstrip("\n") for l in open(os.path.join(sys.argv[2], name))][-32:]
    return sum((a == ".") == (b == ".") for r, s in zip(rows, shot) for a, b in zip(r, s))
print(1 + max(range(len(names)), key=lambda i: score(names[i])))
PY
}

# The class the window reports, and the one its menu entry expects.
window_class() { xprop -id "$window" WM_CLASS | sed -n 's/.*", "\(.*\)"$/\1/p'; }
menu_class() { sed -n 's/^StartupWMClass=//p' "$root/usr/share/applications/$1.desktop"; }

label() { "$convert_tool" "$work/$1.ppm" -crop 56x12+384+513 +repage -depth 8 rgb:- | md5sum; }
folder_listing() { ls -lR --time-style=full-iso "$HOME" 2>&1; }

bad_start() { # the launcher refuses the arguments: status 2, one line, nothing written
  local before status=0
  before=$(folder_listing)
  "$game_binary" "$@" >/dev/null 2>"$work/refusal.txt" || status=$?
  [ "$status" = 2 ] && [ "$(wc -l <"$work/refusal.txt")" = 1 ] && [ "$(folder_listing)" = "$before" ]
}

check "a bad option on a first start makes no folder" bad_start --from 0
start_xvfb
check "the autopkgtest menu-exit passes" \
  env -C "$source_dir" MQ_ROOT="$root" HOME="$work/autopkgtest" debian/tests/menu-exit
play_first_frame plain
check "exit status 0 after Exit" test "$exit_status" = 0
table_bytes "${default_rows[@]}" >"$work/default.bin"
check "Exit wrote the default table into the player's folder" cmp "$save/user.bin" "$work/default.bin"
check "the player's maps.bin is the installed one" cmp "$save/maps.bin" "$root/usr/share/games/mellow-quarrier/maps.bin"
check "the plain game starts with the first level" test "$(best_level plain)" = 1

printf '%s\n' "$(first_level)" "$(first_level)" >"$work/two.txt"
head -c 512 /dev/zero >"$work/no-level.bin"
for refused in "--bogus" "--from" "--from x" "--levels $work/missing.txt" "--levels $work/no-level.bin" \
    "--levels $work/two.txt --from 3"; do
  read -r -a arguments <<<"$refused"
  check "refused without a change: $refused" bad_start "${arguments[@]}"
done
# Without a display the game ends at once, after the launcher made its folder.
env -u DISPLAY "$game_binary" --levels "$work/two.txt" --from 1 >/dev/null 2>&1 || true
env -u DISPLAY "$game_binary" --levels "$work/two.txt" >/dev/null 2>&1 || true
check "a set from its first level shares the set's table" test "$(ls "$save/practice" | wc -l)" = 1

table_bytes 9999 "Real Player" "${default_rows[@]:0:18}" >"$work/real.bin"
cp "$work/real.bin" "$save/user.bin"
play_first_frame from3 --from 3
check "--from 3 shows Level 1" test "$(label from3)" = "$(label plain)"
check "--from 3 starts with the third level" test "$(best_level from3)" = 3
check "practice keeps a table of its own" cmp "$practice/user.bin" "$work/default.bin"
check "the real table is untouched" cmp "$save/user.bin" "$work/real.bin"

cp "$practice/maps.bin" "$root/usr/share/games/mellow-quarrier/maps.bin"
start_to_title
check "the game's window has its menu entry's class" \
  test "$(window_class)" = "$(menu_class org.mellowquarrier.MellowQuarrier)"
menu_exit
wait_exit
check "an upgraded maps.bin reaches the player's folder" cmp "$save/maps.bin" "$practice/maps.bin"

# The installed editor finds the installed assets.dat and solver from where
# it stands. Started as its menu entry starts it, with no file, it draws its
# palette for a new level in the player's folder, and Escape leaves it.
game_binary=$root/usr/games/mellow-quarrier-editor
check "the editor is installed beside the launcher" test -x "$game_binary"
check "the editor's --version is the package's" \
  test "$("$game_binary" --version)" = "mellow-quarrier-editor $(dpkg-deb -f "$deb" Version)"
check "the editor's solver is installed" test -x "$root/usr/games/mellow-quarrier-level-solve"
check "the editor's dead-end check is installed" test -x "$root/usr/games/mellow-quarrier-level-check"
start_editor
check "the editor's window has its menu entry's class" \
  test "$(window_class)" = "$(menu_class org.mellowquarrier.MellowQuarrier.Editor)"
press Escape
wait_exit
check "the installed editor opens and closes" test "$exit_status" = 0
check "its new level was to be saved in the player's folder" test -d "$save/levels"

# The installed editor opens an installed level read-only, so Escape leaves
# it as it was.
cp "$sources/001-morning-walk.txt" "$work/001.before"
start_editor "$sources/001-morning-walk.txt"
press 1; xdotool mousemove --window "$window" 8 8 click 1 2>/dev/null
press ctrl+s; press Escape                  # the save asks where; Escape drops the question
press Escape; press n
wait_exit
check "the installed editor opens an installed level" test "$exit_status" = 0
check "the installed level untouched" cmp "$sources/001-morning-walk.txt" "$work/001.before"
