#!/usr/bin/env python3
"""Benchmark of kinship-draw's page in headless Chromium:
  page_bench.py BUILD_DIR WORK_DIR [PEOPLE...]

Draws synthetic genealogies with made-up names, --names and --colour-by clan: 3 000 people
laid out by hierarchical-layout, and 100 000 people (generate_pedigree.py families, one
connected genealogy) laid out by kinship-layout, which takes minutes: a drawing already
in WORK_DIR is used again. For each, prints
  - the size of the page and of the SVG picture, and their ratio;
  - ready: the time from the start of navigation to the first frame after the document
    has loaded (the page's script has run by then and the first view is on the screen,
    parts of it possibly from coarser tiles), the fastest of a few openings; and whole:
    until every tile of the first view is painted;
  - the time to select a person until the next frame is painted (the lineage computed,
    the panel filled, the view moved and drawn);
  - a search keystroke (the search, the list of matches and the layout they cause) while
    typing a name letter by letter once the page is idle, the slowest and the median;
  - a change of view until the next frame is painted, at every zoom from the whole
    network to 40 pixels a unit, panning at each: the slowest and the median; and the
    slowest time until such a view is painted whole;
  - the memory of the page's renderer process (resident set) after all that.
PEOPLE picks some of the cases (3000, 100000). For 3 000 people it also opens the SVG alone, for comparison.
For measuring, not a test: figures vary from machine to machine."""

import statistics
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "scripts"))
from headless_chromium import chromium, settled  # noqa: E402

SEED = 20261207
TYPED = "conceicao"
# people, the generator's shape, the layout command, openings of the file
CASES = [(3000, "genealogy", "hierarchical-layout", 5),
         (100000, "families", "kinship-layout", 3)]

FIRST_FRAME = """const done = arguments[arguments.length - 1];
const wait = () => document.readyState === 'complete' &&
    (window.kinship || !document.getElementById('drawing'))
  ? requestAnimationFrame(() => setTimeout(() => done(performance.now())))
  : setTimeout(wait, 5);
wait();"""

WHOLE = """const done = arguments[arguments.length - 1];
const wait = () => document.getElementById('drawing').dataset.whole === 'true'
  ? done(performance.now()) : requestAnimationFrame(() => setTimeout(wait));
wait();"""

# Typed once the page is idle, a keystroke every 100 ms, as a quick typist would.
KEYSTROKES = """const done = arguments[arguments.length - 1], text = arguments[0];
const input = document.getElementById('search'), times = [];
const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
(async () => {
  await new Promise((resolve) => requestIdleCallback(resolve, {timeout: 5000}));
  for (let n = 1; n <= text.length; n++) {
    await pause(100);
    const start = performance.now();
    input.value = text.slice(0, n);
    input.dispatchEvent(new Event('input'));
    document.body.getBoundingClientRect();
    times.push(performance.now() - start);
  }
  input.value = '';
  input.dispatchEvent(new Event('input'));
  done(times);
})();"""

# The time from a call until the frame after it has been painted.
PAINTED = """const done = arguments[arguments.length - 1];
const start = performance.now();
(new Function(arguments[0]))();
requestAnimationFrame(() => setTimeout(() => done(performance.now() - start)));"""

# Views from the whole network in to 40 pixels a unit, each a few times panned; the time
# of each until painted, and until painted whole.
VIEWS = """const done = arguments[arguments.length - 1];
const frame = () => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve)));
(async () => {
  kinship.clear();
  document.getElementById('zoom-fit').click();
  await frame();
  const [x, y, w, h] = kinship.view(), width = document.getElementById('drawing').clientWidth;
  const times = [], wholes = [];
  for (let scale = width / w; scale <= 40; scale *= 2) {
    const vw = width / scale, vh = vw * h / w;
    for (const [fx, fy] of [[0.5, 0.5], [0.3, 0.5], [0.7, 0.45], [0.5, 0.55]]) {
      const start = performance.now();
      kinship.view([x + fx * w - vw / 2, y + fy * h - vh / 2, vw, vh]);
      await frame();
      times.push(performance.now() - start);
      while (document.getElementById('drawing').dataset.whole !== 'true') await frame();
      wholes.push(performance.now() - start);
    }
  }
  done([times, wholes]);
})();"""


