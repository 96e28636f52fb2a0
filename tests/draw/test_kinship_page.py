"""kinship-draw's page in headless Chromium: search, selection against the pedigree, a click
where locate() says, #id= addresses, zoom, the legend, partners, the saved picture; no
console error and no network request in any of them."""

import base64
import json
import os
import re
import subprocess
import sys
import time
import unicodedata
import unittest
from pathlib import Path

from selenium.webdriver import ActionChains, Keys
from selenium.webdriver.common.action_chains import ActionBuilder
from selenium.webdriver.common.actions.wheel_input import ScrollOrigin
from selenium.webdriver.common.by import By
from selenium.webdriver.support.wait import WebDriverWait

from class_folder import class_folder
from headless_chromium import chromium, settled

ROOT = Path(__file__).resolve().parents[2]
# Names that must reach the page as they are: markup that would end its script, and U+2028.
ODD = {1: "Zé </script><!-- \"x\" \u2028 & <b>", 2: "Ana Conceição"}

# The picture saved as a PNG against the canvas on the screen: the two sizes, and the share
# of pixels whose colours differ by more than a little.
COMPARE = """const done = arguments[arguments.length - 1], image = new Image();
image.onload = () => {
  const canvas = document.getElementById('drawing'), copy = document.createElement('canvas');
  copy.width = canvas.width; copy.height = canvas.height;
  const ctx = copy.getContext('2d');
  ctx.drawImage(image, 0, 0);
  const a = ctx.getImageData(0, 0, copy.width, copy.height).data;
  const b = canvas.getContext('2d').getImageData(0, 0, copy.width, copy.height).data;
  let differ = 0, inked = 0;
  for (let k = 0; k < a.length; k += 4) {
    const d = Math.abs(a[k] - b[k]) + Math.abs(a[k + 1] - b[k + 1]) + Math.abs(a[k + 2] - b[k + 2]);
    if (d > 96) differ++;
    if (a[k] + a[k + 1] + a[k + 2] < 600) inked++;
  }
  done([image.width, image.height, canvas.width, canvas.height, differ / (a.length / 4),
        inked / (a.length / 4)]);
};
image.src = 'data:image/png;base64,' + arguments[0];"""


def fold(text):
    return "".join(c for c in unicodedata.normalize("NFD", text)
                   if not unicodedata.combining(c)).lower()


