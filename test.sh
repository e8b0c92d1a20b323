#!/usr/bin/env bash
# Sets everything up (packages, build, assets.dat, maps.bin) and runs every
# test through CTest, as many at once as there are cores (one more starves a
# display test's window while the package builds): unit tests, headless game
# scenarios, end-to-end tests in a real window under Xvfb, the fuzzed file
# readers and a sanitized soak of whole games, and the Debian package built
# twice (from this build's objects, compiled with Debian's flags through a
# compiler cache), checked, unpacked and started. Then the level set's and
# the art's figures, shown even when they pass (LevelFiguresTest and
# asset_figures are what fail on them), and the CTest summary last.
# MQ_TEST_EFFORT (a whole number, default 1) lengthens the open-ended checks:
# the fuzzing, the soak and the launcher's races.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build_dir=${MQ_BUILD_DIR:-$repo/build}
"$repo/scripts/setup.sh" test

status=0
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)" | tee "$build_dir/ctest.out" || status=$?

# What a test printed, from CTest's log of the run, without GoogleTest's own lines.
test_output() { # NAME (a pattern)
  awk -v name="$1" '$0 ~ "^[0-9]+/[0-9]+ Test: " name "$" { found = 1 }
    found && /^<end of output>/ { exit }
    shown && !/^(\[|Running main\(\)|Note: |$)/ { print }
    found && /^-+$/ { shown = 1 }' "$build_dir/Testing/Temporary/LastTest.log"
}
echo
echo "The level set's figures:"
test_output 'LevelFiguresTest\..*'
echo
echo "The art's and the sounds' figures:"
test_output asset_figures
echo
sed -n '/tests passed, /,$p' "$build_dir/ctest.out"
exit "$status"
