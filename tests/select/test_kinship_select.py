"""kinship-select end to end, against sets worked out by hand on a small pedigree."""

import os
import random
import subprocess
import tempfile
import unittest
from pathlib import Path

import networkx

from class_folder import class_folder

# Cousin marriages (10 x 11 first cousins, 14 x 16 half-cousins), half-siblings (10 and 12
# by 5; 11 and 13 by 6), unknown parents (13, 15, 16), children listed before their
# parents (17, 14, 10), and 18 related to no one.
PEDIGREE = """18
17 m 14 16 onca alto 1990 0
14 m 10 11 onca alto 1965 0
1 m 0 0 onca alto 1880 1950
2 f 0 0 arara baixo 1885 1960
3 m 0 0 tatu alto 1882 1940
4 f 0 0 arara baixo 1884 1950
10 m 5 7 onca alto 1935 2000
5 m 1 2 onca alto 1905 1980
6 f 1 2 onca baixo 1908 1990
7 f 3 4 tatu alto 1910 1985
8 m 0 0 gaviao alto 1906 1970
9 f 0 0 arara baixo 1915 1999
11 f 8 6 gaviao baixo 1938 0
12 m 5 9 onca alto 1940 0
13 f 0 6 - - 1942 0
15 f 12 0 onca baixo 1968 0
16 f 0 13 - - 1967 0
18 m 0 0 de_fora alto 1950 0
"""
NAMES = "id\txref\tname\n1\t@I1@\tAntônio\n17\t@I17@\tJoão\r\n99\t@I99@\tNinguém\n"


