#!/usr/bin/env python3
"""Names in the picture: name_measures.py BUILD_DIR WORK_DIR

Converts the real GEDCOM exports beside the project (../shared/genealogies/*.ged) and the
bundled familia.ged with kinship-from-gedcom, lays each out with kinship-layout without
and with --names, draws both with kinship-draw --names, and measures each picture:
  names        people with a name in the table
  whole        names shown with every letter
  lines        name lines in the picture, and how many of them end in "…"
  letters      the share of the names' letters (and digits) the picture shows; an initial
               "J." shows one letter of "João"
  size         of the picture's view box, the price of the room the names take
For measuring, not a test. layout_bench.py runs it last (report)."""

import csv
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ElementTree
from pathlib import Path

SVG = "{http://www.w3.org/2000/svg}"
ELLIPSIS = "\u2026"


def letters(text):
    return sum(1 for c in text if c.isalnum())


def read_names(path):
    with open(path, encoding="utf-8", errors="replace", newline="") as table:
        rows = list(csv.reader(table, delimiter="\t", quoting=csv.QUOTE_NONE))[1:]
    return {row[0].strip(): " ".join(row[2].split()) for row in rows if len(row) == 3}


def measure_picture(svg_path, names):
    """The measures of one picture, from each person's group: the tooltip's `id:` line says
    who it is, the group's own text elements are the lines shown under the shape."""
    figures = {"names": 0, "whole": 0, "lines": 0, "cut": 0, "letters": 0, "shown": 0}
    root = ElementTree.parse(svg_path).getroot()
    for group in root.iter(f"{SVG}g"):
        title = group.find(f"{SVG}title")
        ids = [line[4:] for line in (title.text or "").split("\n")
               if line.startswith("id: ")] if title is not None else []
        name = names.get(ids[0]) if ids else None
        if not name:
            continue
        lines = [text.text or "" for text in group.findall(f"{SVG}text")]
        shown = sum(letters(line.replace(ELLIPSIS, "")) for line in lines)
        figures["names"] += 1
        figures["whole"] += " ".join(lines) == name
        figures["lines"] += len(lines)
        figures["cut"] += sum(line.endswith(ELLIPSIS) for line in lines)
        figures["letters"] += letters(name)
        figures["shown"] += shown
    figures["width"], figures["height"] = map(float, root.get("viewBox").split()[2:])
    return figures


def report(build, work):
    build, work = Path(build).resolve(), Path(work).resolve() / "names"
    work.mkdir(parents=True, exist_ok=True)
    root = Path(__file__).resolve().parent.parent
    layout = build / "src/family_layout/kinship-layout"
    draw = build / "src/draw/kinship-draw"
    exports = sorted((root.parent / "shared/genealogies").glob("*.ged"))
    print("\n| pedigree | layout | names | whole | lines | lines ending in … | letters shown "
          "| size |")
    print("|---|---|---|---|---|---|---|---|")
    totals = {}
    for ged in [root / "examples/familia.ged", *exports]:
        shutil.copy(ged, work / ged.name)
        subprocess.run([build / "bin/kinship-from-gedcom", ged.name], cwd=work, check=True,
                       stdout=subprocess.DEVNULL)
        pedigree = ged.with_suffix(".txt").name
        table = f"{pedigree}.names.tsv"
        names = read_names(work / table)
        for label, options in (("kinship-layout", []), ("kinship-layout --names", ["--names", table])):
            drawing = f"{ged.stem}{'-names' if options else ''}.gml"
            subprocess.run([layout, pedigree, drawing, *options], cwd=work, check=True,
                           stdout=subprocess.DEVNULL)
            subprocess.run([draw, drawing, f"{drawing}.svg", "--names", table], cwd=work,
                           check=True, stdout=subprocess.DEVNULL)
            f = measure_picture(work / f"{drawing}.svg", names)
            total = totals.setdefault(label, dict.fromkeys(f, 0))
            for key, value in f.items():
                total[key] += value
            print(f"| {ged.stem} | {label} | {f['names']} | {f['whole']} | {f['lines']} | "
                  f"{f['cut']} | {f['shown'] / max(1, f['letters']):.1%} | "
                  f"{f['width']:.0f} x {f['height']:.0f} |",
                  flush=True)
    for label, f in totals.items():
        print(f"| all | {label} | {f['names']} | {f['whole']} | {f['lines']} | {f['cut']} | "
              f"{f['shown'] / max(1, f['letters']):.1%} | |")


if __name__ == "__main__":
    report(sys.argv[1], sys.argv[2])
