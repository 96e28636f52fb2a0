"""The importer's parts: its pure functions table by table, its writer's failures, and the
contract between its writer and the C++ readers: every file the writer makes of awkward
values, hierarchical-layout reads (its first GML file gives back each id, parent and
template) and kinship-draw reads as a names table (each tooltip gives back the name)."""

import os
import re
import subprocess
import tempfile
import unittest
import xml.etree.ElementTree as ET
from pathlib import Path
from unittest import mock

from kinship_from_gedcom.conversion import Person, choose_ids, clan_word, one_line
from kinship_from_gedcom.dates import year_of
from kinship_from_gedcom.gedcom_file import ImportFailure
from kinship_from_gedcom.output import names_text, pedigree_text, write_all

INT_MIN, INT_MAX = -2**31, 2**31 - 1
# (id, father, mother, clan, sub-clan, birth, death, name as in GEDCOM; the clan words and
# the name the readers must give back)
PEOPLE = [(INT_MAX, 0, 0, "São Tomé", "", INT_MIN, INT_MAX, "Ana\tLuísa\r\nda\x00Silva",
           "São_Tom -", "Ana Luísa da Silva"),
          (INT_MIN, 0, 0, "Conceição", "abcdef\U0001F600", 0, 0, "", "Conceiç abcdef", ""),
          (1, INT_MAX, INT_MIN, "", "  ", -560, 2026, " \t\r\x00 ", "- -", ""),
          (7, INT_MAX, 0, "São  João", "Águia", 1700, 1701, "李小龍 <&>", "São_Joã Águia", "李小龍 <&>")]


class ImporterParts(unittest.TestCase):
    def check(self, function, table):
        for argument, expected in table:
            with self.subTest(argument):
                self.assertEqual(function(argument), expected)

    def test_year_of_a_date(self):
        self.check(year_of, [
            ("ABT 560 BC", -560), ("28 Jan 1456-1457", 1456), ("1076 or 1088", 1076),
            ("1195–1226 or 1233", 1195), ("BET 1850 AND 1860", 1850), ("1750/51", 1750),
            ("99 March c. 999", 999), ("@#DJULIAN@ 1 JAN 1700", 1700), ("44 B.C.", -44),
            ("ABT 100 BCE", -100), ("1850 b. Chicago", 1850), ("3 Sept. 1850", 1850),
            ("5 de março de 1850", 1850), ("4th of July 1776", 1776), ("Jan 5, 1850", 1850),
            ("MAR 99", 99), ("@#DHEBREW@ 5 TSH 5560", 5560), ("12/03/1850", 1850),
            ("3 JAN", None), ("(unknown)", None), ("ABT 99999999999", None), ("", 0), (None, 0)])

    def test_clan_word(self):
        self.check(clan_word, [
            ("da  Conceição", ("da_Concei", True)), ("São Tomé", ("São_Tom", True)),
            ("a\tb\x00c", ("a_b_c", False)), (None, ("-", False)), ("Mu\u0308ller", ("Müller", False))])

    def test_ids_from_cross_references(self):
        self.check(choose_ids, [
            (("@I12@", "@P7@", "@100@"), ([12, 7, 100], True)),
            (("@I2147483647@", "@I1@"), ([2147483647, 1], True)),
            (("", "@I2@", "", "@I1@"), ([3, 2, 4, 1], True)),  # no cross-reference: unused ids
            (("@I1@", "@F1@"), ([1, 2], False)), (("@I0@", "@I2@"), ([1, 2], False)),
            (("@I2147483648@",), ([1], False)), (("@A@", "@I2@"), ([1, 2], False)),
            (("", ""), ([1, 2], False)), (("@I000000000001@",), ([1], False))])

    def test_a_failed_write_leaves_the_earlier_files(self):
        """The names table's rename fails after the pedigree file was replaced."""
        def failing_replace(source, target, replace=os.replace):
            if str(target).endswith(".names.tsv") and str(source).endswith(".tmp"):
                raise OSError(28, "No space left on device")
            replace(source, target)

        for earlier in ({"p.txt": "old", "p.txt.names.tsv": "old names"}, {}, {"p.txt": "old"}):
            with self.subTest(earlier), tempfile.TemporaryDirectory() as folder:
                folder = Path(folder)
                for name, text in earlier.items():
                    (folder / name).write_text(text)
                with mock.patch("kinship_from_gedcom.output.os.replace", failing_replace), \
                        self.assertRaisesRegex(ImportFailure, "p.txt.names.tsv: No space left"):
                    write_all([(folder / "p.txt", "new"), (folder / "p.txt.names.tsv", "new")])
                self.assertEqual({p.name: p.read_text() for p in folder.iterdir()}, earlier)

    def test_the_readers_accept_what_the_writer_writes(self):
        people = [Person(i, f"@I{n}@", "mfu"[n % 3], father, mother, clan_word(clan)[0],
                         clan_word(sub)[0], birth, death, name)
                  for n, (i, father, mother, clan, sub, birth, death, name, *_) in enumerate(PEOPLE)]
        with tempfile.TemporaryDirectory() as tmp:
            folder = Path(tmp)
            write_all([(folder / "p.txt", pedigree_text(people)),
                       (folder / "p.txt.names.tsv", names_text(people))])
            for command in ([os.environ["KINSHIP_COMMAND"], "p.txt"], [os.environ["KINSHIP_DRAW"],
                            "whl-gml-p.txt", "--names", "p.txt.names.tsv"]):
                result = subprocess.run(command, cwd=folder, capture_output=True, text=True)
                self.assertEqual((result.returncode, result.stderr), (0, ""))
            first = (folder / "gml-p.txt").read_text(encoding="utf-8")
            self.assertEqual(dict(re.findall(r'node \[\nid (-?\d+)\ntemplate "([^"]*)"', first)),
                             {str(p[0]): f"{p[8]} {p[5]} {p[6]}" for p in PEOPLE})
            self.assertEqual(set(re.findall(r"source (-?\d+)\ntarget (-?\d+)", first)),
                             {(str(INT_MAX), "1"), (str(INT_MIN), "1"), (str(INT_MAX), "7")})
            titles = [t.text for t in ET.parse(folder / "whl-gml-p.txt.svg").iter()
                      if t.tag.endswith("title")]
            for i, *_, name in PEOPLE:
                self.assertEqual(any(t.startswith(f"{name}\nid: {i}\n") for t in titles), bool(name))



if __name__ == "__main__":
    unittest.main()
