"""kinship-draw end to end, against the drawing files (networkx) and a renderer (rsvg-convert)."""

import os
import re
import subprocess
import unittest
import xml.etree.ElementTree as ET
from pathlib import Path

import networkx

from class_folder import class_folder

SVG = "{http://www.w3.org/2000/svg}"
NAMES = ["Maria da Concei\u00e7\u00e3o Silva", "\u674e\u5c0f\u9f8d <&>", "",
         "Iracema Concei\u00e7\u00e3o de Albuquerque Guimar\u00e3es"]
FILES = {  # skip.txt: 1 is the mother of 2 and 3, 2 the father of 3: 1 -> 3 skips a layer
    "skip.txt": "4\n1 f 0 0 a b 1900 1950\n2 m 0 1 a b 1920 1990\n3 m 2 1 a b 1940 0\n"
                "4 f 0 0 c d 1921 0\n",
    # 3 is unnamed, 9 not drawn; 1 has one line of 41 units, 2 plenty, 4 two lines of 41
    "names.tsv": "id\tx\tname\n" + "".join(f"{i}\t@I{i}@\t{n}\r\n" for i, n in enumerate(NAMES, 1))
                 + "9\t\t9", "d.svg": "", "cut.gml": "graph [\n node [ id 1",
    # "-" is no clan (or sub-clan) recorded, the largest group here; "_" stands for a blank
    "none.txt": "5\n1 m 0 0 - - 1900 0\n2 f 0 0 - x 1900 0\n3 m 1 2 da_Silva - 1920 0\n"
                "4 f 0 0 - - 1900 0\n5 m 0 0 da_Silva y_z 1900 0\n",
    "bad.tsv": "id\tx\tname\n1 @I1@ Ana\n", "twice.tsv": "id\tx\tname\n\n1\t\tAna\n1\t\tAna\n"}


def corners(shape):
    get = {key: float(shape.get(key, "0").removesuffix("px"))
           for key in ("x", "y", "width", "height", "cx", "cy", "rx", "ry")}
    left, top = get["x"] + get["cx"] - get["rx"], get["y"] + get["cy"] - get["ry"]
    return [(left, top), (left + get["width"] + 2 * get["rx"], top + get["height"] + 2 * get["ry"])]


