#!/usr/bin/env bash
# Gets a checkout ready on Debian: installs the packages that are missing,
# configures and builds. Usage: scripts/setup.sh play|test
# play builds only what playing needs: the game, its data files and the tools
# the installed game runs; test builds everything, tests and benchmarks too,
# and installs what the package test needs to build the Debian package.
# (A packager installs the package's own build needs: apt-get build-dep ./)
# MQ_BUILD_DIR overrides the build folder (default: build/ in the checkout).
set -euo pipefail

mode=${1:-play}
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=$(realpath -m "${MQ_BUILD_DIR:-$repo/build}")

play_packages=(cmake g++ make pkg-config liballegro4-dev libx11-dev x11-utils)
test_packages=(build-essential dpkg-dev debhelper libgtest-dev xvfb xdotool x11-xserver-utils imagemagick python3 time valgrind clang libclang-rt-14-dev
  libbenchmark-dev lintian desktop-file-utils appstream ccache)

packages=("${play_packages[@]}")
build_tests=OFF
case $mode in
  play) ;;
  test) packages+=("${test_packages[@]}"); build_tests=ON ;;
  *) echo "usage: scripts/setup.sh play|test" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
  fi
  "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y "${missing[@]}"
fi

configure=(-DMQ_BUILD_TESTS=$build_tests)
if [ "$mode" = test ]; then
  # Compiled as the Debian package is, with Debian's flags for this source
  # folder and through a compiler cache, so that the package the tests build
  # reuses these objects instead of compiling the game again. A cache the
  # caller set up (CMAKE_CXX_COMPILER_LAUNCHER) is used as it is.
  buildflags() { (cd "$repo" && DEB_BUILD_MAINT_OPTIONS=$(sed -n 's/^export DEB_BUILD_MAINT_OPTIONS = //p' debian/rules) \
    dpkg-buildflags --get "$1"); }
  configure+=(-DCMAKE_BUILD_TYPE=None "-DCMAKE_CXX_FLAGS=$(buildflags CXXFLAGS) $(buildflags CPPFLAGS)"
    "-DCMAKE_EXE_LINKER_FLAGS=$(buildflags LDFLAGS)")
  if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ]; then
    # Paths relative to a folder above the sources and the build, and the
    # working folder left out, which Debian's flags map away in any case.
    base=$repo
    while [ "$base" != / ] && [ "${build_dir#"$base"/}" = "$build_dir" ]; do base=$(dirname "$base"); done
    configure+=("-DCMAKE_CXX_COMPILER_LAUNCHER=env;CCACHE_DIR=$build_dir/ccache;CCACHE_BASEDIR=$base;CCACHE_NOHASHDIR=1;ccache")
  fi
fi
cmake -S "$repo" -B "$build_dir" "${configure[@]}"
cmake --build "$build_dir" -j "$(nproc)"
