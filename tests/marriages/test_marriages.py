"""Marriages through every tool: a GEDCOM file whose man married three times (the family
records out of year order, two marriages childless), a childless couple linked to no one
else, and half-siblings married to each other without children."""

import os
import subprocess
import unittest

from class_folder import class_folder
from drawing_measures import read_drawing

FAMILIES = ("0 HEAD\n1 CHAR UTF-8\n"
            "0 @I1@ INDI\n1 NAME Pedro /Lima/\n1 SEX M\n0 @I2@ INDI\n1 NAME Ana /Reis/\n1 SEX F\n"
            "0 @I3@ INDI\n1 NAME Bia /Melo/\n1 SEX F\n0 @I9@ INDI\n1 NAME Clara /Sá/\n1 SEX F\n"
            "0 @I4@ INDI\n1 NAME Rui /Lima/\n1 SEX M\n1 FAMC @F1@\n"
            "0 @I8@ INDI\n1 NAME Eva /Reis/\n1 SEX F\n1 FAMC @F5@\n"
            "0 @I5@ INDI\n1 NAME Caio /Dias/\n1 SEX M\n0 @I6@ INDI\n1 NAME Lia /Dias/\n1 SEX F\n"
            "0 @F6@ FAM\n1 HUSB @I1@\n1 WIFE @I9@\n1 MARR\n2 DATE 1960\n"
            "0 @F2@ FAM\n1 HUSB @I1@\n1 WIFE @I3@\n1 MARR\n2 DATE ABT 1940\n"
            "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 MARR\n2 DATE 3 MAY 1950\n1 CHIL @I4@\n"
            "0 @F3@ FAM\n1 HUSB @I5@\n1 WIFE @I6@\n"
            "0 @F5@ FAM\n1 WIFE @I2@\n1 CHIL @I8@\n"
            "0 @F4@ FAM\n1 HUSB @I4@\n1 WIFE @I8@\n1 MARR\n2 DATE 1975\n0 TRLR\n")
TABLE = "husband\twife\tyear\txref\n1\t9\t1960\t@F6@\n1\t3\t1940\t@F2@\n1\t2\t1950\t@F1@\n" \
        "5\t6\t0\t@F3@\n4\t8\t1975\t@F4@\n"


class Marriages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = class_folder(cls, {"f.ged": FAMILIES})
        cls.imported = cls.tool("KINSHIP_FROM_GEDCOM", "f.ged")

    @classmethod
    def tool(cls, tool, *args):
        result = subprocess.run([os.environ[tool], *args], cwd=cls.folder, capture_output=True,
                                text=True, timeout=60)
        assert result.returncode == 0, result.stderr
        return result.stdout

    def text(self, name):
        return (self.folder / name).read_text()

    def test_the_importer_writes_every_family_that_names_both_partners(self):
        self.assertEqual(self.text("f.txt.marriages.tsv"), TABLE)
        self.assertIn("  marriages: 5, without a child in the file: 4\n", self.imported)
        self.assertIn("Next: kinship-layout f.txt f.gml --marriages f.txt.marriages.tsv "
                      "--names f.txt.names.tsv", self.imported)

    def test_the_layout_joins_every_couple_and_orders_a_remarriage_by_year(self):
        self.assertIn("and 5 couples (4 without children)",
                      self.tool("KINSHIP_LAYOUT", "f.txt", "f.gml", "--marriages",
                               "f.txt.marriages.tsv"))
        nodes, edges = read_drawing(self.folder / "f.gml")
        ids = {int(line.split()[0]): n for n, line in enumerate(self.text("f.txt").split("\n")[1:-1])}
        joined = {n for source, target, _ in edges for n in (source, target)}
        self.assertEqual(sorted(ids[i] for i in ids if ids[i] not in joined), [])
        self.assertEqual(sum(node["family"] for node in nodes.values()), 5)
        x = {i: nodes[ids[i]]["x"] for i in ids}
        self.assertEqual(len({nodes[ids[i]]["y"] for i in (1, 2, 3, 9)}), 1)
        wives = sorted((3, 2, 9), key=x.get)  # married 1940, 1950, 1960
        self.assertIn(wives, ([3, 2, 9], [9, 2, 3]))
        self.assertTrue(min(x[3], x[9]) < x[1] < max(x[3], x[9]))
        self.assertEqual(nodes[ids[5]]["y"], nodes[ids[6]]["y"])
        self.assertEqual(abs(x[5] - x[6]), 45)  # side by side, one gap apart

        # A table of the parents' couples alone gives the drawing made without a table.
        (self.folder / "parents.tsv").write_text("husband\twife\tyear\txref\n1\t2\t\t\n")
        self.tool("KINSHIP_LAYOUT", "f.txt", "plain.gml")
        self.tool("KINSHIP_LAYOUT", "f.txt", "same.gml", "--marriages", "parents.tsv")
        self.assertEqual(self.text("plain.gml"), self.text("same.gml"))

    def test_stats_measure_and_count_the_childless_couples(self):
        summary = self.tool("KINSHIP_STATS", "f.txt", "st", "--marriages", "f.txt.marriages.tsv")
        self.assertIn("5 couples, 4 without children, 1 related within 3 generations: MD 1",
                      summary)
        rows = self.text("st/couples.tsv").splitlines()
        self.assertTrue(rows[0].endswith("\tmother_clan\tyear"))
        self.assertIn("4\t8\t0\t0.125\tMD\t1\t1\tLima\tReis\t1975", rows)
        self.assertIn("5\t6\t0\t0\t\t\t\tDias\tDias\t0", rows)
        self.assertIn("Dias\tDias\t1\n", self.text("st/clans.tsv"))
        self.tool("KINSHIP_STATS", "f.txt", "plain")
        self.assertEqual(self.text("plain/couples.tsv").splitlines()[1:],
                         ["1\t2\t1\t0\t\t\t\tLima\tReis"])

    def test_select_brings_in_partners_and_cuts_the_table(self):
        self.tool("KINSHIP_SELECT", "f.txt", "up.txt", "--ancestors", "4", "--with-partners")
        self.assertEqual(self.text("up.txt").split("\n")[0], "3")
        said = self.tool("KINSHIP_SELECT", "f.txt", "up.txt", "--ancestors", "4",
                        "--with-partners", "--marriages", "f.txt.marriages.tsv")
        self.assertIn("and 4 rows of the marriages table into up.txt.marriages.tsv", said)
        self.assertEqual(sorted(int(r.split()[0]) for r in self.text("up.txt").split("\n")[1:-1]),
                         [1, 2, 3, 4, 8, 9])
        self.assertEqual(self.text("up.txt.marriages.tsv"), TABLE.replace("5\t6\t0\t@F3@\n", ""))


if __name__ == "__main__":
    unittest.main()
