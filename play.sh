#!/usr/bin/env bash
# Sets everything up (packages, build, assets.dat, maps.bin) and starts the game.
# The game runs in a folder of its own so that user.bin, the high-score
# table, survives rebuilds and fresh checkouts.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build_dir=${MQ_BUILD_DIR:-$repo/build}
"$repo/scripts/setup.sh" play

save_dir=${MQ_SAVE_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/mellow-quarrier}
mkdir -p "$save_dir"
cp "$build_dir/run/assets.dat" "$build_dir/run/maps.bin" "$save_dir/"
cd "$save_dir"
exec "$build_dir/run/mellow-quarrier"
