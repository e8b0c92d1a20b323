#!/usr/bin/env bash
# The level tools as their manual pages show them: every program
# mellow-quarrier-* in games/ but the editor has a page with examples, and
# each example line runs as written, the lines of one page one after another
# in a scratch folder of their own (a later line may use what an earlier one
# wrote). ROOT is / for the installed package, or the folder a .deb was
# unpacked into: the examples' /usr/ paths are then read under ROOT.
# Usage: manual_examples.sh ROOT
set -uo pipefail
root=${1%/}
export PATH="$root/usr/games:$PATH"
scratch=$(mktemp -d "${TMPDIR:-/tmp}/mq-manual-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failures=0 passes=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The page's lines between .EX and .EE in its EXAMPLES section.
examples_of() { # PAGE
  case $1 in *.gz) zcat "$1" ;; *) cat "$1" ;; esac |
    sed -n '/^\.SH EXAMPLES/,/^\.SH/{/^\.EX/,/^\.EE/p}' | sed -e '/^\.E[XE]/d' -e 's/\\-/-/g'
}

tools=0
for program in "$root"/usr/games/mellow-quarrier-*; do
  name=$(basename "$program")
  [ "$name" = mellow-quarrier-editor ] && continue
  tools=$((tools + 1))
  page=$(ls "$root/usr/share/man/man6/$name.6"* 2>/dev/null | head -n 1)
  [ -n "$page" ] || { fail "$name has no manual page"; continue; }
  examples=$(examples_of "$page")
  [ -n "$examples" ] || { fail "$name's manual page has no examples"; continue; }
  folder=$scratch/$name
  mkdir "$folder"
  while IFS= read -r line; do
    if (cd "$folder" && eval "${line//\/usr\//$root/usr/}") >"$folder.log" 2>&1 </dev/null; then
      passes=$((passes + 1))
      echo "ok: $line"
    else
      fail "$line"
      tail -n 5 "$folder.log"
    fi
  done <<<"$examples"
done
[ "$tools" -gt 0 ] || fail "no level tool in $root/usr/games"
echo "manual examples: $passes passed, $failures failed"
[ "$failures" = 0 ]