class KinshipDraw(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        FILES["aldeia.txt"] = Path(os.environ["KINSHIP_EXAMPLE"]).read_text()
        cls.folder = class_folder(cls, FILES)
        for name in FILES:
            if name.endswith(".txt"):
                subprocess.run([os.environ["KINSHIP_COMMAND"], name], cwd=cls.folder, check=True,
                               capture_output=True)

    def run_in_folder(self, *args):
        return subprocess.run(args, cwd=self.folder, capture_output=True, text=True, timeout=120)

    def draw(self, *args):
        """Draws; the view box holds everything, and a real renderer takes the picture."""
        result = self.run_in_folder(os.environ["KINSHIP_DRAW"], *args)
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        name = re.search(r"\((.*)\)", result.stdout)[1]
        rendered = self.run_in_folder(os.environ["KINSHIP_RSVG_CONVERT"], "-o", "p.png", name)
        self.assertEqual((rendered.returncode, rendered.stderr), (0, ""))
        svg = ET.parse(self.folder / name).getroot()
        x0, y0, width, height = map(float, svg.get("viewBox").split())
        shapes = [e for e in svg.iter() if e.tag in (SVG + "rect", SVG + "ellipse")]
        for x, y in (point for shape in shapes for point in corners(shape)):
            self.assertTrue(x0 <= x <= x0 + width and y0 <= y <= y0 + height)
        return svg, result.stdout

    def test_every_individual_and_link_is_drawn_with_its_tooltip(self):
        for name in ("whl-gml-aldeia.txt", "whl-gml-skip.txt"):
            svg, _ = self.draw(name)
            drawing = networkx.read_gml(self.folder / name, label="id")
            edge_groups, *node_groups = svg.findall(SVG + "g")
            self.assertEqual(len(node_groups), drawing.number_of_nodes())
            tip = "{}\nclan: {}\nsub-clan: {}\nbirth: {}\ndeath: {}"
            for group, n in zip(node_groups, drawing.nodes.values()):
                self.assertEqual([group.findtext(SVG + tag) for tag in ("text", "title")],
                                 [n["label"], tip.format(n["label"], *n["template"].split())])
            # Each link with its two ends named and one arrow head (the bends: tests/gml).
            label = lambda v: drawing.nodes[v]["label"]
            self.assertEqual({g.find(SVG + "title").text: len(g.findall(SVG + "polygon"))
                              for g in edge_groups},
                             {f"{label(u)} \u2192 {label(v)}": 1 for u, v in drawing.edges})

    def test_names_under_the_shapes_fills_and_a_legend(self):
        for colour_by, fills, legend in (
                ("sex", ["#FFE4E1", "#ADD8E6", "#ADD8E6", "#FFE4E1"], []),
                ("clan", ["#E69F00"] * 3 + ["#56B4E9"], ["a (3)", "c (1)"]),
                ("subclan", ["#E69F00"] * 3 + ["#56B4E9"], ["a / b (3)", "c / d (1)"])):
            svg, stdout = self.draw("whl-gml-skip.txt", "n.svg", "--names", "names.tsv",
                                    "--colour-by", colour_by)
            self.assertRegex(stdout, "; 3 named; ids of the names table not in the drawing: 1.\n$")
            *node_groups, legend_group = svg.findall(SVG + "g")[1:]
            self.assertEqual([[t.text for t in g.findall(SVG + "text")] for g in node_groups],
                             [["Silva"], [NAMES[1]], ["3"], ["I.", "Guim\u2026"]])
            self.assertEqual([g.findtext(SVG + "title").split("\n")[0] for g in node_groups],
                             [name or "3" for name in NAMES])
            self.assertEqual([g.find("*[@stroke-width]").get("fill") for g in node_groups], fills)
            self.assertEqual([t.text for t in legend_group.iter(SVG + "text")],
                             ["man", "woman or not recorded"] + legend)

    def test_no_clan_recorded_is_never_a_coloured_clan(self):
        grey, orange = "#BBBBBB", "#E69F00"
        for colour_by, fills, legend in (
                ("clan", [grey, grey, orange, grey, orange], ["da Silva (2)", "no clan recorded (3)"]),
                ("subclan", [grey] * 4 + [orange],
                 ["da Silva / y z (1)", "no clan recorded (3)", "no sub-clan recorded (1)"])):
            svg, _ = self.draw("whl-gml-none.txt", "--colour-by", colour_by)
            *node_groups, legend_group = svg.findall(SVG + "g")[1:]
            self.assertEqual([g.find("*[@stroke-width]").get("fill") for g in node_groups], fills)
            self.assertEqual([t.text for t in legend_group.iter(SVG + "text")][2:], legend)
        self.assertEqual(node_groups[2].findtext(SVG + "title"),
                         "3\nclan: da Silva\nsub-clan: none recorded\nbirth: 1920\ndeath: 0")

    def test_inbreeding_fills_and_tooltips_from_kinship_stats(self):
        # skip.txt: 3 is the child of 2 and his mother 1, so F = 1/4.
        self.run_in_folder(os.environ["KINSHIP_STATS"], "skip.txt", "st").check_returncode()
        svg, _ = self.draw("whl-gml-skip.txt", "f.svg", "--stats", "st", "--colour-by",
                           "inbreeding")
        *node_groups, legend_group = svg.findall(SVG + "g")[1:]
        self.assertEqual([g.find("*[@stroke-width]").get("fill") for g in node_groups],
                         ["#EEEEEE", "#EEEEEE", "#FDE725", "#EEEEEE"])
        self.assertTrue(node_groups[2].findtext(SVG + "title").endswith(
            "\ngeneration: 2\nF: 0.25"))
        self.assertEqual([t.text for t in legend_group.iter(SVG + "text")][2:],
                         ["F = 0", "F near 0", "F = 0.0625", "F = 0.125", "F = 0.1875",
                          "F = 0.25"])
        (self.folder / "bad").mkdir()
        for text, message in (("", "bad/people.tsv:1: expected the header"),
                              ("id\tgeneration\n", "bad/people.tsv:1: expected the header"),
                              ("id\tgeneration\tinbreeding\n1\t0\n", "bad/people.tsv:2: expected"),
                              ("id\tgeneration\tinbreeding\n1\t0\t1/4\n",
                               'bad/people.tsv:2: the inbreeding "1/4" is not a number')):
            (self.folder / "bad" / "people.tsv").write_text(text)
            run = self.run_in_folder(os.environ["KINSHIP_DRAW"], "whl-gml-skip.txt", "b.svg",
                                     "--stats", "bad")
            self.assertEqual((run.returncode, run.stderr[:len(message)]), (1, message))
        self.assertFalse((self.folder / "b.svg").exists())

    def test_failures_name_the_file_and_leave_no_picture(self):
        usage, skip = "usage: kinship-draw DRAWING_FILE [SVG_FILE|PAGE.html]", "whl-gml-skip.txt"
        for args, status, message in (
                (["missing.txt"], 1, "missing.txt: cannot open the drawing file: No such file"),
                (["cut.gml"], 1, "cut.gml:2: list opened on this line"),
                (["gml-aldeia.txt"], 1, "gml-aldeia.txt: no node has a position"),
                ([skip, "no/p.svg"], 1, "cannot create no/p.svg: No such file or directory"),
                ([skip, "no/p.html"], 1, "cannot create no/p.html: No such file or directory"),
                ([skip, "m.svg", "--names", "no.tsv"], 1, "no.tsv: cannot open the names table"),
                ([skip, "m.svg", "--names", "bad.tsv"], 1, "bad.tsv:2: expected id<TAB>"),
                ([skip, "m.svg", "--names", "twice.tsv"], 1, "twice.tsv:4: id 1 is already"),
                ([], 2, "\ngive one drawing file"), (["a", "b", "c"], 2, "\ngive one"),
                (["d.svg", "./d.svg"], 2, "would replace"),
                ([skip, "m.png"], 2, "m.png must end in .svg or .html"),
                ([skip, "m.htm"], 2, "m.htm must end"),
                ([skip, "--colour-by", "red"], 2, "takes sex, clan, subclan or inbreeding, not"),
                ([skip, "--colour-by", "inbreeding"], 2, "inbreeding needs --stats"),
                ([skip, "m.svg", "--stats", "no"], 1, "no/people.tsv: cannot open the table"),
                ([skip, "--names"], 2, "\n--names needs a value"), ([skip, "-b"], 2, "option -b"),
                (["--help"], 0, usage), (["--version"], 0, "kinship-draw 0.1.0\n")):
            run = self.run_in_folder(os.environ["KINSHIP_DRAW"], *args)
            out, quiet = (run.stderr, run.stdout)[:: 1 if status else -1]
            start = usage if status == 2 else message
            self.assertEqual((run.returncode, quiet, out[:len(start)]), (status, "", start), args)
            self.assertIn(message, out)
        left = {"missing.txt.svg", "cut.gml.svg", "gml-aldeia.txt.svg", "m.svg", "m.png", "m.htm"}
        self.assertFalse([p for p in self.folder.iterdir() if p.name in left or ".tmp-" in p.name])


if __name__ == "__main__":
    unittest.main()