def drawn(build, work, count, shape, layout):
    """The page and the SVG of a genealogy of `count` people."""
    name = f"page-{count}"
    quiet = {"cwd": work, "check": True, "stdout": subprocess.DEVNULL}
    drawing = work / (f"whl-gml-{name}.txt" if layout == "hierarchical-layout" else f"{name}.gml")
    if not drawing.exists():
        with open(work / f"{name}.txt", "w") as out:
            subprocess.run([sys.executable, Path(__file__).with_name("generate_pedigree.py"),
                            shape, str(count), str(SEED), work / f"{name}.names.tsv"],
                           stdout=out, check=True)
        command = {"hierarchical-layout": [build / "src/command/hierarchical-layout", f"{name}.txt"],
                   "kinship-layout": [build / "src/family_layout/kinship-layout", f"{name}.txt",
                                      drawing.name]}[layout]
        subprocess.run(command, **quiet)
    files = [work / f"{name}.html", work / f"{name}.svg"]
    for output in files:
        subprocess.run([build / "src/draw/kinship-draw", drawing, output,
                        "--names", f"{name}.names.tsv", "--colour-by", "clan"], **quiet)
    return files


def opening(driver, path):
    """Seconds from navigation to the first frame, and to the first view painted whole."""
    driver.get("about:blank")
    driver.get(path.as_uri())
    first = driver.execute_async_script(FIRST_FRAME) / 1000
    if path.suffix == ".svg":
        return first, first
    return first, driver.execute_async_script(WHOLE) / 1000


def renderer_memory(driver):
    """The resident set of the largest renderer process of this browser, in MB."""
    def ancestors(pid):
        while pid > 1:
            yield pid
            try:
                pid = int(Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()[1])
            except (OSError, ValueError):
                return
    driver_pid, largest = driver.service.process.pid, 0
    for proc in Path("/proc").iterdir():
        try:
            command = (proc / "cmdline").read_bytes()
            if b"--type=renderer" not in command or driver_pid not in ancestors(int(proc.name)):
                continue
            status = (proc / "status").read_text()
        except (OSError, ValueError):
            continue
        rss = next(int(line.split()[1]) for line in status.splitlines() if line.startswith("VmRSS"))
        largest = max(largest, rss / 1024)
    return largest


def main():
    build, work = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
    work.mkdir(parents=True, exist_ok=True)
    print("| people | page / SVG size | ready / whole (SVG shown) | select | keystroke, slowest "
          "/ median | change of view, slowest / median (whole, slowest) | renderer memory |")
    print("|---|---|---|---|---|---|---|")
    wanted = {int(n) for n in sys.argv[3:]}
    for count, shape, layout, openings in CASES:
        if wanted and count not in wanted:
            continue
        began = time.time()
        page, svg = drawn(build, work, count, shape, layout)
        svg_s = None
        if count <= 3000:  # the SVG alone, in a browser of its own
            with chromium() as driver:
                svg_s = min(opening(driver, svg)[0] for _ in range(openings))
        with chromium() as driver:
            driver.set_script_timeout(600)
            ready = min(opening(driver, page) for _ in range(openings))
            settled(driver)
            keys = driver.execute_async_script(KEYSTROKES, TYPED)
            person = driver.execute_script("return kinship.search(arguments[0])[0]", TYPED)
            select_ms = driver.execute_async_script(PAINTED, f"kinship.select('{person}')")
            times, wholes = driver.execute_async_script(VIEWS)
            memory = renderer_memory(driver)
        sizes = [path.stat().st_size / 1e6 for path in (page, svg)]
        shown = f" ({svg_s:.2f} s)" if svg_s is not None else ""
        print(f"| {count:,} | {sizes[0]:.1f} / {sizes[1]:.1f} MB ({sizes[0] / sizes[1]:.2f}) "
              f"| {ready[0]:.2f} / {ready[1]:.2f} s{shown} | {select_ms:.0f} ms "
              f"| {max(keys):.1f} / {statistics.median(keys):.1f} ms "
              f"| {max(times):.0f} / {statistics.median(times):.0f} ms ({max(wholes):.0f} ms) "
              f"| {memory:.0f} MB |", flush=True)
        print(f"  ({count:,} people: drawn and measured in {time.time() - began:.0f} s)",
              file=sys.stderr)


if __name__ == "__main__":
    main()
