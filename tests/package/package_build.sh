#!/usr/bin/env bash
# Builds the Debian package as a packager does: dpkg-buildpackage, without
# the tests, on a clean copy of the tree (the files git knows, as they stand)
# in FOLDER/mellow-quarrier, so that the packages land in FOLDER. FOLDER is
# emptied first. The package tests build twice, in folders of two lengths,
# under two umasks and time zones, and compare the two.
# The compiler goes through MQ_COMPILER_LAUNCHER when set (a command line,
# split at spaces): the tests' own build is compiled with Debian's flags
# through a compiler cache, so both builds take the objects it made and
# spend their time on what packaging could vary. The cache compiles again
# whatever the folder, the time or the environment could reach; the objects
# it hands over are those whose paths Debian's -ffile-prefix-map maps away
# in any build. The data, the links, the file modes and the archives are
# made again in full each time.
# Usage: package_build.sh SOURCE_DIR FOLDER UMASK [VARIABLE=VALUE...]
set -euo pipefail
MQ_COMPILER_LAUNCHER=${MQ_COMPILER_LAUNCHER:-}
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
# The compiler runs in the locale of the tests' build, which the cache keys
# its objects by; every other step of the build runs in the one given.
launcher=
if [ -n "$MQ_COMPILER_LAUNCHER" ]; then
  launcher="env;-u;LANG;-u;LC_ALL${LANG+;LANG=$LANG}${LC_ALL+;LC_ALL=$LC_ALL};${MQ_COMPILER_LAUNCHER// /;}"
fi
if ! (umask "$mask" && cd "$folder/mellow-quarrier" &&
    env "$@" CMAKE_CXX_COMPILER_LAUNCHER="$launcher" DEB_BUILD_OPTIONS=nocheck dpkg-buildpackage -us -uc >"$folder/build.log" 2>&1); then
  echo "dpkg-buildpackage in $folder failed:"
  tail -n 20 "$folder/build.log"
  exit 1
fi
rm -rf "$folder/mellow-quarrier"
ls "$folder"
