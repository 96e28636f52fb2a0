#!/usr/bin/env python3
"""Importer benchmark: importer_bench.py BUILD_DIR WORK_DIR

Generates GEDCOM 5.5.1 files the size of large genealogy exports (generate_gedcom.py: some
25 lines per person, names with accents, dates in the usual forms), in UTF-8 and in ANSEL,
and runs the build's kinship-from-gedcom on each several times. Prints the fastest run's
wall time and processor time (user and system; on a busy machine the wall time grows, the
processor time much less) and the peak resident memory. For measuring, not a test."""

import os
import subprocess
import sys
import time
from pathlib import Path

# people, character set, runs
CASES = [(20000, "UTF-8", 3), (100000, "UTF-8", 3), (100000, "ANSEL", 2)]
SEED = 20261207


def run_measured(command, cwd):
    """(wall seconds, processor seconds, peak RSS MiB) of a child process."""
    start = time.monotonic()
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.monotonic() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"bench: {' '.join(command)} failed in {cwd}")
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss / 1024.0


def main():
    build, work = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
    importer = build / "bin" / "kinship-from-gedcom"
    generator = Path(__file__).resolve().parent / "generate_gedcom.py"
    work.mkdir(parents=True, exist_ok=True)
    print("| GEDCOM file | size | runs | wall (fastest) | processor (least) | peak |")
    print("|---|---|---|---|---|---|")
    for people, charset, runs in CASES:
        name = f"export-{people}-{charset.lower().replace('-', '')}.ged"
        if not (work / name).exists():
            run_measured([sys.executable, str(generator), str(people), str(SEED), name]
                         + (["--ansel"] if charset == "ANSEL" else []), work)
        results = [run_measured([str(importer), name], work) for _ in range(runs)]
        wall, cpu = min(r[0] for r in results), min(r[1] for r in results)
        peak = max(r[2] for r in results)
        size = (work / name).stat().st_size / 2**20
        print(f"| {people:_} people, {charset} | {size:.0f} MiB | {runs} | {wall:.1f} s | "
              f"{cpu:.1f} s | {peak:.0f} MiB |".replace("_", " "), flush=True)


if __name__ == "__main__":
    main()
