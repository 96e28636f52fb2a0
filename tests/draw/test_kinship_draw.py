"""kinship-draw end to end: the SVG of a real drawing file against that file (read with
networkx), a routed link, a real renderer (rsvg-convert) and the failures. Needs
KINSHIP_COMMAND, KINSHIP_DRAW, KINSHIP_EXAMPLE and KINSHIP_RSVG_CONVERT."""

import os
import re
import shutil
import struct
import subprocess
import tempfile
import unittest
import xml.etree.ElementTree as ET
from pathlib import Path

import networkx

COMMAND = os.environ["KINSHIP_COMMAND"]
DRAW = os.environ["KINSHIP_DRAW"]
EXAMPLE = Path(os.environ["KINSHIP_EXAMPLE"])
RSVG_CONVERT = os.environ.get("KINSHIP_RSVG_CONVERT", "")
SVG = "{http://www.w3.org/2000/svg}"

# 1 is the mother of 2 and of 3, and 2 the father of 3: the link 1 -> 3 skips a layer.
SKIPS_A_LAYER = """4
1 f 0 0 a b 1900 1950
2 m 0 1 a b 1920 1990
3 m 2 1 a b 1940 0
4 f 0 0 c d 1921 0
"""


def run(folder, *args):
    return subprocess.run([DRAW, *args], cwd=folder, capture_output=True, text=True, timeout=120)


def points(element):
    """The (x, y) points an SVG element is drawn through."""
    get = lambda name: float(element.get(name).removesuffix("px"))
    tag = element.tag.removeprefix(SVG)
    if tag == "rect":
        return [(get("x"), get("y")), (get("x") + get("width"), get("y") + get("height"))]
    if tag == "ellipse":
        return [(get("cx") + s * get("rx"), get("cy") + s * get("ry")) for s in (-1, 1)]
    if tag == "text":
        return [(get("x"), get("y"))]
    path = element.get("d") or element.get("points") or ""
    numbers = [float(n) for n in re.findall(r"-?[\d.]+", path)]
    return list(zip(numbers[0::2], numbers[1::2]))


