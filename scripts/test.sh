#!/bin/bash
# Builds everything and runs every test: installs missing packages
# (scripts/setup.sh), builds native, win32 and win64, runs the unit tests,
# each fuzz target for TAVIX_FUZZ_SECONDS (default 30), the checks of the
# end-to-end runner's choice of build and the end-to-end scenarios under Wine
# (TAVIX_E2E_JOBS workers, default 2). The last line is
# "N passed, N failed" over unit tests, fuzz targets and end-to-end scenarios
# together; the exit status is non-zero when anything failed.

set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/build_paths.sh
passed=0
failed=0
started=$(date +%s)

finish() {
    echo "test: took $(( $(date +%s) - started )) s"
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ] && exit 0
    exit 1
}

if ! scripts/setup.sh; then
    echo "test: setting up the machine failed"
    failed=$((failed + 1))
    finish
fi

builds_ok=1
for kind in native win32 win64; do
    echo "test: building $kind"
    log=$(mktemp /tmp/tavix-build.XXXXXX)
    build_start=$(date +%s)
    if ! scripts/build.sh "$kind" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "test: the $kind build failed"
        failed=$((failed + 1))
        builds_ok=0
    else
        echo "test: built $kind in $(( $(date +%s) - build_start )) s"
    fi
    rm -f "$log"
done

# Unit tests: every GoogleTest case counts.
unit=$(tavix_build_dir native)/tavix-unit-tests
if [ -x "$unit" ]; then
    echo "test: unit tests"
    json=$(mktemp /tmp/tavix-unit.XXXXXX.json)
    # A hanging test must not hold the run for ever.
    timeout "${TAVIX_UNIT_TIMEOUT:-900}" "$unit" --gtest_brief=1 --gtest_output="json:$json"
    code=$?
    total=$(grep -o '"tests": [0-9]*' "$json" 2>/dev/null | head -n1 | grep -o '[0-9]*$')
    bad=$(grep -o '"failures": [0-9]*' "$json" 2>/dev/null | head -n1 | grep -o '[0-9]*$')
    bad_errors=$(grep -o '"errors": [0-9]*' "$json" 2>/dev/null | head -n1 | grep -o '[0-9]*$')
    disabled=$(grep -o '"disabled": [0-9]*' "$json" 2>/dev/null | head -n1 | grep -o '[0-9]*$')
    [ -n "$total" ] && total=$((total - ${disabled:-0}))
    rm -f "$json"
    if [ -z "$total" ]; then
        echo "test: the unit tests ended with code $code before reporting"
        failed=$((failed + 1))
    else
        bad=$(( ${bad:-0} + ${bad_errors:-0} ))
        echo "test: unit tests: $((total - bad)) passed, $bad failed"
        passed=$((passed + total - bad))
        failed=$((failed + bad))
        [ "$bad" -eq 0 ] && [ "$code" -ne 0 ] && { echo "test: the unit tests ended with code $code"; failed=$((failed + 1)); }
    fi
fi

# Adds the counts of a summary line "... N passed, N failed" in log $2 to the
# totals; a run without one ($1 names it) counts as one failure.
count_summary() {
    local summary
    summary=$(grep -E "^$3 [0-9]+ passed, [0-9]+ failed\$" "$2" | tail -n1)
    if [ -z "$summary" ]; then
        echo "test: $1 ended without a summary"
        failed=$((failed + 1))
        return 1
    fi
    summary=${summary#"$3 "}
    set -- $summary
    passed=$((passed + $1))
    failed=$((failed + $3))
}

# The shipped opening book loads without a single bad line.
cli=$(tavix_build_dir native)/tavix-cli
if "$cli" book check data/Tavix.STD; then
    passed=$((passed + 1))
else
    echo "test: the shipped book data/Tavix.STD has bad lines (or tavix-cli is missing)"
    failed=$((failed + 1))
fi

# Layers point one way: nothing below the shell includes a header of app/.
upward=$(grep -rln '#include "app/' core engine book record config session view research database 2>/dev/null)
if [ -z "$upward" ]; then
    passed=$((passed + 1))
else
    echo "test: these files below the shell include app/ headers:" $upward
    failed=$((failed + 1))
fi

# Fuzzing: each target of the parsers of outside data for a while; a clean
# run counts as passed, a finding as failed.
echo "test: fuzzing for ${TAVIX_FUZZ_SECONDS:-30} s per target"
log=$(mktemp /tmp/tavix-fuzz-log.XXXXXX)
nice -n 10 scripts/fuzz.sh all "${TAVIX_FUZZ_SECONDS:-30}" 2>&1 | tee "$log"
count_summary "the fuzzing run" "$log" "fuzz:"
rm -f "$log"

# End-to-end scenarios under Wine.
if [ $builds_ok -eq 1 ]; then
    win32=$(tavix_build_dir win32)
    win64=$(tavix_build_dir win64)
    log=$(mktemp /tmp/tavix-e2e-log.XXXXXX)

    # Both branches of the runner's choice, whichever this machine takes.
    echo "test: end-to-end runner's choice of build"
    tests/e2e/branch_checks.sh "$win32" "$win64" 2>&1 | tee "$log"
    count_summary "the branch checks" "$log" "branch checks:"

    echo "test: end-to-end tests"
    e2e_start=$(date +%s)
    tests/e2e/run.sh --win32 "$win32" --win64 "$win64" 2>&1 | tee "$log"
    count_summary "the end-to-end run" "$log" "e2e:" &&
        echo "test: end-to-end tests took $(( $(date +%s) - e2e_start )) s"
    # Where the scenarios ran the 32-bit build, the 64-bit one still starts
    # and closes under wine64.
    if grep -q '^e2e: testing the 32-bit' "$log"; then
        echo "test: the 64-bit build under wine64"
        tests/e2e/run.sh --win64 "$win64" start_and_close initial_board_and_panel 2>&1 | tee "$log"
        count_summary "the 64-bit run" "$log" "e2e:"
    fi
    rm -f "$log"
fi

finish
