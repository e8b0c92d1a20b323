#!/bin/sh
# Redraws the level gallery: docs/levels/NAME.png for every level in
# levels/levels.txt, and the page docs/levels.md that shows them.
#
#   tools/gallery/make-gallery.sh BUILD_DIR [--built]
#
# --built skips building level-gallery and assets.dat first (the level_gallery
# target has built them already).
#
# level-gallery draws 512 by 520 BMPs with the game's own tiles (the level
# at full size over its floor strip); ImageMagick (the real one,
# /usr/bin/convert) turns them into PNGs pixel for pixel, without time stamps
# so that an unchanged level gives an unchanged file.
set -eu
build=${1:?usage: make-gallery.sh BUILD_DIR [--built]}
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ "${2:-}" != "--built" ]; then
  cmake --build "$build" --target level-gallery assets_dat
fi
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
"$build/tools/gallery/level-gallery" --assets "$build/run/assets.dat" \
  "$root/levels/levels.txt" "$stage" "$root/docs/levels.md" levels
mkdir -p "$root/docs/levels"
rm -f "$root/docs/levels/"*.png
for picture in "$stage"/*.bmp; do
  name=$(basename "$picture" .bmp)
  /usr/bin/convert "$picture" -strip \
    -define png:exclude-chunks=date,time "$root/docs/levels/$name.png"
done
echo "gallery: $(ls "$root/docs/levels/"*.png | wc -l) pictures in $root/docs/levels"
