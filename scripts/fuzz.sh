#!/bin/bash
# Builds the libFuzzer targets (clang, address and undefined-behaviour
# sanitizers; build folder ${TAVIX_BUILD_PREFIX}fuzz) and runs them.
#
#   scripts/fuzz.sh [TARGET] [SECONDS | Nruns] [--runs N] [--keep DIR] [--fork N]
#
# Without TARGET (or with "all") every target of cmake/fuzz.cmake runs, each
# for SECONDS (default 30), or for N executions when given as "Nruns" (e.g.
# 10000000runs) or --runs N, from its seed corpus in tests/fuzz/corpus/TARGET,
# which it only reads: new inputs go to a scratch folder, kept in
# DIR/TARGET with --keep DIR (to merge the useful ones into the seeds:
# fuzz_TARGET -merge=1 tests/fuzz/corpus/TARGET DIR/TARGET). A finding (a crash,
# a sanitizer report, a failed check, a leak or a time-out) leaves its input
# in ${TAVIX_FUZZ_FINDINGS:-build/fuzz-findings}/TARGET (emptied when the
# target runs again). Prints one line per
# target ("fuzz: TARGET: N runs, cov N, ft N, N findings": the executions,
# and the code edges and features libFuzzer reached) and ends with
# "fuzz: N passed, N failed"; a clean run passes, a finding fails.
# --fork N runs N fuzzing processes side by side (libFuzzer's fork mode),
# the run count being their sum; cov and ft are then read from the seeds
# and the grown corpus together, as a run of one process reports them.

set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/build_paths.sh
usage() {
    echo "usage: scripts/fuzz.sh [TARGET|all] [SECONDS|Nruns] [--runs N] [--keep DIR] [--fork N]" >&2
    exit 2
}
target=all
seconds=30
runs_limit=
keep=
fork=
positional=0
while [ $# -gt 0 ]; do
    case "$1" in
        --runs) [ $# -ge 2 ] || usage; runs_limit=$2; shift 2 ;;
        --keep) [ $# -ge 2 ] || usage; keep=$2; shift 2 ;;
        --fork) [ $# -ge 2 ] || usage; fork=$2; shift 2 ;;
        -*) usage ;;
        *)
            positional=$((positional + 1))
            case "$positional" in
                1) target=$1 ;;
                2) case "$1" in *runs) runs_limit=${1%runs} ;; *) seconds=$1 ;; esac ;;
                *) usage ;;
            esac
            shift ;;
    esac
done
case "$seconds" in ''|*[!0-9]*) usage ;; esac
[ -n "$runs_limit" ] && case "$runs_limit" in *[!0-9]*) usage ;; esac
[ -n "$fork" ] && case "$fork" in ''|*[!0-9]*) usage ;; esac
# A run count replaces the time limit.
limit=(-max_total_time="$seconds")
[ -n "$runs_limit" ] && limit=(-runs="$runs_limit")
dir=$(tavix_build_dir fuzz)
findings_root=${TAVIX_FUZZ_FINDINGS:-$root/build/fuzz-findings}

if [ ! -f "$dir/build.ninja" ]; then
    CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVIX_FUZZ=ON >/dev/null || {
        echo "fuzz: configuring the fuzzing build failed"
        echo "fuzz: 0 passed, 1 failed"
        exit 1
    }
fi
jobs=${TAVIX_JOBS:-2}
[ -z "${TAVIX_JOBS:-}" ] && [ "${CI:-}" = true ] && jobs=$(nproc)
if ! cmake --build "$dir" -- -j"$jobs" >"$dir/build.log" 2>&1; then
    tail -n 40 "$dir/build.log"
    echo "fuzz: building the targets failed"
    echo "fuzz: 0 passed, 1 failed"
    exit 1
fi

targets=$(cat "$dir/fuzz-targets.txt")
if [ "$target" != all ]; then
    if ! grep -qx "$target" <<<"$targets"; then
        echo "fuzz: no target '$target' (targets: $(echo $targets))" >&2
        exit 2
    fi
    targets=$target
fi

passed=0
failed=0
for t in $targets; do
    scratch=$(mktemp -d /tmp/tavix-fuzz.XXXXXX)
    findings=$findings_root/$t
    rm -rf "$findings"
    mkdir -p "$findings" "$scratch/corpus"
    log=$scratch/log
    seeds=$root/tests/fuzz/corpus/$t
    # The scratch corpus comes first: new inputs land there, not in the tree.
    "$dir/fuzz_$t" "${limit[@]}" ${fork:+-fork="$fork"} -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$scratch/corpus" "$seeds" >"$log" 2>&1 </dev/null
    code=$?
    if [ -n "$fork" ]; then
        # The sum of the processes' runs: "#N: cov: ..." lines, the last one
        # or "INFO: fuzzed for N iterations"; coverage as one process sees
        # the corpus.
        runs=$(grep -o -E '^#[0-9]+:|fuzzed for [0-9]+ iterations' "$log" | grep -o '[0-9]*' | sort -n | tail -n1)
        "$dir/fuzz_$t" -runs=0 -rss_limit_mb=1024 "$scratch/corpus" "$seeds" >"$scratch/inited" 2>&1 </dev/null
        cov=$(grep -o 'INITED cov: [0-9]*' "$scratch/inited" | tail -n1 | grep -o '[0-9]*$')
        ft=$(grep -o 'INITED.* ft: [0-9]*' "$scratch/inited" | tail -n1 | grep -o '[0-9]*$')
    else
        runs=$(grep -o '^stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -n1)
        # The last status line: "#N DONE cov: C ft: F corp: ..."
        cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n1 | grep -o '[0-9]*$')
        ft=$(grep -o 'ft: [0-9]*' "$log" | tail -n1 | grep -o '[0-9]*$')
    fi
    found=$(ls "$findings" | grep -c -E '^(crash|leak|timeout|oom|slow-unit)-' || true)
    if [ "$code" -eq 0 ] && [ "$found" -eq 0 ]; then
        echo "fuzz: $t: ${runs:-0} runs, cov ${cov:-0}, ft ${ft:-0}, 0 findings"
        passed=$((passed + 1))
    else
        grep -E 'ERROR|SUMMARY|runtime error|==[0-9]+==' "$log" | head -n 20
        echo "fuzz: $t: ${runs:-0} runs, $((found > 0 ? found : 1)) findings (exit $code; inputs in $findings)"
        failed=$((failed + 1))
    fi
    if [ -n "$keep" ]; then
        rm -rf "${keep:?}/$t"
        mkdir -p "$keep"
        mv "$scratch/corpus" "$keep/$t"
    fi
    rm -rf "$scratch"
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
