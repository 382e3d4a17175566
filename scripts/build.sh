#!/bin/bash
# Configures and builds one of Tavix's builds, reusing the build folder.
#
#   scripts/build.sh native|win32|win64
#
# Build folders are ${TAVIX_BUILD_PREFIX}native, ...win32, ...win64
# (TAVIX_BUILD_PREFIX defaults to build/; developers working side by side in
# one tree give each their own, e.g. build/w-). The win32 build is the shipped
# one and assembles dist/ at the top of the tree; TAVIX_JOBS sets the number
# of parallel compile jobs (default: 2 on a shared work machine, all cores
# under CI).

set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
kind=$1
prefix=${TAVIX_BUILD_PREFIX:-build/}
dir=$prefix$kind
args=(-G Ninja -DCMAKE_BUILD_TYPE=Release)
case "$kind" in
    native) ;;
    win32) args+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DTAVIX_DIST_DIR="$root/dist") ;;
    win64) args+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake") ;;
    *) echo "usage: scripts/build.sh native|win32|win64" >&2; exit 2 ;;
esac
if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" "${args[@]}" >/dev/null
fi
jobs=${TAVIX_JOBS:-2}
[ -z "${TAVIX_JOBS:-}" ] && [ "${CI:-}" = true ] && jobs=$(nproc)
cmake --build "$dir" -- -j"$jobs"
