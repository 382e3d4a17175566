#!/bin/bash
# Configures and builds one of Tavix's builds, reusing the build folder.
#
#   scripts/build.sh native|win32|win64
#
# Build folders are ${TAVIX_BUILD_PREFIX}native, ...win32, ...win64
# (TAVIX_BUILD_PREFIX defaults to build/; developers working side by side in
# one tree give each their own, e.g. build/w-). The win32 build is the shipped
# one and assembles dist/ at the top of the tree (a win32 build under a prefix
# of one's own keeps its dist/ in its build folder); the win64 build keeps its
# dist/ in its build folder. Each Windows build records its dist folder in
# dist-folder.txt, where the other scripts read it (scripts/build_paths.sh).
# TAVIX_JOBS sets the number of parallel compile jobs (default: 2 on a shared
# work machine, all cores under CI).

set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/build_paths.sh
kind=${1:-}
dir=$(tavix_build_dir "$kind")
args=(-G Ninja -DCMAKE_BUILD_TYPE=Release)
shipped_dist=$dir/dist
[ -z "${TAVIX_BUILD_PREFIX:-}" ] && shipped_dist=$root/dist
case "$kind" in
    native) ;;
    win32) args+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DTAVIX_DIST_DIR="$shipped_dist") ;;
    win64) args+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake") ;;
    *) echo "usage: scripts/build.sh native|win32|win64" >&2; exit 2 ;;
esac
if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" "${args[@]}" >/dev/null
fi
jobs=${TAVIX_JOBS:-2}
[ -z "${TAVIX_JOBS:-}" ] && [ "${CI:-}" = true ] && jobs=$(nproc)
cmake --build "$dir" -- -j"$jobs"
