#!/bin/bash
# Checks of the end-to-end runner's choice of build, so that the branch a
# machine does not take is still checked there: a machine that runs 32-bit
# Wine tests the 32-bit Tavix.exe, one that cannot falls back to the 64-bit
# build, and a build folder whose files are not where its build put them
# fails the run whichever branch is taken.
#
#   tests/e2e/branch_checks.sh WIN32_BUILD_DIR WIN64_BUILD_DIR
#
# Prints "PASS name" or "FAIL name: reason" per check and ends with
# "branch checks: N passed, N failed".

set -u
here=$(cd "$(dirname "$0")" && pwd)
win32=$1
win64=$2
runner=$here/run.sh
passed=0
failed=0
work=$(mktemp -d /tmp/tavix-branch.XXXXXX)
trap 'rm -rf "$work"' EXIT

check() {
    local name=$1 reason=$2
    if [ -z "$reason" ]; then
        echo "PASS $name"
        passed=$((passed + 1))
    else
        echo "FAIL $name: $reason"
        failed=$((failed + 1))
    fi
}

# A loader that answers --version as a working Wine does: the 32-bit branch's
# path resolution can be checked on a machine whose kernel runs no 32-bit
# program.
stand_in=$work/wine-stand-in
printf '#!/bin/sh\necho wine-stand-in\n' >"$stand_in"
chmod +x "$stand_in"
absent=$work/no-such-wine

# runs NAME EXPECTED_STATUS EXPECTED_TEXT RUNNER_ARGS...: the runner's dry run
# must end with the status and print the text.
expect() {
    local name=$1 status=$2 text=$3 output code
    shift 3
    output=$("$runner" --dry-run "$@" 2>&1)
    code=$?
    if [ "$code" -ne "$status" ]; then
        check "$name" "exit status $code, not $status: $(tail -n1 <<<"$output")"
    elif ! grep -qF -- "$text" <<<"$output"; then
        check "$name" "the runner did not say \"$text\": $(tr '\n' ' ' <<<"$output")"
    else
        check "$name" ""
    fi
}

dist32=$(cd "$here/../.." && . scripts/build_paths.sh && tavix_dist_dir "$win32")
dist64=$(cd "$here/../.." && . scripts/build_paths.sh && tavix_dist_dir "$win64")

expect branch_32bit_resolves_shipped_dist 0 "testing the 32-bit Tavix.exe $(cd "$dist32" 2>/dev/null && pwd)/Tavix.exe" \
    --win32 "$win32" --win64 "$win64" --wine32-loader "$stand_in"
expect branch_64bit_when_32bit_wine_is_missing 0 "testing the 64-bit Tavix.exe $(cd "$dist64" 2>/dev/null && pwd)/Tavix.exe" \
    --win32 "$win32" --win64 "$win64" --wine32-loader "$absent" --wine64-loader "$stand_in"

# A build folder that records a dist folder holding nothing: both branches
# must refuse it, the one taken and the one only checked.
broken=$work/broken-build
mkdir -p "$broken/dist"
cp "$win32/tavix-e2e-driver.exe" "$broken/" 2>/dev/null
echo "$broken/dist" >"$broken/dist-folder.txt"
expect branch_32bit_wrong_dist_fails 1 "missing $broken/dist/Tavix.exe" \
    --win32 "$broken" --win64 "$win64" --wine32-loader "$stand_in"
expect branch_64bit_run_checks_the_32bit_dist 1 "missing $broken/dist/Tavix.exe" \
    --win32 "$broken" --win64 "$win64" --wine32-loader "$absent" --wine64-loader "$stand_in"
# One data file missing is as fatal as the program itself.
mkdir -p "$work/partial/dist"
cp "$win64/tavix-e2e-driver.exe" "$work/partial/" 2>/dev/null
[ -n "$dist64" ] && cp -r "$dist64/." "$work/partial/dist/"
rm -f "$work/partial/dist/Tavix.WAV"
echo "$work/partial/dist" >"$work/partial/dist-folder.txt"
expect branch_missing_data_file_fails 1 "missing $work/partial/dist/Tavix.WAV" \
    --win32 "$win32" --win64 "$work/partial" --wine32-loader "$absent" --wine64-loader "$stand_in"

echo "branch checks: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