class KinshipDraw(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls._tmp = tempfile.TemporaryDirectory()
        cls.folder = Path(cls._tmp.name)
        shutil.copy(EXAMPLE, cls.folder / "aldeia.txt")
        (cls.folder / "skip.txt").write_text(SKIPS_A_LAYER)
        for name in ("aldeia.txt", "skip.txt"):
            subprocess.run([COMMAND, name], cwd=cls.folder, check=True, capture_output=True)

    @classmethod
    def tearDownClass(cls):
        cls._tmp.cleanup()

    def draw(self, name):
        """The drawing file (networkx) and the root of its SVG, drawn under the default name."""
        result = run(self.folder, "whl-gml-" + name)
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        self.assertIn(f"(whl-gml-{name}.svg) has been created", result.stdout)
        drawing = networkx.read_gml(self.folder / ("whl-gml-" + name), label="id")
        return drawing, ET.parse(self.folder / f"whl-gml-{name}.svg").getroot()

    def test_example_shows_every_individual_and_link_as_the_drawing_file_says(self):
        drawing, svg = self.draw("aldeia.txt")
        edge_groups, *node_groups = svg.findall(SVG + "g")
        self.assertEqual(len(node_groups), drawing.number_of_nodes())
        label = {v: drawing.nodes[v]["label"] for v in drawing}
        centre = {}
        for group, v in zip(node_groups, drawing):
            node, g = drawing.nodes[v], drawing.nodes[v]["graphics"]
            [shape] = [e for e in group if e.tag in (SVG + "rect", SVG + "ellipse")]
            self.assertEqual(shape.tag, SVG + ("ellipse" if g["type"] == "oval" else "rect"))
            self.assertEqual(shape.get("fill").lower(), g["fill"].lower())
            self.assertEqual(shape.get("stroke").lower(), g["line"].lower())
            self.assertEqual(float(shape.get("stroke-width").removesuffix("px")), g["lineWidth"])
            (left, top), (right, bottom) = points(shape)
            self.assertEqual((left, top, right, bottom), (g["x"] - g["w"] / 2, g["y"] - g["h"] / 2,
                                                          g["x"] + g["w"] / 2, g["y"] + g["h"] / 2))
            self.assertEqual(group.find(SVG + "text").text, node["label"])
            clan, sub_clan, birth, death = node["template"].split()
            self.assertEqual(group.find(SVG + "title").text,
                             f"{node['label']}\nclan: {clan}\nsub-clan: {sub_clan}\n"
                             f"birth: {birth}\ndeath: {death}")
            centre[v] = (g["x"], g["y"])

        links = {group.find(SVG + "title").text: group for group in edge_groups}
        self.assertEqual(len(links), drawing.number_of_edges())
        for u, v in drawing.edges():
            group = links[f"{label[u]} \u2192 {label[v]}"]
            [path], [_arrow_head] = group.findall(SVG + "path"), group.findall(SVG + "polygon")
            self.assertEqual(points(path)[0], centre[u])

        x0, y0, width, height = map(float, svg.get("viewBox").split())
        for element in svg.iter():
            for x, y in points(element):
                self.assertTrue(x0 <= x <= x0 + width and y0 <= y <= y0 + height, element.attrib)

    def test_a_link_that_skips_a_layer_is_drawn_through_its_bend_points(self):
        drawing, svg = self.draw("skip.txt")
        label = {drawing.nodes[v]["label"]: v for v in drawing}
        route = drawing.edges[label["1"], label["3"]]["graphics"]["Line"]["point"]
        route = [(p["x"], p["y"]) for p in route]
        self.assertGreater(len(route), 2)  # source centre, bends, target centre
        [group] = [g for g in svg.iter(SVG + "g") if g.findtext(SVG + "title") == "1 \u2192 3"]
        drawn = points(group.find(SVG + "path"))
        drawn = [p for i, p in enumerate(drawn) if i == 0 or p != drawn[i - 1]]
        self.assertEqual(drawn[:-1], route[:-1])  # the last point stops at the arrow head

    def test_a_real_renderer_draws_the_picture_at_its_size(self):
        self.assertTrue(RSVG_CONVERT, "rsvg-convert (Debian package librsvg2-bin) is needed")
        _, svg = self.draw("aldeia.txt")
        width, height = map(float, svg.get("viewBox").split()[2:])
        png = self.folder / "aldeia.png"
        result = subprocess.run([RSVG_CONVERT, "-o", png, self.folder / "whl-gml-aldeia.txt.svg"],
                                capture_output=True, text=True, timeout=120)
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        header = png.read_bytes()[:24]
        self.assertEqual(header[:8], b"\x89PNG\r\n\x1a\n")
        for got, expected in zip(struct.unpack(">II", header[16:24]), (width, height)):
            self.assertAlmostEqual(got, expected, delta=1)  # the view box, rounded

    def test_failures_name_the_file_and_write_no_picture(self):
        (self.folder / "folder").mkdir(exist_ok=True)
        text = (self.folder / "whl-gml-aldeia.txt").read_text()
        (self.folder / "cut.txt").write_text(text[: len(text) // 2])
        (self.folder / "cut.txt.svg").write_text("an older picture")
        for name, message in (
                ("missing.txt",
                 "missing.txt: cannot open the drawing file: No such file or directory"),
                ("folder", "folder: cannot read the drawing file: Is a directory"),
                ("cut.txt", "cut.txt: the drawing file is malformed: line "),
                ("gml-aldeia.txt", "gml-aldeia.txt: no node has a position")):
            result = run(self.folder, name)
            self.assertEqual(result.returncode, 1, name)
            self.assertTrue(result.stderr.startswith(message), result.stderr)
            self.assertEqual(result.stdout, "")
            # No picture is written; only the older one of cut.txt is there.
            self.assertEqual((self.folder / (name + ".svg")).exists(), name == "cut.txt")
        self.assertEqual((self.folder / "cut.txt.svg").read_text(), "an older picture")
        self.assertEqual(list(self.folder.glob("*.tmp-*")), [])

        result = run(self.folder, "whl-gml-skip.txt", "no-folder/pic.svg")
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stderr, "Cannot write the SVG file: cannot create "
                                        "no-folder/pic.svg: No such file or directory\n")
        for args in ([], ["a", "b", "c"], ["whl-gml-skip.txt", "./whl-gml-skip.txt"]):
            result = run(self.folder, *args)
            self.assertEqual(result.returncode, 2, args)
            self.assertTrue(result.stderr.startswith("usage: kinship-draw DRAWING_FILE [SVG_FILE]"))
        self.assertTrue((self.folder / "whl-gml-skip.txt").read_text().startswith("Creator"))

        self.assertEqual(run(self.folder, "whl-gml-skip.txt", "picture.svg").returncode, 0)
        ET.parse(self.folder / "picture.svg")


if __name__ == "__main__":
    unittest.main()
