#!/bin/bash
# End-to-end tests: runs the driver's scenarios against the real Tavix.exe
# under Wine on a private Xvfb display, each scenario in a fresh copy of a
# freshly booted Wine prefix. Stops only what it started (its Xvfb by PID, its
# prefixes' wineservers), so several copies can run side by side.
#
#   tests/e2e/run.sh --win32 BUILD_DIR --win64 BUILD_DIR [SCENARIO...]
#
# BUILD_DIR is a cross build folder holding dist/Tavix.exe and
# tavix-e2e-driver.exe. The 32-bit build is tested where 32-bit Wine runs,
# otherwise the 64-bit build. Without scenario names, all the driver knows run.
# Ends with the line "e2e: N passed, N failed"; exit status 1 if any failed.
# Screenshots of failed scenarios and the logs go to tests/e2e/out/<run>/
# (or $TAVIX_E2E_OUT).

set -u

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
win32_dir=
win64_dir=
scenarios=()
while [ $# -gt 0 ]; do
    case "$1" in
        --win32) win32_dir=$2; shift 2 ;;
        --win64) win64_dir=$2; shift 2 ;;
        -*) echo "run.sh: unknown option $1" >&2; exit 2 ;;
        *) scenarios+=("$1"); shift ;;
    esac
done

say() { echo "e2e: $*"; }

# --- Which Wine, which build -------------------------------------------------
wine32_loader=/usr/lib/wine/wine
wine64_loader=/usr/lib/wine/wine64
if [ -n "$win32_dir" ] && [ -x "$wine32_loader" ] && "$wine32_loader" --version >/dev/null 2>&1; then
    loader=$wine32_loader
    export WINEARCH=win32
    build_dir=$win32_dir
    say "32-bit Wine works: testing the 32-bit Tavix.exe from $build_dir"
elif [ -n "$win64_dir" ] && [ -x "$wine64_loader" ] && "$wine64_loader" --version >/dev/null 2>&1; then
    loader=$wine64_loader
    export WINEARCH=win64
    build_dir=$win64_dir
    if [ -n "$win32_dir" ]; then
        say "32-bit Wine cannot run on this machine: testing the 64-bit Tavix.exe from $build_dir"
    else
        say "testing the 64-bit Tavix.exe from $build_dir"
    fi
else
    say "no usable Wine for the given builds (install wine, wine32:i386 and wine64)"
    say "0 passed, 1 failed"
    exit 1
fi
build_dir=$(cd "$build_dir" && pwd)
for f in "$build_dir/dist/Tavix.exe" "$build_dir/tavix-e2e-driver.exe"; do
    if [ ! -f "$f" ]; then
        say "missing $f (build it first)"
        say "0 passed, 1 failed"
        exit 1
    fi
done
wineserver_bin=/usr/lib/wine/wineserver
[ -x "$wineserver_bin" ] || wineserver_bin=$(command -v wineserver)

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    export LANG=ja_JP.UTF-8
else
    say "warning: locale ja_JP.UTF-8 is not generated; Japanese texts will not show (run scripts/setup.sh)"
    export LANG=C.UTF-8
fi
unset LC_ALL

# --- Work folder, clean-up ---------------------------------------------------
work=$(mktemp -d /tmp/tavix-e2e.XXXXXX)
out=${TAVIX_E2E_OUT:-$root/tests/e2e/out/$(date +%Y%m%d-%H%M%S)-$$}
mkdir -p "$out"
xvfb_pid=
prefixes=()

# The processes whose environment names one of our prefixes: ours alone.
prefix_processes() {
    grep -lzx "WINEPREFIX=$1" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3
}

stop_prefix() {
    local prefix=$1 left
    WINEPREFIX=$prefix "$wineserver_bin" -k >/dev/null 2>&1
    for _ in $(seq 50); do
        left=$(prefix_processes "$prefix")
        [ -z "$left" ] && return 0
        sleep 0.1
    done
    # Still there after wineserver -k: end them by PID (they are ours: they
    # carry our private prefix).
    kill -9 $left 2>/dev/null
    return 1
}

