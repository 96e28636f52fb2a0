#!/usr/bin/env python3
"""Layout benchmark: layout_bench.py BUILD_DIR WORK_DIR [--quick]

Lays the same pedigrees out with hierarchical-layout and kinship-layout and measures both
drawings the same way (drawing_measures.py): crossings between lines of different
families, couples in one layer, couples of people with one partner side by side, people
with several partners next to one of them, couples over their children, horizontal and
vertical segments, lines along another family's, lines through a person's box, parent-child
pairs a layer apart, overlapping boxes, width, height, the fastest of three runs and the
peak memory. The pedigrees are the bundled examples (familia.ged through
kinship-from-gedcom), the real exports beside the project (../shared/genealogies/*.ged,
when there; kinship-layout is given their marriages and names tables), and generated
genealogies (generate_pedigree.py families: married-in spouses, remarriages, cousin
marriages, partners of different generations; and the more tangled shape of the same).
The last lines add the crossings up over the real exports and over the `families`
genealogies of a few hundred to a few thousand people.
Last, kinship-layout alone on genealogies of 100 000 people (a village register over 30
generations, the two generated shapes, and a register of scattered households: many small
unconnected parts) and on a village register of 1 000 000 people, which
hierarchical-layout refuses; --quick leaves these out.
For measuring, not a test: times vary from machine to machine."""

import json
import os
import shutil
import subprocess
import sys
import time
from collections import defaultdict
from pathlib import Path

import name_measures

SEED = 20261207
GENERATED = [300, 1000, 3000, 5000]
TANGLED = [3000, 5000]  # more tangled than real exports: reported, not in the totals
LARGE = [("villages", 100000), ("families", 100000), ("tangled", 100000), ("scattered", 100000),
         ("villages", 1000000)]
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


COLUMNS = ("| pedigree | layout | people | crossings | couples in one layer | side by side "
           "| next to one partner | over their children | orthogonal | along another | "
           "through a person | parents above | overlaps | width | height | time | peak |")


def row(name, layout, figures, timing):
    print(f"| {name} | {layout} | {figures['people']} | {figures['crossings']} | "
          f"{figures['same_layer']:.1%} | {figures['side_by_side']:.1%} | "
          f"{figures['next_to_one']:.1%} | {figures['under']:.1%} | "
          f"{figures['orthogonal']:.1%} | {figures['along']} | {figures['through']} | "
          f"{figures['parents_above']:.1%} | "
          f"{figures['overlaps']} | {figures['width']:.0f} | {figures['height']:.0f} | "
          f"{timing[0]:.2f} s | {timing[1]:.0f} MiB |", flush=True)


def convert(build, work, ged, *options):
    subprocess.run([build / "bin/kinship-from-gedcom", ged.name, *options], cwd=work,
                   check=True, stdout=subprocess.DEVNULL)
    return ged.with_suffix(".txt").name


def main():
    build, work = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
    quick = "--quick" in sys.argv[3:]
    work.mkdir(parents=True, exist_ok=True)
    root = Path(__file__).resolve().parent.parent
    hierarchical = build / "src/command/hierarchical-layout"
    family = build / "src/family_layout/kinship-layout"
    generator = Path(__file__).resolve().parent / "generate_pedigree.py"

    for example in ("aldeia.txt", "aldeia.txt.marriages.tsv"):
        shutil.copy(root / "examples" / example, work / example)
    shutil.copy(root / "examples/familia.ged", work / "familia.ged")
    pedigrees = ["aldeia.txt", convert(build, work, work / "familia.ged", "--clan", "_CLAN",
                                       "--subclan", "Metade")]
    real = []
    for ged in sorted((root.parent / "shared/genealogies").glob("*.ged")):
        shutil.copy(ged, work / ged.name)
        real.append(convert(build, work, work / ged.name))
    pedigrees += real
    generated = [("families", GENERATED), ("tangled", TANGLED)]
    for shape, counts in generated + ([] if quick else [(s, [n]) for s, n in LARGE]):
        for count in counts:
            name = f"{shape}-{count}.txt"
            with open(work / name, "w") as out:
                subprocess.run([sys.executable, generator, shape, str(count), str(SEED)],
                               stdout=out, check=True)
            pedigrees.append(name)

    print(COLUMNS)
    print("|---" * COLUMNS.count(" | ") + "|---|")
    totals = {"real": defaultdict(int), "families": defaultdict(int)}
    worst = 0.0
    for name in pedigrees:
        large = any(name == f"{s}-{n}.txt" for s, n in LARGE)
        # kinship-layout draws every couple of the marriages table, and each person as wide
        # as their name, where the importer wrote those tables.
        tables = []
        for option, table in (("--marriages", f"{name}.marriages.tsv"),
                              ("--names", f"{name}.names.tsv")):
            if (work / table).exists():
                tables += [option, table]
        runs = [("kinship-layout", [family, name, f"family-{name}.gml", *tables],
                 f"family-{name}.gml")]
        if not large:
            runs.insert(0, ("hierarchical-layout", [hierarchical, name], f"whl-gml-{name}"))
        counted = {}
        for layout, command, drawing in runs:
            timing = fastest(command, work, 1 if large else RUNS)
            if timing is None:
                print(f"| {name} | {layout} | refused |" + " |" * 14, flush=True)
                continue
            if large:
                print(f"| {name} | {layout} | {name.split('-')[1].split('.')[0]} |" + " |" * 12
                      + f" {timing[0]:.2f} s | {timing[1]:.0f} MiB |", flush=True)
                continue
            figures = measure(work / drawing)
            counted[layout] = figures["crossings"]
            row(name, layout, figures, timing)
        group = "real" if name in real else "families" if name.startswith("families-") else None
        if group and len(counted) == 2:
            for layout, crossings in counted.items():
                totals[group][layout] += crossings
            if group == "real":
                worst = max(worst, counted["kinship-layout"] /
                            max(1, counted["hierarchical-layout"]))
    for group, label in (("real", "the real exports"),
                         ("families", f"the generated genealogies of {GENERATED[0]} to "
                                      f"{GENERATED[-1]} people")):
        h, k = totals[group]["hierarchical-layout"], totals[group]["kinship-layout"]
        if h:
            print(f"\ncrossings on {label}, taken together: hierarchical-layout {h}, "
                  f"kinship-layout {k} ({k / h:.1%})")
    if real:
        print(f"the highest share on one real export: {worst:.1%}")
    name_measures.report(build, work)


if __name__ == "__main__":
    main()