class KinshipPage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = folder = class_folder(cls)
        pedigree = subprocess.run(
            [sys.executable, ROOT / "bench/generate_pedigree.py", "genealogy", "400", "3",
             folder / "names.tsv"], check=True, capture_output=True, text=True).stdout
        rows = [line.split() for line in pedigree.splitlines()[1:]]
        names = (folder / "names.tsv").read_text().splitlines()
        for row, name in ODD.items():
            names[row] = "\t".join(names[row].split("\t")[:2] + [name])
        (folder / "names.tsv").write_text("\n".join(names) + "\n")
        (folder / "p.txt").write_text(pedigree)
        cls.name = {line.split("\t")[0]: line.split("\t")[2] for line in names[1:]}
        cls.parents = {r[0]: [p for p in r[2:4] if p != "0"] for r in rows}
        cls.children = {r[0]: [c[0] for c in rows if r[0] in c[2:4]] for r in rows}
        cls.clan = {r[0]: r[4] for r in rows}
        run = lambda *args: subprocess.run(args, cwd=folder, check=True, capture_output=True,
                                           text=True).stdout
        run(os.environ["KINSHIP_COMMAND"], "p.txt")
        draw = [os.environ["KINSHIP_DRAW"], "whl-gml-p.txt"]
        cls.summary = run(*draw, "p.HTML", "--names", "names.tsv", "--colour-by", "clan")
        # The same laid out as families, each couple's marriage year in its family node.
        run(os.environ["KINSHIP_LAYOUT"], "p.txt", "f.gml")
        gml = (folder / "f.gml").read_text().split("\n")
        family = gml.index('    label "family 2"')
        gml[family - 1] = '    template "-1520"'
        label = dict(re.findall(r'id (\d+)\n    template "[^"]*"\n    label "([^"]+)"',
                                "\n".join(gml)))
        into = re.findall(r"source (\d+)\n    target (\d+)", "\n".join(gml))
        cls.married = [label[s] for s, t in into if label[t] == "family 2"]
        (folder / "f.gml").write_text("\n".join(gml))
        run(os.environ["KINSHIP_DRAW"], "f.gml", "f.html", "--names", "names.tsv")
        cls.url = (folder / "p.HTML").as_uri()
        cls.browser = cls.enterClassContext(chromium())

    def setUp(self):
        self.open("")

    def tearDown(self):
        errors = [e["message"] for e in self.browser.get_log("browser") if e["level"] == "SEVERE"]
        requests = [json.loads(e["message"])["message"]
                    for e in self.browser.get_log("performance")]
        urls = {m["params"]["request"]["url"] for m in requests  # the page's, not the browser's
                if m["method"] == "Network.requestWillBeSent"
                and m["params"]["documentURL"].startswith("file:")}
        self.assertEqual(errors, [])
        self.assertEqual({u for u in urls if not u.startswith(("file:", "data:"))}, set())

    def open(self, address, url=None):
        self.browser.get("about:blank")
        self.browser.get((url or self.url) + address)
        self.js("return window.kinship.view()")  # the script has run

    def js(self, script, *args):
        return self.browser.execute_script(script, *args)

    def lineage(self, person, relatives):
        found, stack = set(), [person]
        while stack:
            for other in relatives[stack.pop()]:
                if other not in found:
                    found.add(other)
                    stack.append(other)
        return found

    def click_at(self, point):
        action = ActionBuilder(self.browser)
        action.pointer_action.move_to_location(round(point[0]), round(point[1])).click()
        action.perform()

    def test_search_ignores_case_and_accents_and_lists_twenty(self):
        self.assertRegex(self.summary, r"^The page \(p.HTML\) has been created: 400 individuals")
        self.assertEqual(self.js("return kinship.people()"), 400)
        expected = {i for i, n in self.name.items() if "conceicao" in fold(n)}
        for text in ("conceicao", "CONCEIÇÃO", "Conceiçao"):
            found = self.js("return kinship.search(arguments[0])", text)
            self.assertEqual((set(found), len(found)), (expected, len(expected)))
        odd = next(i for i, n in self.name.items() if n == ODD[1])
        self.assertEqual(self.js("return kinship.search('</SCRIPT><!-- \"x\"')"), [odd])
        self.assertEqual(self.js(f"return kinship.search('{odd}')")[0], odd)
        # Typed into the box after "/": 20 listed, the count said, Enter picks the first.
        ActionChains(self.browser).send_keys("/", "conceicao").perform()
        listed = self.browser.find_elements(By.CSS_SELECTOR, "#matches button")
        self.assertEqual(len(listed), 20)
        self.assertIn(str(len(expected)), self.browser.find_element(By.ID, "search-count").text)
        first = listed[0].get_attribute("data-id")
        ActionChains(self.browser).send_keys(Keys.ENTER).perform()
        self.assertEqual(self.js("return kinship.selection().id"), first)
        self.js("kinship.select(arguments[0])", odd)
        self.assertEqual(self.js("return document.getElementById('panel-name').textContent"),
                         ODD[1])

    def test_selection_is_the_person_their_ancestors_and_descendants(self):
        somebody = max(self.parents, key=lambda p: bool(self.parents[p]) * len(self.children[p]))
        for person in (somebody, next(iter(self.parents)), self.parents[somebody][0]):
            self.assertTrue(self.js("return kinship.select(arguments[0])", person))
            up, down = self.lineage(person, self.parents), self.lineage(person, self.children)
            chosen = self.js("return kinship.selection()")
            self.assertEqual((chosen["id"], set(chosen["ancestors"]), set(chosen["descendants"])),
                             (person, up, down))
            self.assertIsNotNone(self.js("return kinship.locate(arguments[0])", person))
        # A parent's link in the panel selects them; the back button returns. Both go
        # through the address, which the page follows once the browser reports the change.
        parent = self.parents[somebody][0]
        chosen = lambda: self.js("return kinship.selection().id")
        self.browser.find_element(By.CSS_SELECTOR, "#panel-children a").click()
        WebDriverWait(self.browser, 10).until(lambda _: chosen() != parent)
        child = chosen()
        self.assertIn(child, self.children[parent])
        self.assertTrue(self.browser.current_url.endswith(f"#id={child}"))
        self.browser.back()
        WebDriverWait(self.browser, 10).until(lambda _: chosen() == parent)
        self.js("kinship.clear()")
        self.assertIsNone(self.js("return kinship.selection()"))

    def test_a_click_where_locate_says_selects_that_person(self):
        person = list(self.parents)[200]
        self.js("kinship.view([-1e6, -1e6, 10, 10])")
        self.assertIsNone(self.js("return kinship.locate(arguments[0])", person))
        for width in (5000, 600):  # far out, and near enough to read the names
            self.js("kinship.select(arguments[0]); kinship.clear()", person)
            x, y = self.js("return kinship.locate(arguments[0])", person)
            left, top, w, _ = self.js("return kinship.view()")
            box = self.js("return document.getElementById('drawing').getBoundingClientRect()")
            unit = w / box["width"]
            x, y = left + (x - box["left"]) * unit, top + (y - box["top"]) * unit
            self.js("kinship.view(arguments[0])", [x - width / 2, y - 5, width, 10])
            self.click_at(self.js("return kinship.locate(arguments[0])", person))
            self.assertEqual(self.js("return kinship.selection().id"), person)

    def test_an_address_with_an_id_opens_with_that_person_selected(self):
        person = next(p for p in self.parents if self.parents[p] and self.children[p])
        self.open(f"#id={person}")
        self.assertEqual(self.js("return kinship.selection().id"), person)
        self.assertIn(self.name[person], self.browser.find_element(By.ID, "panel").text)
        ActionChains(self.browser).send_keys(Keys.ESCAPE).perform()
        self.assertIsNone(self.js("return kinship.selection()"))
        self.assertFalse(self.browser.find_element(By.ID, "panel").is_displayed())
        self.open("#id=nobody")
        self.assertIn("nobody", self.browser.find_element(By.ID, "search-count").text)

    def test_wheel_and_keys_zoom_and_the_legend_highlights_a_clan(self):
        self.js("kinship.select(arguments[0])", next(iter(self.clan)))
        ActionChains(self.browser).send_keys("0").perform()
        whole = self.js("return kinship.view()")
        view = self.browser.find_element(By.ID, "view")
        ActionChains(self.browser).scroll_from_origin(ScrollOrigin.from_element(view), 0, -300) \
            .perform()
        zoomed = self.js("return kinship.view()")
        self.assertLess(zoomed[2], whole[2] * 0.7)
        ActionChains(self.browser).send_keys("0").perform()
        self.assertEqual(self.js("return kinship.view()"), whole)
        # A clan replaces the selection.
        entry = self.browser.find_elements(By.CSS_SELECTOR, "#legend button")[2]
        entry.click()
        self.assertEqual((self.js("return kinship.selection()"), entry.get_attribute(
            "aria-pressed")), (None, "true"))

    def test_the_saved_picture_is_the_view(self):
        downloads = self.folder / "downloads"
        self.browser.execute_cdp_cmd("Page.setDownloadBehavior",
                                     {"behavior": "allow", "downloadPath": str(downloads)})
        self.js("kinship.select(arguments[0])", next(iter(self.clan)))
        settled(self.browser)
        self.browser.find_element(By.ID, "save").click()
        for _ in range(100):
            saved = list(downloads.glob("*.png"))
            if saved:
                break
            time.sleep(0.1)
        png = base64.b64encode(saved[0].read_bytes()).decode()
        width, height, canvas_width, canvas_height, differ, inked = \
            self.browser.execute_async_script(COMPARE, png)
        self.assertEqual((width, height), (canvas_width, canvas_height))
        self.assertLess(differ, 0.02)
        self.assertGreater(inked, 0.02)

    def test_a_family_drawing_lists_partners_with_their_marriage_year(self):
        self.open("", (self.folder / "f.html").as_uri())
        somebody = max(self.parents, key=lambda p: len(self.children[p]))
        partners = {q for c in self.children[somebody] for q in self.parents[c]} - {somebody}
        self.js("kinship.select(arguments[0])", somebody)
        listed = self.browser.find_element(By.ID, "panel-partners").text.split("\n")
        self.assertEqual({item.split("(")[-1].split(")")[0] for item in listed}, partners)
        self.js("kinship.select(arguments[0])", self.married[0])
        listed = self.browser.find_element(By.ID, "panel-partners").text
        self.assertIn(f"({self.married[1]}), married -1520", listed)


if __name__ == "__main__":
    unittest.main()
