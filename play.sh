#!/usr/bin/env bash
# Sets up what playing needs (packages, the game, assets.dat, maps.bin),
# installs it into the build folder and starts it with the installed launcher,
# which keeps the high scores in ~/.local/share/mellow-quarrier/ so that they
# survive rebuilds and fresh checkouts. Arguments go to the launcher
# (./play.sh --help).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build_dir=${MQ_BUILD_DIR:-$repo/build}
"$repo/scripts/setup.sh" play

cmake --install "$build_dir" --prefix "$build_dir/stage" >/dev/null
exec "$build_dir/stage/games/mellow-quarrier" "$@"
