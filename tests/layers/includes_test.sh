#!/usr/bin/env bash
# Fails on an #include whose path holds "..". Each layer puts only its own
# include root on the path, so that a header of a layer it may not use does
# not compile; a relative path climbs out of its folder and past that wall.
# Usage: includes_test.sh CHECKOUT
set -euo pipefail
root=$1
cd "$root"
if climbing=$(grep -rnE --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.cc' \
    '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"][^">]*\.\.' src tools tests bench); then
  echo "includes that climb out of their folder (write the layer's own path, \"layer/header.h\"):"
  echo "$climbing"
  exit 1
fi
echo "no include climbs out of its folder"
