"""kinship-draw end to end: the SVG of real drawing files against those files (read with
networkx) and a real renderer (rsvg-convert), and the failures."""

import os
import re
import subprocess
import tempfile
import unittest
import xml.etree.ElementTree as ET
from pathlib import Path

import networkx

SVG = "{http://www.w3.org/2000/svg}"
# 1 is the mother of 2 and of 3, and 2 the father of 3: the link 1 -> 3 skips a layer.
SKIPS_A_LAYER = "4\n1 f 0 0 a b 1900 1950\n2 m 0 1 a b 1920 1990\n3 m 2 1 a b 1940 0\n" \
                "4 f 0 0 c d 1921 0\n"


def points(element):
    """The (x, y) points an SVG element is drawn through."""
    get = lambda name: float(element.get(name).removesuffix("px"))
    tag = element.tag.removeprefix(SVG)
    if tag == "rect":
        return [(get("x"), get("y")), (get("x") + get("width"), get("y") + get("height"))]
    if tag == "ellipse":
        return [(get("cx") + s * get("rx"), get("cy") + s * get("ry")) for s in (-1, 1)]
    path = element.get("d") or element.get("points") or ""
    numbers = [float(n) for n in re.findall(r"-?[\d.]+", path)]
    return list(zip(numbers[0::2], numbers[1::2]))


class KinshipDraw(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        tmp = tempfile.TemporaryDirectory()
        cls.addClassCleanup(tmp.cleanup)
        cls.folder = Path(tmp.name)
        (cls.folder / "aldeia.txt").write_bytes(Path(os.environ["KINSHIP_EXAMPLE"]).read_bytes())
        (cls.folder / "skip.txt").write_text(SKIPS_A_LAYER)
        for name in ("aldeia.txt", "skip.txt"):
            subprocess.run([os.environ["KINSHIP_COMMAND"], name], cwd=cls.folder, check=True,
                           capture_output=True)

    def run_in_folder(self, *args):
        return subprocess.run(args, cwd=self.folder, capture_output=True, text=True, timeout=120)

    def test_every_individual_and_link_is_drawn_as_the_drawing_file_says(self):
        rsvg_convert = os.environ.get("KINSHIP_RSVG_CONVERT")
        self.assertTrue(rsvg_convert, "rsvg-convert (Debian package librsvg2-bin) is needed")
        for name in ("whl-gml-aldeia.txt", "whl-gml-skip.txt"):
            result = self.run_in_folder(os.environ["KINSHIP_DRAW"], name)
            self.assertEqual((result.returncode, result.stderr), (0, ""))
            drawing = networkx.read_gml(self.folder / name, label="id")
            svg = ET.parse(self.folder / f"{name}.svg").getroot()
            edge_groups, *node_groups = svg.findall(SVG + "g")
            self.assertEqual(len(node_groups), drawing.number_of_nodes())
            for group, node in zip(node_groups, drawing.nodes.values()):
                g = node["graphics"]
                [shape] = [e for e in group if e.tag in (SVG + "rect", SVG + "ellipse")]
                self.assertEqual([shape.tag, shape.get("fill").lower(), shape.get("stroke").lower(),
                                  float(shape.get("stroke-width").removesuffix("px"))],
                                 [SVG + ("ellipse" if g["type"] == "oval" else "rect"),
                                  g["fill"].lower(), g["line"].lower(), g["lineWidth"]])
                self.assertEqual(points(shape), [(g["x"] - g["w"] / 2, g["y"] - g["h"] / 2),
                                                 (g["x"] + g["w"] / 2, g["y"] + g["h"] / 2)])
                self.assertEqual(group.find(SVG + "text").text, node["label"])
                clan, sub_clan, birth, death = node["template"].split()
                self.assertEqual(group.find(SVG + "title").text,
                                 f"{node['label']}\nclan: {clan}\nsub-clan: {sub_clan}\n"
                                 f"birth: {birth}\ndeath: {death}")

            # Each link from its source's centre through its route, if any, to the arrow head
            # at the target; only in skip.txt does a link (1 -> 3) need a route.
            links = {group.find(SVG + "title").text: group for group in edge_groups}
            self.assertEqual(len(links), drawing.number_of_edges())
            routed = 0
            for u, v, edge in drawing.edges(data=True):
                source, target = drawing.nodes[u], drawing.nodes[v]
                group = links[f"{source['label']} \u2192 {target['label']}"]
                [path], [_arrow_head] = group.findall(SVG + "path"), group.findall(SVG + "polygon")
                route = edge["graphics"].get("Line", {"point": [source["graphics"]] * 2})["point"]
                drawn = points(path)
                drawn = [p for i, p in enumerate(drawn) if i == 0 or p != drawn[i - 1]]
                self.assertEqual(drawn[:len(route) - 1], [(p["x"], p["y"]) for p in route[:-1]])
                routed += len(route) > 2
            self.assertEqual(routed > 0, name == "whl-gml-skip.txt")

            x0, y0, width, height = map(float, svg.get("viewBox").split())
            for element in svg.iter():
                for x, y in points(element):
                    self.assertTrue(x0 <= x <= x0 + width and y0 <= y <= y0 + height, element)

            # A real renderer draws the picture at the size of its view box.
            result = self.run_in_folder(rsvg_convert, "-o", "picture.png", f"{name}.svg")
            self.assertEqual((result.returncode, result.stderr), (0, ""))
            header = (self.folder / "picture.png").read_bytes()[:24]
            self.assertEqual(header[:8], b"\x89PNG\r\n\x1a\n")
            for offset, expected in ((16, width), (20, height)):
                got = int.from_bytes(header[offset:offset + 4], "big")
                self.assertAlmostEqual(got, expected, delta=1)  # the view box, rounded

    def test_failures_name_the_file_and_leave_no_picture(self):
        text = (self.folder / "whl-gml-aldeia.txt").read_text()
        (self.folder / "cut.txt").write_text(text[: len(text) // 2])
        usage = "usage: kinship-draw DRAWING_FILE [SVG_FILE]"
        for args, status, message in (
                (["missing.txt"], 1, "missing.txt: cannot open the drawing file: No such file"),
                (["cut.txt"], 1, "cut.txt: the drawing file is malformed: line "),
                (["gml-aldeia.txt"], 1, "gml-aldeia.txt: no node has a position"),
                (["whl-gml-skip.txt", "no-folder/pic.svg"], 1,
                 "Cannot write the SVG file: cannot create no-folder/pic.svg: No such file"),
                ([], 2, usage), (["a", "b", "c"], 2, usage),
                (["whl-gml-skip.txt", "./whl-gml-skip.txt"], 2, usage)):
            result = self.run_in_folder(os.environ["KINSHIP_DRAW"], *args)
            self.assertEqual((result.returncode, result.stdout), (status, ""), args)
            self.assertTrue(result.stderr.startswith(message), result.stderr)
        for left in ("missing.txt.svg", "cut.txt.svg", "gml-aldeia.txt.svg", "no-folder"):
            self.assertFalse((self.folder / left).exists(), left)
        self.assertEqual(list(self.folder.glob("*.tmp-*")), [])
        self.assertTrue((self.folder / "whl-gml-skip.txt").read_text().startswith("Creator"))


if __name__ == "__main__":
    unittest.main()
