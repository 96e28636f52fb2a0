#!/usr/bin/env python3
"""Benchmark of kinship-draw's page in headless Chromium: page_bench.py BUILD_DIR WORK_DIR

For synthetic genealogies of 3 000 and 20 000 people with made-up names, drawn with
--names and --colour-by clan, prints
  - the size of the page and of the SVG picture alone, and their ratio;
  - the time from the start of navigation to the first frame after the document has
    loaded (the page's script has run by then), for the page and for the SVG alone, and
    their ratio: the fastest of a few openings, each in a fresh tab state;
  - the page's time for a search keystroke (the search, the list of matches and the
    layout they cause) while typing a name letter by letter once the page is idle, the
    slowest and the median;
  - the time to select a person (classes on everyone, the panel, the layout).
For measuring, not a test: figures vary from machine to machine."""

import statistics
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "scripts"))
from headless_chromium import chromium  # noqa: E402

CASES = [(3000, 5), (20000, 3)]  # people, openings of each file
SEED = 20261206
TYPED = "conceicao"

FIRST_FRAME = """const done = arguments[arguments.length - 1];
const wait = () => document.readyState === 'complete'
  ? requestAnimationFrame(() => requestAnimationFrame(() => done(performance.now())))
  : setTimeout(wait, 5);
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
  done(times);
})();"""

SELECT = """const id = kinship.search(arguments[0])[0], start = performance.now();
kinship.select(id);
document.body.getBoundingClientRect();
return performance.now() - start;"""


def drawn(build, work, count):
    """The page and the SVG of a genealogy of `count` people."""
    name = f"page-{count}"
    with open(work / f"{name}.txt", "w") as out:
        subprocess.run([sys.executable, Path(__file__).with_name("generate_pedigree.py"),
                        "genealogy", str(count), str(SEED), work / f"{name}.names.tsv"],
                       stdout=out, check=True)
    quiet = {"cwd": work, "check": True, "stdout": subprocess.DEVNULL}
    subprocess.run([build / "src/command/hierarchical-layout", f"{name}.txt"], **quiet)
    files = [work / f"{name}.html", work / f"{name}.svg"]
    for output in files:
        subprocess.run([build / "src/draw/kinship-draw", f"whl-gml-{name}.txt", output,
                        "--names", f"{name}.names.tsv", "--colour-by", "clan"], **quiet)
    return files


def opening_time(driver, path):
    driver.get("about:blank")
    driver.get(path.as_uri())
    return driver.execute_async_script(FIRST_FRAME) / 1000


def main():
    build, work = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
    work.mkdir(parents=True, exist_ok=True)
    print(f"{'people':>7} {'page MB':>8} {'SVG MB':>7} {'ratio':>6} {'page s':>7} {'SVG s':>6} "
          f"{'ratio':>6} {'keystroke ms max/median':>24} {'select ms':>10}")
    for count, openings in CASES:
        page, svg = drawn(build, work, count)
        with chromium() as driver:
            driver.set_script_timeout(300)
            page_s = min(opening_time(driver, page) for _ in range(openings))
            svg_s = min(opening_time(driver, svg) for _ in range(openings))
            opening_time(driver, page)
            keys = driver.execute_async_script(KEYSTROKES, TYPED)
            select_ms = driver.execute_script(SELECT, TYPED)
        sizes = [path.stat().st_size / 1e6 for path in (page, svg)]
        print(f"{count:>7} {sizes[0]:>8.2f} {sizes[1]:>7.2f} {sizes[0] / sizes[1]:>6.2f} "
              f"{page_s:>7.2f} {svg_s:>6.2f} {page_s / svg_s:>6.2f} "
              f"{max(keys):>15.1f} / {statistics.median(keys):>5.1f} {select_ms:>10.1f}",
              flush=True)


if __name__ == "__main__":
    main()
