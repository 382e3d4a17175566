#!/bin/bash
# Builds Tavix and starts it: under Wine on Linux, on your X display.
# Installs missing packages first (scripts/setup.sh). Extra arguments go to
# Tavix.exe (a record file to open).

set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/build_paths.sh

scripts/setup.sh
echo "run: building Tavix.exe"
scripts/build.sh win32 >/dev/null
build=$(tavix_build_dir win32)
loader=/usr/lib/wine/wine
if ! "$loader" --version >/dev/null 2>&1; then
    # This kernel cannot run 32-bit Linux programs, so 32-bit Wine cannot
    # start; the same sources built for 64-bit Windows run under wine64.
    echo "run: 32-bit Wine cannot run on this machine; starting the 64-bit build instead"
    scripts/build.sh win64 >/dev/null
    build=$(tavix_build_dir win64)
    loader=/usr/lib/wine/wine64
fi
dist=$(tavix_dist_dir "$build")
exe=$dist/Tavix.exe
if [ ! -f "$exe" ]; then
    echo "run: the build in $build did not produce $exe" >&2
    exit 1
fi
echo "run: built $exe"

if [ -z "${DISPLAY:-}" ]; then
    cat >&2 <<MSG
run: cannot start Tavix: there is no X display (DISPLAY is not set).
     Tavix is a Windows program and runs here under Wine, which needs an X
     server to show its window. Run this command from a graphical session, over
     "ssh -X", or start a virtual one first, e.g.
         Xvfb :1 -screen 0 1280x1024x24 & export DISPLAY=:1
     Tavix.exe for Windows is ready in $(tavix_dist_dir "$(tavix_build_dir win32)")/
     (copy that folder to a Windows machine to run it there).
MSG
    exit 1
fi

export LANG=ja_JP.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
echo "run: starting Tavix on display $DISPLAY"
exec "$loader" "$exe" "$@"
