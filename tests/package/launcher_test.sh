#!/usr/bin/env bash
# The launcher as players and packagers meet it, without a window: installed
# into a scratch root whose game is a stand-in that notes what it was given.
# The player's folders link to the installed files, and an earlier version's
# copies there become links while the player's own files stay as they were.
# Two launches at the same moment after an upgrade both start on whole
# files; bad command lines, FIFOs, devices, missing and huge files are
# refused at once with one line that names the file at fault; Ctrl+C leaves
# no scratch folder behind; --generate makes its set with level-make in the
# player's folder and plays it as a practice set, the real table untouched.
# Usage: launcher_test.sh LAUNCHER RUN_DIR LEVELC LEVEL_MAKE
# MQ_TEST_EFFORT (default 1) times 25 pairs of launches race each other.
source "$(dirname "$0")/../e2e/lib.sh" "$1" "$2" "$3"
level_make_tool=$4
launch_pairs=$((25 * ${MQ_TEST_EFFORT:-1}))
root=$work/root
installed=$root/share/games/mellow-quarrier
private=$root/lib/games/mellow-quarrier
launcher=$root/games/mellow-quarrier
mkdir -p "$root/games" "$private" "$installed" "$work/tmp"
cp "$game_binary" "$launcher"
chmod +x "$launcher"
cp "$levelc_tool" "$root/games/mellow-quarrier-levelc"
cp "$level_make_tool" "$root/games/mellow-quarrier-level-make"
cp "$run_dir/assets.dat" "$run_dir/maps.bin" "$installed/"
export HOME=$work/home TMPDIR=$work/tmp LOG=$work/started.txt INSTALLED=$installed
unset XDG_DATA_HOME DISPLAY
save=$HOME/.local/share/mellow-quarrier

# The game's stand-in: whether the folder it starts in holds the installed
# files whole; it notes the folder and scores a game in its table.
cat >"$private/mellow-quarrier" <<'GAME'
#!/bin/sh
if cmp -s assets.dat "$INSTALLED/assets.dat" && cmp -s maps.bin "$INSTALLED/maps.bin"; then
  echo whole >>"$LOG"
else
  echo broken >>"$LOG"
fi
pwd >"$LOG.folder"
echo game >>user.bin
GAME
chmod +x "$private/mellow-quarrier"

# refused MESSAGE ARGUMENT...: status 2 within seconds, one line naming the
# fault, no game started and no scratch folder left.
refused() {
  local message=$1 status=0
  shift
  rm -f "$LOG"
  timeout 20 "$launcher" "$@" >/dev/null 2>"$work/refusal.txt" || status=$?
  [ "$status" = 2 ] && [ "$(wc -l <"$work/refusal.txt")" = 1 ] && grep -qF -- "$message" "$work/refusal.txt" &&
    [ ! -e "$LOG" ] && [ -z "$(ls -A "$TMPDIR")" ] || { echo "status $status: $(cat "$work/refusal.txt")"; false; }
}

"$launcher"
check "a first launch starts on whole files" test "$(cat "$LOG")" = whole

