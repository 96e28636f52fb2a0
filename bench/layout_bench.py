#!/usr/bin/env python3
"""Layout benchmark: layout_bench.py BUILD_DIR WORK_DIR

Lays the same pedigrees out with hierarchical-layout and kinship-layout and measures both
drawings the same way (drawing_measures.py): crossings, couples in one layer, couples of
people with one partner side by side, people with several partners next to one of them,
parent-child pairs a layer apart, overlapping boxes, width, height, the fastest of three
runs and the peak memory. The pedigrees are the bundled examples (familia.ged through
kinship-from-gedcom) and generated genealogies (generate_pedigree.py families: married-in
spouses, remarriages, cousin marriages, partners of different generations; and the more
tangled shape of the same). The last line adds the crossings up over the `families`
genealogies of a few hundred to a few thousand people.
Last, kinship-layout alone on 90 300 people, which hierarchical-layout refuses.
For measuring, not a test: times vary from machine to machine."""

import json
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

import name_measures

SEED = 20261207
GENERATED = [300, 1000, 3000, 5000]
TANGLED = [3000, 5000]  # more tangled than real exports: reported, not in the totals
LARGE = 90300
RUNS = 3


def run_measured(command, cwd):
    """(wall seconds, peak RSS MiB) of a child process, or None when it fails."""
    start = time.monotonic()
    process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        return None
    return time.monotonic() - start, usage.ru_maxrss / 1024.0


def fastest(command, cwd, runs=RUNS):
    results = [run_measured(command, cwd) for _ in range(runs)]
    if None in results:
        return None
    return min(r[0] for r in results), max(r[1] for r in results)


def measure(drawing):
    """The drawing's measures, worked out in a process of their own: a child started from
    this one would count the memory they take as its own peak."""
    measures = Path(__file__).resolve().parent / "drawing_measures.py"
    return json.loads(subprocess.run([sys.executable, measures, drawing, "--json"], check=True,
                                     capture_output=True, text=True).stdout)


def row(name, layout, figures, timing):
    print(f"| {name} | {layout} | {figures['people']} | {figures['crossings']} | "
          f"{figures['same_layer']:.1%} | {figures['side_by_side']:.1%} | "
          f"{figures['next_to_one']:.1%} | {figures['parents_above']:.1%} | "
          f"{figures['overlaps']} | {figures['width']:.0f} | {figures['height']:.0f} | "
          f"{timing[0]:.2f} s | {timing[1]:.0f} MiB |", flush=True)


def main():
    build, work = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
    work.mkdir(parents=True, exist_ok=True)
    root = Path(__file__).resolve().parent.parent
    hierarchical = build / "src/command/hierarchical-layout"
    family = build / "src/family_layout/kinship-layout"
    generator = Path(__file__).resolve().parent / "generate_pedigree.py"

    shutil.copy(root / "examples/aldeia.txt", work / "aldeia.txt")
    shutil.copy(root / "examples/familia.ged", work / "familia.ged")
    subprocess.run([build / "bin/kinship-from-gedcom", "familia.ged", "--clan", "_CLAN",
                    "--subclan", "Metade"], cwd=work, check=True, stdout=subprocess.DEVNULL)
    pedigrees = ["aldeia.txt", "familia.txt"]
    for shape, counts in (("families", GENERATED), ("tangled", TANGLED), ("families", [LARGE])):
        for count in counts:
            name = f"{shape}-{count}.txt"
            with open(work / name, "w") as out:
                subprocess.run([sys.executable, generator, shape, str(count), str(SEED)],
                               stdout=out, check=True)
            pedigrees.append(name)

    print("| pedigree | layout | people | crossings | couples in one layer | side by side "
          "| next to one partner | parents above | overlaps | width | height | time | peak |")
    print("|---|---|---|---|---|---|---|---|---|---|---|---|---|")
    totals = {"hierarchical-layout": 0, "kinship-layout": 0}
    for name in pedigrees:
        large = name == f"families-{LARGE}.txt"
        runs = [("hierarchical-layout", [hierarchical, name], f"whl-gml-{name}"),
                ("kinship-layout", [family, name, f"family-{name}.gml"], f"family-{name}.gml")]
        for layout, command, drawing in runs:
            timing = fastest(command, work, 1 if large else RUNS)
            if timing is None:
                print(f"| {name} | {layout} | refused | | | | | | | | | | |", flush=True)
                continue
            figures = measure(work / drawing)
            if name.startswith("families-") and not large:
                totals[layout] += figures["crossings"]
            row(name, layout, figures, timing)
    share = totals["kinship-layout"] / max(1, totals["hierarchical-layout"])
    print(f"\ncrossings on the generated genealogies of {GENERATED[0]} to {GENERATED[-1]} "
          f"people, taken together: hierarchical-layout {totals['hierarchical-layout']}, "
          f"kinship-layout {totals['kinship-layout']} ({share:.1%})")
    name_measures.report(build, work)


if __name__ == "__main__":
    main()
