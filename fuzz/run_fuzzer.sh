#!/usr/bin/env bash
# run_fuzzer.sh HARNESS WORK_DIR SEED_CORPUS [libFuzzer options...]
#
# Runs one harness on its seed corpus (for KINSHIP_FUZZ_SECONDS when set: the last
# -max_total_time counts); new inputs go to WORK_DIR/corpus, crashes to WORK_DIR/crashes.
set -euo pipefail
harness=$1 work=$2 seeds=$3
shift 3
mkdir -p "$work/corpus" "$work/crashes"
exec "$harness" -artifact_prefix="$work/crashes/" "$@" \
    ${KINSHIP_FUZZ_SECONDS:+-max_total_time=$KINSHIP_FUZZ_SECONDS} "$work/corpus" "$seeds"
