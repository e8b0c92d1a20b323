#!/usr/bin/env bash
# A level set made in the editor as a person would: open a set of three
# shipped levels, swap two, add a new level drawn there (and play-test it
# from a chosen cell until it is cleared), prove all, play the set from its
# second level, make a level after it with G (stopping a slow one with
# Escape first, which leaves the editor running), save the list, and play it
# through the installed launcher with --levels, which compiles it as it
# stands. Quitting while the shipped set is measured leaves no tool running
# and no scratch folder.
source "$(dirname "$0")/lib.sh"
levelc=$3
levels=$here/../../levels
set_dir=$work/set

list_row() { echo "4 $((18 + 12 * $1)) 440 12"; }   # X Y W H of a row of the set's list
prompt_area="512 472 256 48"

mkdir -p "$set_dir/replays"
names=(001-morning-walk 002-four-floors 003-hand-over-hand)
for name in "${names[@]}"; do
  cp "$levels/$name.txt" "$set_dir/"
  cp "$levels/replays/$name.replay" "$set_dir/replays/"
  echo "$name.txt" >>"$set_dir/levels.txt"
done

start_xvfb
start_editor --scale 1 "$set_dir/levels.txt"
wait_for_colour 40FF40 $(list_row 2)          # the third level measured: proven
press Down; press shift+Down                  # the second level moves down one
press a
xdotool type --window "$window" --delay 30 "new.txt" 2>/dev/null; press Return
press 1; drag_cells 2 20 12 20
press 5; click_cell 3 19
press 4; click_cell 10 19
press ctrl+s
wait_for_file "$set_dir/new.txt"

xdotool mousemove --window "$window" $((16 * 9 + 8)) $((16 * 19 + 8)) 2>/dev/null
press shift+p                                 # from (9, 19), beside the gold
wait_for_colour 445566 513 4 128 12           # the game's score, atop the panel
hold_to_leave Right                           # into the gold, until the play-test ends
wait_for_colour 40FF40 $prompt_area           # "Cleared from (9, 19): ..."
check "the drawing kept its own start" grep -q '^...P' <(sed -n 21p "$set_dir/new.txt")

press Escape                                  # back to the set
wait_for_colour FF4040 $(list_row 3)          # the new level: no proof yet
press v
wait_for_file "$set_dir/replays/new.replay"
wait_for_colour FFA000 $(list_row 3)          # proven, but off the floor's end is a pit: a trap
check "the new level's proof clears it" "$4" --assets "$run_dir/assets.dat" "$set_dir/replays/new.replay"

press Up; press Up                            # the second level
press p
wait_for_colour 445566 513 4 128 12
hold_to_leave Escape
wait_for_colour 888888 $prompt_area           # "Played from level 2: ..."

# The maker runs beside the window, so the Escape typed right after asking
# for a level stops it instead of waiting for it.
"$run_dir/mellow-quarrier-level-make" --seed 7 --count 1 --difficulty 1 --out "$work/made" 2>/dev/null
made=$(sed -n '/^[^#]/{s/^[0-9]*-//;p;q}' "$work/made/levels.txt")
make_level() {
  press g; press --repeat 14 BackSpace
  xdotool type --window "$window" --delay 30 "$1" 2>/dev/null; press Return
}
make_level "5 1"
press Escape
make_level "1 7"
wait_for_file "$set_dir/replays/${made%.txt}.replay"
check "the level made is saved beside the list" cmp -s "$set_dir/$made" "$work/made/001-$made"
check "the stopped making added nothing" test "$(ls "$set_dir"/*.txt | wc -l)" = 6
press ctrl+s
printf '%s\n' 001-morning-walk.txt 003-hand-over-hand.txt "$made" 002-four-floors.txt new.txt >"$work/expected.txt"
check_soon "the list saved as reordered and added to" cmp -s "$set_dir/levels.txt" "$work/expected.txt"
press Escape
wait_exit
check "exit status 0" test "$exit_status" = 0

# The launcher, installed, plays the saved list as it stands.
cmake --install "$run_dir/.." --prefix "$work/stage" >/dev/null
game_binary=$work/stage/games/mellow-quarrier
export HOME=$work/home
unset XDG_DATA_HOME
start_to_title --levels "$set_dir/levels.txt"
menu_start_game                               # "Level 1" on the status line
"$levelc" "$set_dir/levels.txt" "$work/compiled.bin" >/dev/null
check "the launcher plays the list as saved" cmp "$work/compiled.bin" "$HOME"/.local/share/mellow-quarrier/practice/levels-*/maps.bin
hold_to_leave Escape
wait_for_title
menu_exit
wait_exit

# Escape while the shipped set is being measured: the tools at work end with
# the editor, and their scratch folders go with it.
mkdir "$work/scratch"
export TMPDIR=$work/scratch
game_binary=$1
start_editor --scale 1 "$levels/levels.txt"
# The tools are given the level in the scratch folder: that path finds them.
at_work() { pgrep -f "$work/scratch/" >/dev/null; }
wait_until "no level measured in the background" at_work
press Escape
wait_exit
check "the measures at work ended with the editor" eval '! at_work'
check "no scratch folder left" test -z "$(ls -A "$work/scratch")"
