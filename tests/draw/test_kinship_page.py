"""kinship-draw's page in headless Chromium: search, selection against the pedigree, #id=
addresses, zoom, the legend; no console error and no network request in any of them."""

import json
import os
import re
import subprocess
import sys
import unicodedata
import unittest
from pathlib import Path

from selenium.webdriver import ActionChains, Keys
from selenium.webdriver.common.actions.wheel_input import ScrollOrigin
from selenium.webdriver.common.by import By

from class_folder import class_folder
from headless_chromium import chromium

ROOT = Path(__file__).resolve().parents[2]
# Names that must reach the page as they are: markup that would end its script, and U+2028.
ODD = {1: "Zé </script><!-- \"x\" \u2028 & <b>", 2: "Ana Conceição"}


def fold(text):
    return "".join(c for c in unicodedata.normalize("NFD", text)
                   if not unicodedata.combining(c)).lower()


class KinshipPage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        folder = class_folder(cls)
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
        run(*draw, "p.svg", "--names", "names.tsv", "--colour-by", "clan")
        cls.page, cls.svg = (folder / "p.HTML").read_text(), (folder / "p.svg").read_text()
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
                and m["params"]["documentURL"].startswith(self.url)}
        self.assertEqual(errors, [])
        self.assertLessEqual({u.split("#")[0] for u in urls}, {self.url, "data:,"})

    def open(self, address):
        self.browser.get("about:blank")
        self.browser.get(self.url + address)
        self.js("return window.kinship.view()")  # the script has run

    def js(self, script, *args):
        return self.browser.execute_script(script, *args)

    def classed(self, name):
        return self.js(f"return [...document.querySelectorAll('[data-id].{name}')]"
                       ".map(e => e.dataset.id)")

    def assert_nobody_selected(self):
        self.assertEqual((self.js("return kinship.selection()"), self.classed("selected"),
                          self.classed("dimmed")), (None, [], []))

    def lineage(self, person, relatives):
        found, stack = set(), [person]
        while stack:
            for other in relatives[stack.pop()]:
                if other not in found:
                    found.add(other)
                    stack.append(other)
        return found

    def test_the_page_holds_the_picture_unchanged(self):
        self.assertRegex(self.summary, r"^The page \(p.HTML\) has been created: 400 individuals")
        self.assertIn(self.svg.split("?>\n", 1)[1], self.page)
        self.assertEqual(len(self.js("return document.querySelectorAll('g[data-id]')")), 400)

    def test_search_ignores_case_and_accents_and_lists_twenty(self):
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
            self.assertEqual(self.classed("selected"), [person])
            self.assertEqual(set(self.classed("lineage")), up | down)
            self.assertEqual(len(self.classed("dimmed")), 400 - 1 - len(up | down))
            x, y, width, height = self.js("return kinship.view()")
            box = self.js("return document.querySelector(`[data-id='${arguments[0]}'] > rect, "
                          "[data-id='${arguments[0]}'] > ellipse`).getBBox()", person)
            self.assertTrue(x < box["x"] < x + width and y < box["y"] < y + height)
        # A parent's link in the panel selects them; the back button returns.
        self.browser.find_element(By.CSS_SELECTOR, "#panel-children a").click()
        child = self.js("return kinship.selection().id")
        self.assertIn(child, self.children[self.parents[somebody][0]])
        self.assertTrue(self.browser.current_url.endswith(f"#id={child}"))
        self.browser.back()
        self.assertEqual(self.js("return kinship.selection().id"), self.parents[somebody][0])
        self.js("kinship.clear()")
        self.assert_nobody_selected()

    def test_an_address_with_an_id_opens_with_that_person_selected(self):
        person = next(p for p in self.parents if self.parents[p] and self.children[p])
        self.open(f"#id={person}")
        self.assertEqual(self.js("return kinship.selection().id"), person)
        self.assertIn(self.name[person], self.browser.find_element(By.ID, "panel").text)
        ActionChains(self.browser).send_keys(Keys.ESCAPE).perform()
        self.assert_nobody_selected()
        self.assertFalse(self.browser.find_element(By.ID, "panel").is_displayed())

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
        # A clan replaces the selection, and stays when the address loses the person's id.
        entry = self.browser.find_elements(By.CSS_SELECTOR, "text.legend-entry")[2]
        clan, size = re.fullmatch(r"(\S+) \((\d+)\)", entry.text).groups()
        entry.click()
        self.browser.execute_async_script("setTimeout(arguments[0], 100)")
        self.assertEqual(self.classed("selected"), [])
        members = self.classed("member")
        self.assertEqual((len(members), {self.clan[m] for m in members}), (int(size), {clan}))


if __name__ == "__main__":
    unittest.main()
