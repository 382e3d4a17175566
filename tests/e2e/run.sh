#!/bin/bash
# End-to-end tests: runs the driver's scenarios against the real Tavix.exe
# under Wine, each scenario in a fresh copy of one freshly booted Wine prefix.
# The scenarios are shared out among workers, each with a private Xvfb
# display of its own; the results are printed in the order of the scenario
# list. Stops only what it started (its Xvfb servers by PID, its prefixes'
# wineservers), so several copies can run side by side.
#
#   tests/e2e/run.sh --win32 BUILD_DIR --win64 BUILD_DIR [options] [SCENARIO...]
#
#   --jobs N              workers (default $TAVIX_E2E_JOBS, else 2)
#   --wine32-loader PATH  the 32-bit Wine loader (default /usr/lib/wine/wine)
#   --wine64-loader PATH  the 64-bit Wine loader (default /usr/lib/wine/wine64)
#   --dry-run             check both builds' files and choose the build to
#                         test, then stop without starting Wine
#   --dpi N               the screen's resolution in dots per inch that Wine
#                         reports (LogPixels; default 96)
#   --storm-seconds N     how long the storm scenario runs (default
#                         $TAVIX_STORM_SECONDS, else 90); its seed comes from
#                         $TAVIX_STORM_SEED when set
#
# BUILD_DIR is a cross build folder: its dist folder (where the build put
# Tavix.exe with its data files, recorded in BUILD_DIR/dist-folder.txt) and
# tavix-e2e-driver.exe. Every given build is checked first, whichever is then
# tested: the 32-bit build where 32-bit Wine runs, otherwise the 64-bit one.
# Without scenario names, all the driver knows run. Ends with the line
# "e2e: N passed, N failed"; exit status 1 if any failed.
# Screenshots of failed scenarios and the logs go to tests/e2e/out/<run>/
# (or $TAVIX_E2E_OUT).

set -u

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
. "$root/scripts/build_paths.sh"

win32_dir=
win64_dir=
wine32_loader=/usr/lib/wine/wine
wine64_loader=/usr/lib/wine/wine64
jobs=${TAVIX_E2E_JOBS:-2}
dry_run=0
dpi=
storm_seconds=${TAVIX_STORM_SECONDS:-90}
scenarios=()
while [ $# -gt 0 ]; do
    case "$1" in
        --win32) win32_dir=$2; shift 2 ;;
        --win64) win64_dir=$2; shift 2 ;;
        --wine32-loader) wine32_loader=$2; shift 2 ;;
        --wine64-loader) wine64_loader=$2; shift 2 ;;
        --jobs) jobs=$2; shift 2 ;;
        --dry-run) dry_run=1; shift ;;
        --dpi) dpi=$2; shift 2 ;;
        --storm-seconds) storm_seconds=$2; shift 2 ;;
        -*) echo "run.sh: unknown option $1" >&2; exit 2 ;;
        *) scenarios+=("$1"); shift ;;
    esac
done
case "$jobs" in ''|*[!0-9]*|0) echo "run.sh: --jobs wants a positive number, not '$jobs'" >&2; exit 2 ;; esac
case "$storm_seconds" in ''|*[!0-9]*) echo "run.sh: --storm-seconds wants a number, not '$storm_seconds'" >&2; exit 2 ;; esac
case "$dpi" in *[!0-9]*) echo "run.sh: --dpi wants a number, not '$dpi'" >&2; exit 2 ;; esac
export TAVIX_STORM_SECONDS=$storm_seconds

say() { echo "e2e: $*"; }
give_up() {
    say "$*"
    say "0 passed, 1 failed"
    exit 1
}