class KinshipSelect(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = class_folder(cls, {"ped.txt": PEDIGREE, "ped.names.tsv": NAMES})
        for folder in ("a folder", "empty"):
            (cls.folder / folder).mkdir()

    def select(self, *args, output="out.txt"):
        return subprocess.run([os.environ["KINSHIP_SELECT"], "ped.txt", output, *args],
                              cwd=self.folder, capture_output=True, text=True, timeout=60)

    def chosen(self, *args):
        result = self.select(*args)
        self.assertEqual((result.returncode, result.stderr), (0, ""), args)
        records = (self.folder / "out.txt").read_text().splitlines()
        self.assertEqual(int(records[0]), len(records) - 1)
        return {int(record.split()[0]) for record in records[1:]}

    def test_selections_alone_combined_limited_and_with_partners(self):
        cases = {
            ("--ancestors", "17"): {1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 13, 14, 16, 17},
            ("--ancestors", "17", "--generations", "2"): {10, 11, 13, 14, 16, 17},
            ("--descendants", "6"): {6, 11, 13, 14, 16, 17},
            ("--descendants", "5", "--generations", "1"): {5, 10, 12},
            ("--lineage", "14", "--generations", "1"): {10, 11, 14, 17},
            ("--lineage", "10"): {1, 2, 3, 4, 5, 7, 10, 14, 17},
            ("--lineage", "9", "--generations", "0"): {9},
            ("--relatives", "12"): {1, 2, 5, 6, 9, 10, 11, 12, 13, 14, 15, 16, 17},
            # up to 5 and 7; down to 10's children's generation: 12's child 15, not 17
            ("--relatives", "10", "--generations", "1"): {5, 7, 10, 12, 14, 15},
            ("--relatives", "13", "--generations", "1"): {6, 11, 13, 14, 16},
            ("--clan", "de fora", "--subclan", "baixo"): {18, 2, 4, 6, 9, 11, 15},
            ("--ancestors", "15", "--descendants", "13"): {1, 2, 5, 9, 12, 13, 15, 16, 17},
            # 11 and 14 bring in their other parents 8 and 10, but not 10's parents
            ("--descendants", "6", "--with-partners"): {6, 8, 10, 11, 13, 14, 16, 17},
            ("--descendants", "6", "--generations", "1", "--with-partners"): {6, 8, 11, 13},
        }
        for args, expected in cases.items():
            self.assertEqual(self.chosen(*args), expected, args)

    def test_path_through_the_closest_common_ancestors(self):
        cases = {
            ("10", "11"): {1, 2, 5, 6, 10, 11},  # first cousins
            ("5", "11"): {1, 2, 5, 6, 11},  # uncle and niece
            ("6", "14"): {6, 11, 14},  # grandmother and grandson, not by 10
            ("14", "1"): {1, 5, 6, 10, 11, 14},  # two lines of three generations
            ("14", "16"): {6, 11, 13, 14, 16},  # 6 is nearer than 1
            ("10", "12"): {5, 10, 12},  # half-siblings
            ("7", "7"): {7},
        }
        for (one, other), expected in cases.items():
            self.assertEqual(self.chosen("--path", one, other), expected, (one, other))

    def test_records_as_read_with_parents_outside_as_0_and_names(self):
        result = self.select("--ancestors", "15", "--descendants", "13", "--names",
                             "ped.names.tsv", output="a folder/part.txt")
        self.assertEqual(result.stdout, "Chose 9 of 18 individuals into a folder/part.txt and 2 "
                         "rows of the names table into a folder/part.txt.names.tsv.\n"
                         "Next: cd 'a folder' && hierarchical-layout part.txt\n")
        self.assertEqual((self.folder / "a folder/part.txt").read_text().splitlines()[:3],
                         ["9", "17 m 0 16 onca alto 1990 0", "1 m 0 0 onca alto 1880 1950"])
        self.assertEqual((self.folder / "a folder/part.txt.names.tsv").read_text(),
                         "id\txref\tname\n1\t@I1@\tAntônio\n17\t@I17@\tJoão\n")
        layout = subprocess.run([os.environ["KINSHIP_COMMAND"], "part.txt"],
                                cwd=self.folder / "a folder", capture_output=True, timeout=60)
        self.assertEqual((layout.returncode, layout.stderr), (0, b""))

    def test_failures_write_nothing(self):
        cases = [
            (("--ancestors", "42"), 1, "ped.txt: no individual has the id 42 (given to --ancestors)"),
            (("--path", "10", "18"), 1, "ped.txt: individuals 10 and 18 have no common ancestor"),
            (("--clan", "jabuti"), 1, "ped.txt: no individual has the clan jabuti"),
            (("--path", "10"), 2, "--path needs two individual ids"),
            (("--ancestors", "x1"), 2, "--ancestors takes individual ids (whole numbers), not x1"),
            (("--generations", "2", "--clan", "onca"), 2, "--generations limits"),
            ((), 2, "give at least one selection"),
            (("--ancestors", "1", "--generations", "-1"), 2, "not -1"),
            (("--lineage", "1", "--partners"), 2, "unknown option --partners"),
        ]
        for args, status, message in cases:
            result = self.select(*args, output="no.txt")
            self.assertEqual((result.returncode, result.stdout), (status, ""), args)
            self.assertIn(message, result.stderr)
            self.assertFalse((self.folder / "no.txt").exists())
        result = self.select("--ancestors", "1", output="empty")
        self.assertEqual(result.returncode, 1)
        self.assertIn("empty", result.stderr)
        self.assertEqual(list((self.folder / "empty").iterdir()), [])


class AgainstNetworkx(unittest.TestCase):
    """Random pedigrees full of loops (any two of a generation may have children), checked
    against shortest paths that networkx works out."""

    def test_selections_on_random_pedigrees(self):
        rng = random.Random(17)
        with tempfile.TemporaryDirectory() as folder:
            for size in (60, 400):
                graph = networkx.DiGraph()  # parent -> child
                records = []
                for i in range(1, size + 1):
                    parents = rng.sample(range(max(1, i - 40), i), min(2, i - 1)) + [0, 0]
                    records.append(f"{i} m {parents[0]} {parents[1]} c s 0 0")
                    graph.add_edges_from((p, i) for p in parents[:2] if p)
                    graph.add_node(i)
                Path(folder, "r.txt").write_text(f"{size}\n" + "\n".join(records[::-1]))
                for _ in range(12):
                    self.check_person(graph, folder, rng.randrange(1, size + 1),
                                      rng.randrange(1, size + 1), rng.choice([0, 1, 3, None]))

    def check_person(self, graph, folder, person, other, limit):
        up = networkx.single_source_shortest_path_length(graph.reverse(), person)
        down = networkx.single_source_shortest_path_length(graph, person)
        within = lambda steps, reach: {i for i, n in steps.items() if limit is None or n <= reach}
        relatives = set()
        for ancestor, k in up.items():
            if limit is None or k <= limit:
                steps = networkx.single_source_shortest_path_length(graph, ancestor)
                relatives |= within(steps, k + (limit or 0))
        other_up = networkx.single_source_shortest_path_length(graph.reverse(), other)
        tie = min((up[a] + other_up[a] for a in up.keys() & other_up.keys()), default=None)
        path = {node for a in up.keys() & other_up.keys() if up[a] + other_up[a] == tie
                for end in (person, other) for line in networkx.all_shortest_paths(graph, a, end)
                for node in line}
        limited = [] if limit is None else ["--generations", str(limit)]
        for args, expected in (
                (["--ancestors", person], within(up, limit)),
                (["--descendants", person], within(down, limit)),
                (["--relatives", person], relatives),
                (["--path", person, other], path)):
            args = [str(a) for a in args] + (limited if args[0] != "--path" else [])
            result = subprocess.run([os.environ["KINSHIP_SELECT"], "r.txt", "o.txt", *args],
                                    cwd=folder, capture_output=True, text=True, timeout=60)
            self.assertEqual(result.returncode, 0 if expected else 1, args)
            chosen = Path(folder, "o.txt").read_text().splitlines()[1:] if expected else []
            self.assertEqual({int(r.split()[0]) for r in chosen}, expected, args)


if __name__ == "__main__":
    unittest.main()