links_to_installed() { # FILE...
  for file in "$@"; do
    [ -L "$file" ] && [ "$(readlink -f "$file")" = "$(readlink -f "$installed/${file##*/}")" ] || return 1
  done
}
check "the player's folder links to the installed files" links_to_installed "$save/assets.dat" "$save/maps.bin"

# An earlier version's copies, beside a table and a practice set.
old_practice=$save/practice/from-2
mkdir -p "$old_practice"
cp --remove-destination "$installed/assets.dat" "$installed/maps.bin" "$save/"
cp "$installed/assets.dat" "$old_practice/"
for file in "$save/user.bin" "$old_practice/user.bin" "$old_practice/maps.bin"; do echo "$file" >"$file"; done
"$launcher" --from 3
check "a practice set's folder links to the installed assets.dat" links_to_installed "$save/practice/from-3/assets.dat"
check "a practice set's maps.bin is its own" test -f "$save/practice/from-3/maps.bin" -a ! -L "$save/practice/from-3/maps.bin"
check "an earlier version's copies become links" \
  links_to_installed "$save/assets.dat" "$save/maps.bin" "$old_practice/assets.dat"
for file in "$save/user.bin" "$old_practice/user.bin" "$old_practice/maps.bin"; do
  check "the player's ${file#"$save"/} is kept" test "$(cat "$file")" = "$file"
done
rm -r "$old_practice" "$save/practice/from-3"

# A folder that cannot hold links gets copies: here ln fails.
mkdir "$work/no-links"
printf '#!/bin/sh\nexit 1\n' >"$work/no-links/ln"
chmod +x "$work/no-links/ln"
rm "$save/assets.dat" "$save/maps.bin" "$LOG"
PATH=$work/no-links:$PATH "$launcher"
check "without links the game starts on copies" test "$(cat "$LOG")" = whole -a -f "$save/assets.dat" -a ! -L "$save/assets.dat"

for empty in "--from=" "--levels=" "--from ''" "--levels ''"; do
  eval "set -- $empty"
  check "an empty value is refused: $empty" refused "needs a value" "$@"
done

truncate -s 3G "$work/huge.bin"
check "a 3 GB level file is refused at once" refused "huge.bin: larger than 1024 KiB" --levels "$work/huge.bin"
mkfifo "$work/pipe.txt"
printf '/dev/zero\n' >"$work/zero-list.txt"
printf '%s\n' "$work/pipe.txt" >"$work/fifo-list.txt"
check "a list naming /dev/zero is refused" refused "/dev/zero: not a regular file" --levels "$work/zero-list.txt"
check "a list naming a FIFO is refused" refused "pipe.txt: not a regular file" --levels "$work/fifo-list.txt"
check "a FIFO as the level file is refused" refused "cannot read the level file" --levels "$work/pipe.txt"

rm "$save/maps.bin"
mkfifo "$save/maps.bin"
check "a FIFO in the player's folder is refused" refused "$save/maps.bin is not a regular file"
rm "$save/maps.bin"

mv "$installed/assets.dat" "$work/assets.dat"
check "a missing installed file is named" refused "cannot read $installed/assets.dat"
mv "$work/assets.dat" "$installed/assets.dat"

# Ctrl+C while the level set is compiled: the level compiler's stand-in waits for it.
mv "$root/games/mellow-quarrier-levelc" "$work/mellow-quarrier-levelc"
printf '#!/bin/sh\ntouch "%s/compiling"\nexec sleep 60\n' "$work" >"$root/games/mellow-quarrier-levelc"
chmod +x "$root/games/mellow-quarrier-levelc"
# With job control the launcher gets a process group of its own, as in a
# terminal, and does not ignore SIGINT as a background command would.
set -m
"$launcher" --from 2 2>/dev/null &
launch_pid=$!
set +m
for _ in $(seq 200); do [ -e "$work/compiling" ] && break; sleep 0.05; done
check "the level set is being compiled" test -e "$work/compiling"
kill -INT -- "-$launch_pid"
status=0
wait "$launch_pid" || status=$?
check "Ctrl+C ends the launcher (status $status)" test "$status" = 130
check "Ctrl+C leaves no scratch folder" test -z "$(ls -A "$TMPDIR")"
mv "$work/mellow-quarrier-levelc" "$root/games/mellow-quarrier-levelc"

# A generated set: made in the player's folder under its seed, played from
# a practice folder of its own, made once however often it is played.
real_table=$(cksum <"$save/user.bin")
"$launcher" --generate 2 --seed 5 2>"$work/generate.txt"
made=$save/generated/seed-5-count-2
check "--generate tells the seed" grep -qx \
  "mellow-quarrier: 2 levels from seed 5 (--generate 2 --seed 5 plays them again)" "$work/generate.txt"
check "the set is made in the player's folder" test "$(grep -vc '^#' "$made/levels.txt")" = 2
played=$(cat "$LOG.folder")
check "it is played as a practice set" test "${played#"$save/practice/"}" != "$played"
"$levelc_tool" "$made/levels.txt" "$work/made.bin" >/dev/null
check "the game gets the set made" cmp -s "$work/made.bin" "$played/maps.bin"
check "the real score table is untouched" test "$(cksum <"$save/user.bin")" = "$real_table"
touch -d @946684800 "$made/levels.txt"
"$launcher" --generate 2 --seed 5 2>/dev/null
check "the same seed plays the same set, not made again" test "$(stat -c %Y "$made/levels.txt")" = 946684800
check "with its own score table" test "$(cat "$LOG.folder")" = "$played" -a "$(wc -l <"$played/user.bin")" = 2
"$launcher" --generate 1 2>"$work/generate.txt"
seed=$(sed -n 's/.* levels from seed \([0-9]*\) .*/\1/p' "$work/generate.txt")
check "without --seed a seed is chosen and told" test "$(grep -vc '^#' "$save/generated/seed-$seed-count-1/levels.txt")" = 1
check "--seed alone is refused" refused "--seed goes with --generate" --seed 5
check "--generate 256 is refused" refused "--generate needs a number of levels from 1 to 255" --generate 256
check "--generate with --levels is refused" refused "choose one" --generate 2 --levels "$made/levels.txt"
check "the real score table is still untouched" test "$(cksum <"$save/user.bin")" = "$real_table"

# Double clicks after upgrades from an earlier version: every pair finds the
# installed files changed and the player's folder holding copies of the old
# ones. The maps.bin alternates between two sets; assets.dat gains a byte.
cp "$installed/maps.bin" "$work/maps-a.bin"
"$levelc_tool" --from 2 "$work/maps-a.bin" "$work/maps-b.bin"
rm -f "$LOG"
failures=0
for pair in $(seq "$launch_pairs"); do
  cp --remove-destination "$installed/assets.dat" "$installed/maps.bin" "$save/"
  if [ $((pair % 2)) = 0 ]; then cp "$work/maps-a.bin" "$installed/maps.bin"; else cp "$work/maps-b.bin" "$installed/maps.bin"; fi
  printf x >>"$installed/assets.dat"
  "$launcher" 2>>"$work/launch-errors.txt" & first=$!
  "$launcher" 2>>"$work/launch-errors.txt" & second=$!
  wait "$first" || failures=$((failures + 1))
  wait "$second" || failures=$((failures + 1))
done
echo "launches: $((2 * launch_pairs)), failed: $failures, started on whole files: $(grep -c whole "$LOG")"
check "every launch at the same moment succeeds" test "$failures" = 0
check "every game starts on whole files" test "$(grep -c whole "$LOG")" = $((2 * launch_pairs))
check "no copy in the making is left" test -z "$(find "$save" -maxdepth 1 -name '*.dat.*' -o -maxdepth 1 -name '*.bin.*')"
