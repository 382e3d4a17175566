#!/bin/bash
# Runs the storm end-to-end scenario (a seeded random run of user actions
# against Tavix under Wine) for longer than CI does, and prints its figures:
# actions, boxes answered, worst answer time, and the program's handles, GDI
# objects, threads and private memory first, in the middle and last.
# Expects the Windows builds (scripts/build.sh win32 and/or win64).
#
#   scripts/storm.sh SECONDS [SEED]
#
# Without SEED the storm takes one from the clock (CI's run repeats the seeds
# kept in tests/e2e/storm_scenarios.cpp); the seed is printed either way, and
# a failure prints the actions that led to it.

set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/build_paths.sh
seconds=${1:-}
case "$seconds" in ''|*[!0-9]*) echo "usage: scripts/storm.sh SECONDS [SEED]" >&2; exit 2 ;; esac
if [ -n "${2:-}" ]; then
    case "$2" in *[!0-9]*) echo "usage: scripts/storm.sh SECONDS [SEED]" >&2; exit 2 ;; esac
    export TAVIX_STORM_SEED=$2
else
    export TAVIX_STORM_SEED=$(( $(date +%s) % 1000000000 + 1 ))
fi
builds=()
for kind in win32 win64; do
    dir=$(tavix_build_dir $kind)
    [ -f "$dir/tavix-e2e-driver.exe" ] && builds+=(--$kind "$dir")
done
[ ${#builds[@]} -gt 0 ] || { echo "storm: no Windows build with the driver (scripts/build.sh win32 or win64)" >&2; exit 2; }
tests/e2e/run.sh "${builds[@]}" --jobs 1 --storm-seconds "$seconds" storm
