#!/usr/bin/env bash
# The Debian package as a packager and the archive meet it, from the two
# builds of package_build.sh: the source package and the debug symbols are
# written; lintian finds no error or warning; the second build, in another
# folder, time zone and umask, gives the same .deb bytes. Unpacked into a
# scratch root, the level tools' manual examples run as written, the menu
# entries and the AppStream metadata validate, the installed level sources
# compile into the installed maps.bin, and the package's own autopkgtests
# that need no window pass there.
# Usage: package_checks.sh SOURCE_DIR PACKAGES_DIR
source_dir=$(realpath "$1")
levels_dir=$source_dir/levels
first=$2/first
second=$2/second/folder/of/another/length
source "$(dirname "$0")/../e2e/lib.sh" "" "" ""
root=$work/root
deb=$(echo "$first"/mellow-quarrier_*_amd64.deb)
check "the source package is written" test -f "$(echo "$first"/mellow-quarrier_*.dsc)"
check "the debug symbols have a package" test -f "$(echo "$first"/mellow-quarrier-dbgsym_*.deb)"
check "lintian: no error or warning" lintian --fail-on error,warning "$(echo "$first"/mellow-quarrier_*.changes)"
check "a second build gives the same .deb" cmp "$deb" "$second/$(basename "$deb")"

dpkg-deb -x "$deb" "$root"
check "every level tool's manual examples run as written" bash "$here/../package/manual_examples.sh" "$root"
check "the menu entries validate" desktop-file-validate "$root"/usr/share/applications/*.desktop
check "the AppStream metadata validates" appstreamcli validate --no-net "$root"/usr/share/metainfo/*.xml
check "an icon for every size" test "$(ls "$root"/usr/share/icons/hicolor/*/apps/mellow-quarrier.png | wc -l)" = 6

# The level sources come with the game and compile into its maps.bin.
sources=$root/usr/share/games/mellow-quarrier/levels
check "the level list is installed" cmp "$sources/levels.txt" "$levels_dir/levels.txt"
check "a proof for every installed level" \
  test "$(ls "$sources"/replays/*.replay | wc -l)" -ge "$(grep -c '^[0-9]' "$sources/levels.txt")"
"$root/usr/games/mellow-quarrier-levelc" "$sources/levels.txt" "$work/from-sources.bin" >/dev/null
check "the sources compile into the shipped maps.bin" \
  cmp "$work/from-sources.bin" "$root/usr/share/games/mellow-quarrier/maps.bin"

for autopkgtest in replays launcher; do
  check "the autopkgtest $autopkgtest passes" env MQ_ROOT="$root" AUTOPKGTEST_TMP="$work" "$source_dir/debian/tests/$autopkgtest"
done
