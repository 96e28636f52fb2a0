#!/usr/bin/env bash
# run_all.sh BUILD_DIR SECONDS [JOBS]
#
# Runs every harness built in BUILD_DIR for SECONDS, JOBS at a time (default: the number
# of processors), each on its seed corpus plus what earlier runs in BUILD_DIR found. Prints
# one line per harness; the log is in BUILD_DIR/fuzz/work/NAME/log. Fails when a harness
# found a crash, naming the input it saved.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1 seconds=$2 jobs=${3:-$(nproc)}
names=(clan_reader four_column_reader links_reader adjacency_reader gml_reader round_trip)

run_one() {
    local name=$1 dict=() work="$build/fuzz/work/$1"
    case $name in
    gml_reader) dict=(-dict="$here/gml.dict") ;;
    round_trip) dict=(-dict="$here/pedigree.dict") ;;
    esac
    mkdir -p "$work"
    "$here/run_fuzzer.sh" "$build/fuzz/fuzz_$name" "$work" "$here/corpus/$name" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        "${dict[@]}" >"$work/log" 2>&1
    local status=$?
    local runs
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -1)
    printf '%-20s status %d, %s executions in %ss\n' "$name" "$status" "${runs:-?}" "$seconds"
    return $status
}
export -f run_one
export here build seconds

printf '%s\n' "${names[@]}" | xargs -P "$jobs" -I{} bash -c 'run_one {}'
status=$?
found=$(find "$build/fuzz/work" -path '*/crashes/*' -type f 2>/dev/null)
if [ -n "$found" ]; then
    echo "inputs that failed (add each to fuzz/corpus/NAME once fixed):"
    echo "$found"
    exit 1
fi
exit $status
