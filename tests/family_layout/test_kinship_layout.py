"""kinship-layout end to end: the command's messages and files, the drawing read by
networkx and drawn by kinship-draw as a picture and as a page (in headless Chromium)."""

import json
import os
import re
import subprocess
import sys
import unittest
from pathlib import Path

import networkx

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "scripts"))
from headless_chromium import chromium  # noqa: E402

from class_folder import class_folder  # noqa: E402

# 11 has children with 15 and with 16 (half-siblings 24 and 25); 21 and 22 are cousins;
# 29 has only a mother; 8 is related to no one.
PEDIGREE = """14
1 m 0 0 onca alto 1900 0
2 f 0 0 tatu alto 1902 0
10 m 1 2 onca alto 1925 0
11 f 1 2 onca alto 1927 0
12 f 0 0 arara alto 1926 0
15 m 0 0 tatu alto 1924 0
16 m 0 0 gaviao alto 1926 0
21 f 10 12 onca alto 1952 0
22 m 15 11 tatu alto 1950 0
25 f 16 11 gaviao alto 1955 0
29 m 0 25 gaviao alto 1975 0
30 m 22 21 tatu alto 1980 0
31 f 22 21 tatu alto 1982 0
8 m 0 0 - - 1950 0
"""
# 11 stands between her two partners, her name too long for one line.
NAMES = ("id\txref\tname\n11\t@I11@\tMaria Francisca Albuquerque\n"
         "15\t@I15@\tPedro Sampaio\n")


class KinshipLayout(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = class_folder(cls, {"ped.txt": PEDIGREE,
                                        "cycle.txt": "2\n1 m 2 0 a b 0 0\n2 f 1 0 a b 0 0\n",
                                        "names.tsv": NAMES,
                                        "bad.tsv": "id\txref\tname\n1\t@I1@\tAna\n2\tAna\n"})
        cls.result = cls.run_layout("ped.txt", "ped.gml")

    @classmethod
    def run_layout(cls, *args):
        return subprocess.run([os.environ["KINSHIP_LAYOUT"], *args], cwd=cls.folder,
                              capture_output=True, text=True, timeout=60)

    def draw(self, output, *args):
        result = subprocess.run([os.environ["KINSHIP_DRAW"], "ped.gml", output, *args],
                                cwd=self.folder, capture_output=True, text=True, timeout=60)
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        return result.stdout

    def test_summary_next_command_and_same_bytes_every_run(self):
        self.assertEqual((self.result.returncode, self.result.stderr), (0, ""))
        self.assertRegex(self.result.stdout, r"^Laid out 14 people and 5 couples in \d+ layers "
                         r"into ped.gml.\nNext: kinship-draw ped.gml ped.svg\n$")
        first = (self.folder / "ped.gml").read_bytes()
        self.assertEqual(self.run_layout("ped.txt", "again.gml").returncode, 0)
        self.assertEqual((self.folder / "again.gml").read_bytes(), first)

    def test_networkx_reads_people_and_family_nodes(self):
        graph = networkx.read_gml(self.folder / "ped.gml")
        families = {n for n, data in graph.nodes(data=True) if data.get("family") == 1}
        self.assertEqual(sorted(families), [f"family {k}" for k in range(1, 6)])
        self.assertEqual(set(graph.nodes) - families,
                         {line.split()[0] for line in PEDIGREE.splitlines()[1:]})
        self.assertEqual(sorted(graph.predecessors("family 3")), ["11", "15"])
        self.assertEqual(list(graph.successors("family 3")), ["22"])
        self.assertEqual(list(graph.predecessors("29")), ["25"])
        for person in set(graph.nodes) - families:
            self.assertEqual(graph.nodes[person]["graphics"]["w"], 30)

    def test_picture_draws_families_as_dots_without_counting_them(self):
        summary = self.draw("ped.svg", "--colour-by", "clan")
        self.assertRegex(summary, r"^The picture \(ped.svg\) has been created: 14 individuals, "
                         r"5 couples, 18 links.\n$")
        svg = (self.folder / "ped.svg").read_text()
        # The legend counts the 14 people only.
        for entry in ("tatu (5)", "onca (4)", "gaviao (3)", "arara (1)", "no clan recorded (1)"):
            self.assertIn(f">{entry}<", svg)
        self.assertIn("<title>family 3: the couple 15 and 11</title>", svg)
        self.assertNotIn(">family 3<", svg)

    def test_page_lineage_goes_through_family_nodes(self):
        self.draw("ped.html")
        page = (self.folder / "ped.html").read_text()
        data = json.loads(re.search(r'<script[^>]*id="kinship-data"[^>]*>(.*?)</script>',
                                    page, re.S).group(1))
        self.assertEqual((data["people"], len(data["x"]) - data["people"]), (14, 5))
        with chromium() as browser:
            browser.get((self.folder / "ped.html").as_uri())
            js = browser.execute_script
            self.assertEqual(js("return kinship.people()"), 14)
            self.assertTrue(js("return kinship.select('22')"))
            chosen = js("return kinship.selection()")
            self.assertEqual((set(chosen["ancestors"]), set(chosen["descendants"])),
                             ({"15", "11", "1", "2"}, {"30", "31"}))
            # 22's partner is the other end of the lines into their family node.
            self.assertEqual(js("return document.getElementById('panel-partners').textContent"),
                             "21")

    def test_names_in_full_with_their_width(self):
        result = self.run_layout("ped.txt", "named.gml", "--names", "names.tsv")
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        self.assertTrue(result.stdout.endswith(
            "Next: kinship-draw named.gml named.svg --names names.tsv\n"))
        graph = networkx.read_gml(self.folder / "named.gml")
        self.assertEqual(graph.nodes["11"]["graphics"]["w"], 30)
        whole = [">Maria Francisca</text>", ">Albuquerque</text>", ">Sampaio</text>"]
        for drawing, shown in (("named.gml", True), ("ped.gml", False)):
            subprocess.run([os.environ["KINSHIP_DRAW"], drawing, "out.svg", "--names",
                            "names.tsv"], cwd=self.folder, check=True, capture_output=True)
            svg = (self.folder / "out.svg").read_text()
            self.assertEqual([text in svg for text in whole], [shown] * 3, drawing)

    def test_bad_input_fails_with_a_message_and_writes_nothing(self):
        cases = [(["ped.txt", "n.gml", "--names", "bad.tsv"], 1, "bad.tsv:3: expected id<TAB>cross-reference<TAB>name"),
                 (["cycle.txt", "c.gml"], 1, "cycle.txt"),
                 (["missing.txt", "m.gml"], 1, "missing.txt"),
                 (["ped.txt"], 2, "usage: kinship-layout PEDIGREE_FILE DRAWING_FILE"),
                 (["ped.txt", "ped.txt"], 2, "would replace the pedigree file")]
        for args, status, message in cases:
            result = self.run_layout(*args)
            self.assertEqual(result.returncode, status, args)
            self.assertIn(message, result.stderr)
            self.assertNotIn("Traceback", result.stderr)
        self.assertFalse((self.folder / "c.gml").exists())
        self.assertFalse((self.folder / "m.gml").exists())
        self.assertFalse((self.folder / "n.gml").exists())


if __name__ == "__main__":
    unittest.main()
