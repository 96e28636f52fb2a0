"""End-to-end tests of the hierarchical-layout executable: messages, streams, exit
statuses, and which files are made or left alone. The executable comes from the
KINSHIP_COMMAND environment variable."""

import os
import subprocess
import tempfile
import unittest
from pathlib import Path

COMMAND = os.environ["KINSHIP_COMMAND"]

FAMILY = """3
101 m 0 0 north low 1900 1960
102 f 0 0 south high 1905 1970
103 m 101 102 north low 1930 1990
"""


def run(folder, *args):
    return subprocess.run([COMMAND, *args], cwd=folder, capture_output=True, text=True,
                          timeout=120)


class CommandTest(unittest.TestCase):
    def setUp(self):
        self._tmp = tempfile.TemporaryDirectory()
        self.folder = Path(self._tmp.name)

    def tearDown(self):
        self._tmp.cleanup()

    def write(self, name, text):
        (self.folder / name).write_text(text)

    def files(self):
        return sorted(p.relative_to(self.folder).as_posix() for p in self.folder.rglob("*"))

    def test_success_prints_every_stage_and_writes_both_files(self):
        self.write("ped.txt", FAMILY)
        result = run(self.folder, "ped.txt")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stderr, "")
        self.assertEqual(result.stdout,
                         "Creating the first gml format file: gml-ped.txt.\n"
                         "The first gml format file (gml-ped.txt) has been created.\n"
                         "Creating the second gml format file (for drawing): whl-gml-ped.txt\n"
                         "The second gml format file (whl-gml-ped.txt) has been created.\n\n"
                         "Use ONLY the second gml format file (whl-gml-ped.txt) to draw the "
                         "corresponding kinship network.\n\n"
                         "FINISHED\n")
        self.assertEqual(self.files(), ["gml-ped.txt", "ped.txt", "whl-gml-ped.txt"])
        drawing = (self.folder / "whl-gml-ped.txt").read_text()
        self.assertTrue(drawing.startswith('Creator "ogdf::GraphAttributes::writeGML"\n'))
        self.assertEqual(drawing.count("    label "), 3)
        self.assertEqual(drawing.count('arrow "last"'), 2)

    def test_two_runs_give_identical_drawings(self):
        self.write("ped.txt", FAMILY)
        self.assertEqual(run(self.folder, "ped.txt").returncode, 0)
        first = (self.folder / "whl-gml-ped.txt").read_bytes()
        self.assertEqual(run(self.folder, "ped.txt").returncode, 0)
        self.assertEqual((self.folder / "whl-gml-ped.txt").read_bytes(), first)

    def test_empty_pedigree_gives_an_empty_drawing(self):
        self.write("ped.txt", "0\n")
        result = run(self.folder, "ped.txt")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual((self.folder / "whl-gml-ped.txt").read_text(),
                         'Creator "ogdf::GraphAttributes::writeGML"\ngraph [\n  directed 1\n]\n')

    def test_inconsistent_pedigree_fails_before_any_file_and_keeps_old_ones(self):
        self.write("ped.txt", FAMILY)
        self.assertEqual(run(self.folder, "ped.txt").returncode, 0)
        before = {name: (self.folder / name).read_bytes()
                  for name in ("gml-ped.txt", "whl-gml-ped.txt")}
        self.write("ped.txt", "5\n1 m 0 0 a b 0 0\n2 f 0 0 a b 0 0\n3 m 1 2 a b 0 0\n"
                              "4 f 0 0 a b 0 0\n5 m 0 99 a b 0 0\n")
        result = run(self.folder, "ped.txt")
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stdout, "Creating the first gml format file: gml-ped.txt.\n"
                                        "4 -2 -1 ERRO na montagem do Grafo.\n")
        for name, content in before.items():
            self.assertEqual((self.folder / name).read_bytes(), content)

    def test_missing_or_unreadable_pedigree_fails_with_a_message(self):
        result = run(self.folder, "absent.txt")
        self.assertEqual(result.returncode, 1)
        self.assertIn("absent.txt", result.stderr)
        self.assertEqual(self.files(), [])

    def test_prefix_goes_before_the_whole_argument(self):
        (self.folder / "data").mkdir()
        self.write("data/ped.txt", FAMILY)
        result = run(self.folder, "data/ped.txt")
        self.assertEqual(result.returncode, 1)
        self.assertIn("gml-data/ped.txt", result.stderr)
        self.assertEqual(self.files(), ["data", "data/ped.txt"])

        (self.folder / "gml-data").mkdir()
        (self.folder / "whl-gml-data").mkdir()
        result = run(self.folder, "data/ped.txt")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertTrue((self.folder / "gml-data/ped.txt").is_file())
        self.assertTrue((self.folder / "whl-gml-data/ped.txt").is_file())

    def test_unwritable_drawing_file_is_a_failure(self):
        self.write("ped.txt", FAMILY)
        (self.folder / "whl-gml-ped.txt").mkdir()
        result = run(self.folder, "ped.txt")
        self.assertEqual(result.returncode, 1)
        self.assertIn("whl-gml-ped.txt", result.stderr)
        self.assertNotIn("FINISHED", result.stdout)
        self.assertTrue((self.folder / "gml-ped.txt").is_file())
        self.assertEqual(self.files(), ["gml-ped.txt", "ped.txt", "whl-gml-ped.txt"])

    def test_bad_arguments_get_usage_and_status_2(self):
        for args in ([], ["p" * 142]):
            result = run(self.folder, *args)
            self.assertEqual(result.returncode, 2)
            self.assertEqual(result.stdout, "")
            self.assertTrue(result.stderr.startswith("usage: hierarchical-layout"))
        self.assertEqual(self.files(), [])

    def test_longest_accepted_argument(self):
        name = "p" * 141
        self.write(name, "0\n")
        # Output names of 145 and 149 characters.
        result = run(self.folder, name)
        self.assertEqual(result.returncode, 0, result.stderr)


if __name__ == "__main__":
    unittest.main()
