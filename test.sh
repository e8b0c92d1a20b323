#!/usr/bin/env bash
# Sets everything up (packages, build, assets.dat, maps.bin) and runs every
# test: unit tests, headless game scenarios and end-to-end tests in a real
# window under Xvfb.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build_dir=${MQ_BUILD_DIR:-$repo/build}
"$repo/scripts/setup.sh" test
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
