#!/usr/bin/env bash
# run_all.sh BUILD_DIR SECONDS [JOBS]
#
# Runs the CTest fuzz tests built in BUILD_DIR with each harness going for SECONDS, JOBS
# at a time (default: the number of processors), on its seed corpus plus what earlier runs
# found. Fails when a harness found a crash; its log names the input it saved (under
# BUILD_DIR/fuzz/work/NAME/crashes).
set -euo pipefail
cd "$1"
KINSHIP_FUZZ_SECONDS="$2" ctest --output-on-failure -j "${3:-$(nproc)}" --timeout $(($2 + 120)) -R '^fuzz_'
