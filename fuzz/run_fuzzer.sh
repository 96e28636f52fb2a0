#!/usr/bin/env bash
# run_fuzzer.sh HARNESS WORK_DIR SEED_CORPUS [libFuzzer options...]
#
# Runs one harness on its seed corpus. New inputs go to WORK_DIR/corpus and anything that
# crashes to WORK_DIR/crashes, so the seed corpus in the repository is only read.
set -euo pipefail
harness=$1 work=$2 seeds=$3
shift 3
mkdir -p "$work/corpus" "$work/crashes"
exec "$harness" -artifact_prefix="$work/crashes/" "$@" "$work/corpus" "$seeds"
