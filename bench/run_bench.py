#!/usr/bin/env python3
"""Benchmark: run_bench.py BUILD_DIR WORK_DIR

Generates synthetic pedigrees (genealogies of 1 000, 5 000 and 20 000 people and a dense
5 000-person stress case), then for each one runs
  - kinship-bench, which times every stage of the command in-process, and
  - the command itself, for its whole wall time and peak resident memory,
several times (more often for the quick cases), and prints a table of the fastest run of
each, the one least disturbed by other work on the machine. The column "own" is the share
of the command's time taken by our own stages (all but the layout); "/alone" is the
command's whole time over that of the layout library alone on the same graph (layout-alone
on the first GML file the run wrote), the median over pairs run one after the other.

Then it times kinship-select on genealogies of 1 000 000 and 90 300 people: reading the
file and choosing the ancestors of its last person, and that person's relatives.

Then it measures kinship-stats on a deep population register (generate_pedigree.py
villages: 30 generations in villages of 250) of 100 000 people: inbreeding-bench times F
for everyone on one and two workers against the plain Meuwissen-Luo method, and the whole
command is timed with its peak memory. KINSHIP_BENCH_REGISTERS=100000,1000000 picks other
sizes (the plain method is left out above 200 000 people: it takes minutes).
For measuring, not a test: figures vary from machine to machine."""

import os
import statistics
import subprocess
import sys
import time
from pathlib import Path

# shape, people, runs of each program
CASES = [("genealogy", 1000, 15), ("genealogy", 5000, 9), ("genealogy", 20000, 5),
         ("dense", 5000, 3)]
SEED = 20261206
# people, selection (of the file's last person), runs
SELECT_CASES = [(1000000, "--ancestors", 3), (90300, "--relatives", 5)]


def run_measured(command, cwd):
    """(wall seconds, peak RSS MiB, stdout, processor seconds) of a child process."""
    start = time.monotonic()
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.PIPE, text=True)
    output = process.stdout.read()
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.monotonic() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"bench: {' '.join(command)} failed in {cwd}")
    return wall, usage.ru_maxrss / 1024.0, output, usage.ru_utime + usage.ru_stime


def stage_figures(line):
    """{stage: (seconds, peak MiB)} from a kinship-bench line."""
    figures = {}
    for item in line.split():
        name, value = item.split("=")
        seconds, mib = value.split("s/")
        figures[name] = (float(seconds), float(mib.removesuffix("MiB")))
    return figures


def fastest_stages(lines):
    """Each stage's shortest time over the runs, with its peak memory."""
    runs = [stage_figures(line) for line in lines]
    return {name: min(run[name] for run in runs) for name in runs[0]}


def own_share(stages, wall):
    """The share of the command's wall time taken by our own stages: all but the layout,
    which is OGDF's."""
    return (sum(seconds for seconds, _ in stages.values()) - stages["layout"][0]) / wall


def generate(generator, work, shape, count):
    name = f"{shape}-{count}.txt"
    with open(work / name, "w") as out:
        subprocess.run([sys.executable, generator, shape, str(count), str(SEED)],
                       stdout=out, check=True)
    return name


def bench_select(build, work, generator):
    """kinship-select's fastest run and its peak memory per case."""
    select = build / "src/select/kinship-select"
    print(f"\n{'kinship-select':<42} {'chosen':>8} {'time':>8} {'peak':>9}")
    for count, selection, repeats in SELECT_CASES:
        name = generate(generator, work, "genealogy", count)
        with open(work / name, "rb") as text:
            text.seek(-200, os.SEEK_END)
            person = text.read().splitlines()[-1].split()[0].decode()
        command = [select, name, "selected.txt", selection, person]
        runs = [run_measured(command, work) for _ in range(repeats)]
        wall, peak = min(run[:2] for run in runs)
        chosen = runs[0][2].split()[1]
        print(f"{f'genealogy {count} {selection} {person}':<42} {chosen:>8} {wall:>7.2f}s "
              f"{peak:>6.0f}MiB", flush=True)


def main():
    build, work = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
    work.mkdir(parents=True, exist_ok=True)
    generator = Path(__file__).with_name("generate_pedigree.py")
    command = build / "src/command/hierarchical-layout"
    bench = build / "bench/kinship-bench"
    alone = build / "bench/layout-alone"

    print(f"{'input':<18} {'stage times (s) / peak RSS after the stage (MiB)':<100} "
          f"{'command':>8} {'peak':>9} {'own':>6} {'/alone':>7}")
    for shape, count, repeats in CASES:
        name = generate(generator, work, shape, count)
        stages = fastest_stages([run_measured([bench, name], work)[2] for _ in range(repeats)])
        pairs = [(run_measured([command, name], work), run_measured([alone, f"gml-{name}"], work))
                 for _ in range(repeats)]
        wall, peak = min(whole[:2] for whole, _ in pairs)
        over_alone = statistics.median(whole[0] / float(layout[2]) for whole, layout in pairs)
        shown = " ".join(f"{stage}={seconds:.4f}s/{mib:.0f}MiB"
                         for stage, (seconds, mib) in stages.items())
        print(f"{shape + ' ' + str(count):<18} {shown:<100} {wall:>7.2f}s "
              f"{peak:>6.0f}MiB {own_share(stages, wall):>5.1%} {over_alone:>6.2f}x", flush=True)
    bench_select(build, work, generator)
    stats_bench(build, work, generator)


def stats_bench(build, work, generator):
    """kinship-stats on deep population registers."""
    sizes = [int(size) for size in os.environ.get("KINSHIP_BENCH_REGISTERS", "100000").split(",")]
    print(f"\n{'register':<18} {'F for all: wall/processor seconds, largest difference':<88} "
          f"{'kinship-stats':>18} {'peak':>9}")
    for count in sizes:
        name = f"villages-{count}.txt"
        with open(work / name, "w") as out:
            subprocess.run([sys.executable, generator, "villages", str(count), str(SEED)],
                           stdout=out, check=True)
        plain = [] if count <= 200000 else ["--no-plain"]
        figures = run_measured([build / "bench/inbreeding-bench", name, *plain], work)[2].strip()
        wall, peak, _, cpu = run_measured([build / "src/stats/kinship-stats", name, "stats-out"],
                                          work)
        print(f"{'villages ' + str(count):<18} {figures:<88} {wall:>8.2f}s/{cpu:.2f}cpu "
              f"{peak:>6.0f}MiB", flush=True)


if __name__ == "__main__":
    main()
