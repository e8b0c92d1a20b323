#!/usr/bin/env bash
# Builds the Debian package as a packager does: dpkg-buildpackage, without
# the tests, on a clean copy of the tree (the files git knows, as they stand)
# in FOLDER/mellow-quarrier, so that the packages land in FOLDER. FOLDER is
# emptied first. The package tests build twice, in folders of two lengths,
# under two umasks and time zones, and compare the two. A build runs one
# compiler at a time: the two builds and the other tests share the cores.
# Usage: package_build.sh SOURCE_DIR FOLDER UMASK [VARIABLE=VALUE...]
set -euo pipefail
source_dir=$(realpath "$1")
folder=$(realpath -m "$2")
mask=$3
shift 3
rm -rf "$folder"
mkdir -p "$folder/mellow-quarrier"
if git -C "$source_dir" rev-parse --git-dir >/dev/null 2>&1; then
  (cd "$source_dir" && git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
    tar --null -T - -cf -) | tar -xf - -C "$folder/mellow-quarrier"
else
  tar -C "$source_dir" --exclude='./build*' --exclude='./obj-*' -cf - . | tar -xf - -C "$folder/mellow-quarrier"
fi
if ! (umask "$mask" && cd "$folder/mellow-quarrier" &&
    env "$@" DEB_BUILD_OPTIONS=nocheck dpkg-buildpackage -us -uc >"$folder/build.log" 2>&1); then
  echo "dpkg-buildpackage in $folder failed:"
  tail -n 20 "$folder/build.log"
  exit 1
fi
rm -rf "$folder/mellow-quarrier"
ls "$folder"