cleanup() {
    local p
    for p in "${prefixes[@]}"; do stop_prefix "$p"; done
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    if [ -z "${TAVIX_E2E_KEEP:-}" ]; then rm -rf "$work"; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# --- X server ------------------------------------------------------------------
# -displayfd lets Xvfb pick a free display itself (it takes the lock), so
# concurrent runs never collide on a number.
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    say "Xvfb did not start: $(cat "$work/xvfb.log")"
    say "0 passed, 1 failed"
    exit 1
fi
export DISPLAY=:$(head -n1 "$work/display")
say "Xvfb on display $DISPLAY (pid $xvfb_pid), work folder $work"

# --- One booted prefix, copied per scenario --------------------------------------
base=$work/base
prefixes+=("$base")
start=$(date +%s)
if ! WINEPREFIX=$base "$loader" wineboot -i >"$work/wineboot.log" 2>&1; then
    say "wineboot failed: $(tail -n5 "$work/wineboot.log")"
    say "0 passed, 1 failed"
    exit 1
fi
# The driver's virtual desktop gives windows a frame, as a window manager would.
WINEPREFIX=$base "$loader" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v tavix /d 1280x1000 /f >/dev/null 2>&1
stop_prefix "$base"
say "Wine prefix booted in $(( $(date +%s) - start )) s"

if [ ${#scenarios[@]} -eq 0 ]; then
    mkdir -p "$work/list"
    cp "$build_dir/tavix-e2e-driver.exe" "$work/list/"
    cp -a "$base" "$work/list-prefix"
    prefixes+=("$work/list-prefix")
    mapfile -t scenarios < <(WINEPREFIX=$work/list-prefix "$loader" "$work/list/tavix-e2e-driver.exe" --list 2>/dev/null | tr -d '\r')
    stop_prefix "$work/list-prefix"
fi

# --- Scenarios -------------------------------------------------------------------
passed=0
failed=0
to_windows_path() { echo "Z:${1//\//\\}"; }
for name in "${scenarios[@]}"; do
    [ -z "$name" ] && continue
    prefix=$work/prefix-$name
    app=$work/app-$name
    cp -a "$base" "$prefix"
    prefixes+=("$prefix")
    mkdir -p "$app"
    cp -r "$build_dir/dist/." "$app/"
    cp "$build_dir/tavix-e2e-driver.exe" "$app/"
    log=$out/$name.log
    WINEPREFIX=$prefix timeout "${TAVIX_E2E_TIMEOUT:-180}" "$loader" "$app/tavix-e2e-driver.exe" --desktop tavix \
        --shots "$(to_windows_path "$out")" "$name" >"$log" 2>&1
    code=$?
    tr -d '\r' < "$log" | grep -E '^  \.\. ' || true
    result=$(tr -d '\r' < "$log" | grep -E "^(PASS|FAIL) $name(:|\$)" | tail -n1)
    if [ -z "$result" ]; then
        result="FAIL $name: the driver ended with code $code without a result"
    elif [ "${result%% *}" = PASS ] && [ $code -ne 0 ]; then
        result="FAIL $name: the driver ended with code $code"
    fi
    if [ "${result%% *}" = FAIL ]; then
        # The driver's own picture shows the moment of the failure; without
        # one (the driver died or hung) take the screen as it is now.
        if [ -f "$out/$name.bmp" ]; then
            convert "$out/$name.bmp" "$out/$name.png" >/dev/null 2>&1 && rm -f "$out/$name.bmp"
        else
            import -display "$DISPLAY" -window root "$out/$name.png" >/dev/null 2>&1
        fi
        [ -f "$out/$name.png" ] && result="$result (screenshot $out/$name.png)"
    fi
    # Nothing of the scenario's prefix may outlive it.
    if ! stop_prefix "$prefix" && [ "${result%% *}" = PASS ]; then
        result="FAIL $name: processes of its Wine prefix were still running"
    fi
    echo "$result"
    if [ "${result%% *}" = PASS ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
    [ -z "${TAVIX_E2E_KEEP:-}" ] && rm -rf "$prefix" "$app"
done

say "logs in $out"
say "$passed passed, $failed failed"
[ $failed -eq 0 ]
