#!/usr/bin/env python3
"""Benchmark: run_bench.py BUILD_DIR WORK_DIR

Generates synthetic pedigrees (genealogies of 1 000, 5 000 and 20 000 people and a dense
5 000-person stress case), then for each one runs
  - kinship-bench, which times every stage of the command in-process, and
  - the command itself, for its whole wall time and peak resident memory,
and prints a table; the last column is the share of the command's time taken by our own
stages (all but the layout). For measuring, not a test: figures vary from machine to
machine."""

import os
import subprocess
import sys
import time
from pathlib import Path

CASES = [("genealogy", 1000), ("genealogy", 5000), ("genealogy", 20000), ("dense", 5000)]
SEED = 20261206


def run_measured(command, cwd):
    """(wall seconds, peak RSS MiB, stdout) of a child process."""
    start = time.monotonic()
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.PIPE, text=True)
    output = process.stdout.read()
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.monotonic() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"bench: {' '.join(command)} failed in {cwd}")
    return wall, usage.ru_maxrss / 1024.0, output


def own_share(stages, wall):
    """The share of the command's wall time taken by our own stages: all but the layout,
    which is OGDF's."""
    seconds = {name: float(value.split("s/")[0])
               for name, value in (item.split("=") for item in stages.split())}
    return (sum(seconds.values()) - seconds["layout"]) / wall


def main():
    build, work = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
    work.mkdir(parents=True, exist_ok=True)
    generator = Path(__file__).with_name("generate_pedigree.py")
    command = build / "src/command/hierarchical-layout"
    bench = build / "bench/kinship-bench"

    print(f"{'input':<18} {'stage times (s) / peak RSS after the stage (MiB)':<100} "
          f"{'command':>8} {'peak':>9} {'own':>6}")
    for shape, count in CASES:
        name = f"{shape}-{count}.txt"
        with open(work / name, "w") as out:
            subprocess.run([sys.executable, generator, shape, str(count), str(SEED)],
                           stdout=out, check=True)
        _, _, stages = run_measured([bench, name], work)
        wall, peak, _ = run_measured([command, name], work)
        print(f"{shape + ' ' + str(count):<18} {stages.strip():<100} {wall:>7.2f}s "
              f"{peak:>6.0f}MiB {own_share(stages, wall):>5.1%}", flush=True)


if __name__ == "__main__":
    main()
