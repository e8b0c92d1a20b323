#!/usr/bin/env bash
# Sets everything up (packages, build, assets.dat, maps.bin) and runs every
# test: the fuzzed file readers and a sanitized soak of whole games, then unit
# tests, headless game scenarios and end-to-end tests in a real window under
# Xvfb, and the Debian package built, checked, unpacked and started. The
# ctest summary comes last.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build_dir=${MQ_BUILD_DIR:-$repo/build}
"$repo/scripts/setup.sh" test

fuzz_status=0
MQ_BUILD_DIR="$build_dir" "$repo/scripts/fuzz.sh" || fuzz_status=$?
# The level set's figures (difficulty, fair starts), shown even when they
# pass; LevelFiguresTest below is what fails on them.
"$build_dir/run/mellow-quarrier-level-rate" "$repo/levels/levels.txt" || true
# The art's and the sounds' figures (contrast, colour difference under
# colour blindness, loudness through a small speaker), shown even when they
# pass; the asset_figures test below is what fails on them.
"$build_dir/tools/assetcheck/asset-check" "$build_dir/run/assets.dat" || true
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
exit "$fuzz_status"