# --- The builds' files ---------------------------------------------------------
# What a scenario run needs of a build: Tavix.exe with every data file beside
# it (the help pages in the folder named like the executable with HLP), and the
# driver. Prints each missing file; false if any is missing.
dist_of=()
missing_files() {
    local build=$1 dist file shipped status=0
    if [ ! -d "$build" ]; then
        echo "$build (no such build folder)"
        return 1
    fi
    dist=$(tavix_dist_dir "$build")
    if [ -z "$dist" ]; then
        echo "$build/dist-folder.txt (not a configured Windows build)"
        return 1
    fi
    for file in Tavix.exe $(cd "$root/data" && find . -type f | sed 's#^\./##' | sort); do
        shipped=${file/#help\//Tavix.HLP/}
        [ -f "$dist/$shipped" ] || { echo "$dist/$shipped"; status=1; }
    done
    [ -f "$build/tavix-e2e-driver.exe" ] || { echo "$build/tavix-e2e-driver.exe"; status=1; }
    return $status
}

[ -n "$win32_dir$win64_dir" ] || { echo "run.sh: give --win32 and/or --win64 build folders" >&2; exit 2; }
bad=0
given=()
[ -n "$win32_dir" ] && given+=("$win32_dir")
[ -n "$win64_dir" ] && given+=("$win64_dir")
for build in "${given[@]}"; do
    lost=$(missing_files "$build")
    if [ -n "$lost" ]; then
        while read -r f; do say "missing $f"; done <<<"$lost"
        bad=1
    fi
done
[ $bad -eq 0 ] || give_up "a Windows build lacks files the end-to-end run needs (build it first)"

# --- Which Wine, which build ---------------------------------------------------
usable() { [ -x "$1" ] && "$1" --version >/dev/null 2>&1; }
if [ -n "$win32_dir" ] && usable "$wine32_loader"; then
    loader=$wine32_loader
    export WINEARCH=win32
    build_dir=$win32_dir
    bits=32
    say "32-bit Wine works ($wine32_loader)"
elif [ -n "$win64_dir" ] && usable "$wine64_loader"; then
    loader=$wine64_loader
    export WINEARCH=win64
    build_dir=$win64_dir
    bits=64
    [ -n "$win32_dir" ] && say "32-bit Wine cannot run on this machine ($wine32_loader); the 32-bit build's files were checked"
else
    give_up "no usable Wine for the given builds (install wine, wine32:i386 and wine64)"
fi
build_dir=$(cd "$build_dir" && pwd)
dist_dir=$(cd "$(tavix_dist_dir "$build_dir")" && pwd)
driver=$build_dir/tavix-e2e-driver.exe
say "testing the $bits-bit Tavix.exe $dist_dir/Tavix.exe"
if [ $dry_run -eq 1 ]; then
    say "dry run: would run ${#scenarios[@]} named scenario(s), or all, under $loader"
    exit 0
fi

wineserver_bin=$(dirname "$loader")/wineserver
[ -x "$wineserver_bin" ] || wineserver_bin=/usr/lib/wine/wineserver
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

# --- Work folder, clean-up -----------------------------------------------------
work=$(mktemp -d /tmp/tavix-e2e.XXXXXX)
out=${TAVIX_E2E_OUT:-$root/tests/e2e/out/$(date +%Y%m%d-%H%M%S)-$$}
mkdir -p "$out" "$work/results" "$work/xvfb"

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

worker_pids=()
cleanup() {
    local p
    for p in "${worker_pids[@]}"; do kill "$p" 2>/dev/null; done
    for p in "${worker_pids[@]}"; do wait "$p" 2>/dev/null; done
    for p in "$work"/base "$work"/list-prefix "$work"/prefix-*; do
        [ -d "$p" ] && stop_prefix "$p"
    done
    for p in "$work"/xvfb/*.pid; do
        [ -f "$p" ] && kill "$(cat "$p")" 2>/dev/null
    done
    if [ -z "${TAVIX_E2E_KEEP:-}" ]; then rm -rf "$work"; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# --- X servers -----------------------------------------------------------------
# Starts a private Xvfb for the caller and sets DISPLAY. -displayfd lets Xvfb
# pick a free display itself (it takes the lock), so concurrent runs never
# collide on a number.
start_xvfb() {
    local name=$1
    Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$work/xvfb/$name.display" \
        >"$work/xvfb/$name.log" 2>&1 &
    echo $! >"$work/xvfb/$name.pid"
    for _ in $(seq 100); do
        [ -s "$work/xvfb/$name.display" ] && break
        sleep 0.1
    done
    [ -s "$work/xvfb/$name.display" ] || return 1
    export DISPLAY=:$(head -n1 "$work/xvfb/$name.display")
}

stop_xvfb() {
    local pid
    pid=$(cat "$work/xvfb/$1.pid" 2>/dev/null) || return 0
    kill "$pid" 2>/dev/null
    rm -f "$work/xvfb/$1.pid"
}

# --- One booted prefix, copied per scenario ------------------------------------
start_xvfb boot || give_up "Xvfb did not start: $(cat "$work/xvfb/boot.log")"
base=$work/base
start=$(date +%s)
if ! WINEPREFIX=$base "$loader" wineboot -i >"$work/wineboot.log" 2>&1; then
    give_up "wineboot failed: $(tail -n5 "$work/wineboot.log")"
fi
# The driver's virtual desktop gives windows a frame, as a window manager would.
WINEPREFIX=$base "$loader" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v tavix /d 1280x1000 /f >/dev/null 2>&1
# The dialogs ask for the Windows proportional Japanese face; without it Wine
# falls back to a wider one and cuts the dialogs' labels short. The IPA
# proportional face has the same widths.
WINEPREFIX=$base "$loader" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d 'IPAPGothic' /f >/dev/null 2>&1
# The screen's resolution: Wine reads LogPixels from the user's desktop
# settings, older versions from the current hardware profile's fonts key.
if [ -n "$dpi" ]; then
    WINEPREFIX=$base "$loader" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    WINEPREFIX=$base "$loader" reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
        /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    say "screen resolution $dpi dpi"
fi
stop_prefix "$base"
say "Wine prefix booted in $(( $(date +%s) - start )) s"

if [ ${#scenarios[@]} -eq 0 ]; then
    mkdir -p "$work/list"
    cp "$driver" "$work/list/"
    cp -a "$base" "$work/list-prefix"
    mapfile -t scenarios < <(WINEPREFIX=$work/list-prefix "$loader" "$work/list/tavix-e2e-driver.exe" --list 2>/dev/null | tr -d '\r')
    stop_prefix "$work/list-prefix"
    rm -rf "$work/list-prefix" "$work/list"
fi
stop_xvfb boot
count=${#scenarios[@]}
[ "$jobs" -gt "$count" ] && jobs=$count
[ "$jobs" -lt 1 ] && jobs=1
say "$count scenario(s) in $jobs worker(s)"

# --- Scenarios -----------------------------------------------------------------
to_windows_path() { echo "Z:${1//\//\\}"; }

# Runs scenario number $1 and writes its report (notes, then the result line)
# to results/$1.
run_scenario() {
    local index=$1 name=${scenarios[$1]} prefix app log code result notes
    prefix=$work/prefix-$index
    app=$work/app-$index
    cp -a "$base" "$prefix"
    mkdir -p "$app"
    cp -r "$dist_dir/." "$app/"
    cp "$driver" "$app/"
    # The command-line tool, for scenarios that read what the program saved.
    [ -f "$build_dir/tavix-cli.exe" ] && cp "$build_dir/tavix-cli.exe" "$app/"
    log=$out/$name.log
    local limit=${TAVIX_E2E_TIMEOUT:-180}
    [ "$name" = storm ] && [ "$limit" -lt $((storm_seconds + 150)) ] && limit=$((storm_seconds + 150))
    WINEPREFIX=$prefix timeout "$limit" "$loader" "$app/tavix-e2e-driver.exe" --desktop tavix \
        --shots "$(to_windows_path "$out")" "$name" >"$log" 2>&1
    code=$?
    notes=$(tr -d '\r' < "$log" | grep -E '^  \.\. ')
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
    [ -z "${TAVIX_E2E_KEEP:-}" ] && rm -rf "$prefix" "$app"
    { [ -n "$notes" ] && echo "$notes"; echo "$result"; } >"$work/results/$index.tmp"
    mv "$work/results/$index.tmp" "$work/results/$index"
}

# Hands out the next scenario number; empty when none is left.
claim_next() {
    (
        flock 9
        local next
        next=$(cat "$work/next" 2>/dev/null || echo 0)
        [ "$next" -lt "$count" ] || exit 0
        echo $((next + 1)) >"$work/next"
        echo "$next"
    ) 9>"$work/next.lock"
}

worker() {
    local id=$1 index
    if ! start_xvfb "worker$id"; then
        echo "worker $id: Xvfb did not start" >"$work/worker$id.error"
        return 1
    fi
    while index=$(claim_next) && [ -n "$index" ]; do
        run_scenario "$index"
    done
    stop_xvfb "worker$id"
}

echo 0 >"$work/next"
run_start=$(date +%s)
for id in $(seq "$jobs"); do
    worker "$id" &
    worker_pids+=($!)
done

workers_alive() {
    local p
    for p in "${worker_pids[@]}"; do kill -0 "$p" 2>/dev/null && return 0; done
    return 1
}

passed=0
failed=0
for index in $(seq 0 $((count - 1))); do
    while [ ! -f "$work/results/$index" ] && workers_alive; do sleep 0.2; done
    if [ -f "$work/results/$index" ]; then
        report=$(cat "$work/results/$index")
    else
        report="FAIL ${scenarios[$index]}: no worker ran it ($(cat "$work"/worker*.error 2>/dev/null | head -n1))"
    fi
    echo "$report"
    if [ "$(tail -n1 <<<"$report" | cut -d' ' -f1)" = PASS ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
done
for p in "${worker_pids[@]}"; do wait "$p" 2>/dev/null; done
worker_pids=()

say "scenarios took $(( $(date +%s) - run_start )) s in $jobs worker(s)"
say "logs in $out"
say "$passed passed, $failed failed"
[ $failed -eq 0 ]
