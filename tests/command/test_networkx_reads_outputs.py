"""A third-party GML reader (networkx) reads both files the command makes for the bundled
example, with the expected nodes, edges and labels. Needs KINSHIP_COMMAND and
KINSHIP_EXAMPLE in the environment."""

import os
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

import networkx

COMMAND = os.environ["KINSHIP_COMMAND"]
EXAMPLE = Path(os.environ["KINSHIP_EXAMPLE"])


def pedigree_links(text):
    """(ids, links) of a clan pedigree text: links are (parent id, child id) pairs."""
    items = text.split()
    count = int(items[0])
    records = [items[1 + 8 * i: 9 + 8 * i] for i in range(count)]
    ids = [r[0] for r in records]
    links = {(parent, r[0]) for r in records for parent in (r[2], r[3])
             if parent != "0" and parent != r[0]}
    return ids, links


class NetworkxReadsOutputs(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls._tmp = tempfile.TemporaryDirectory()
        folder = Path(cls._tmp.name)
        shutil.copy(EXAMPLE, folder / "ped.txt")
        subprocess.run([COMMAND, "ped.txt"], cwd=folder, check=True, capture_output=True)
        cls.ids, cls.links = pedigree_links(EXAMPLE.read_text())
        cls.first = networkx.read_gml(folder / "gml-ped.txt", label="id")
        cls.drawing = networkx.read_gml(folder / "whl-gml-ped.txt", label="id")

    @classmethod
    def tearDownClass(cls):
        cls._tmp.cleanup()

    def test_first_file_holds_the_pedigree(self):
        self.assertEqual(self.first.number_of_nodes(), len(self.ids))
        self.assertEqual(self.first.number_of_edges(), len(self.links))
        self.assertEqual(sorted(str(v) for v in self.first.nodes),
                         sorted(self.ids))
        self.assertEqual({self.first.nodes[v]["label"] for v in self.first.nodes},
                         set(self.ids))

    def test_drawing_file_holds_the_same_network_with_positions(self):
        self.assertTrue(self.drawing.is_directed())
        labels = {v: self.drawing.nodes[v]["label"] for v in self.drawing.nodes}
        self.assertEqual(sorted(labels.values()), sorted(self.ids))
        edges = {(labels[u], labels[v]) for u, v in self.drawing.edges()}
        self.assertEqual(edges, self.links)
        for v in self.drawing.nodes:
            graphics = self.drawing.nodes[v]["graphics"]
            self.assertIn("x", graphics)
            self.assertIn("y", graphics)
        for u, v in self.drawing.edges():
            self.assertLess(self.drawing.nodes[u]["graphics"]["y"],
                            self.drawing.nodes[v]["graphics"]["y"])


if __name__ == "__main__":
    unittest.main()
