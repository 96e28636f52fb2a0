"""The importer's pure functions, table by table: years of dates, clan words, names on one
line, ids from cross-references."""

import os
import tempfile
import unittest
from pathlib import Path
from unittest import mock

from kinship_from_gedcom.conversion import choose_ids, clan_word, one_line
from kinship_from_gedcom.dates import year_of
from kinship_from_gedcom.gedcom_file import ImportFailure
from kinship_from_gedcom.output import write_all


class ImporterParts(unittest.TestCase):
    def check(self, function, table):
        for argument, expected in table:
            with self.subTest(argument):
                self.assertEqual(function(argument), expected)

    def test_year_of_a_date(self):
        self.check(year_of, [
            # forms of real exports
            ("ABT 560 BC", -560), ("28 Jan 1456-1457", 1456), ("1076 or 1088", 1076),
            ("1195–1226 or 1233", 1195), ("BET 1850 AND 1860", 1850), ("1750/51", 1750),
            ("99 March c. 999", 999), ("@#DJULIAN@ 1 JAN 1700", 1700),
            # BC in its spellings, and letters that only look like it
            ("44 B.C.", -44), ("ABT 100 BCE", -100), ("560 b.c.e.", -560), ("1850 b. Chicago", 1850),
            # a day before or (American order) after a month, in several languages
            ("3 Sept. 1850", 1850), ("5 de março de 1850", 1850), ("4th of July 1776", 1776),
            ("Jan 5, 1850", 1850), ("MAR 99", 99), ("12 MAR 1749/50", 1749),
            ("@#DFRENCH R@ 11 VEND 12", 12), ("@#DHEBREW@ 5 TSH 5560", 5560),
            ("12/03/1850", 1850), ("1850-03-12", 1850), ("INT 1861 (about then)", 1861),
            # no year: None; no text: 0
            ("3 JAN", None), ("(unknown)", None), ("ABT 99999999999", None), ("@#DJULIAN@", None),
            ("", 0), ("  ", 0), (None, 0)])

    def test_clan_word(self):
        self.check(clan_word, [
            ("Silva", ("Silva", False)), ("da  Conceição", ("da_Concei", True)),
            ("Gonçalves", ("Gonçalve", True)), ("São Tomé", ("São_Tom", True)),
            ("a\tb\x00c", ("a_b_c", False)), ("", ("-", False)), (None, ("-", False)),
            ("12345678€", ("12345678", True)), ("Mu\u0308ller", ("Müller", False))])

    def test_one_line(self):
        self.check(one_line, [("Ana\r\nLuísa\x00 \t Silva", "Ana Luísa Silva"),
                              ("Zo\u00eb", "Zoë"), ("Zoe\u0308", "Zoë"), (None, "")])

    def test_ids_from_cross_references(self):
        self.check(choose_ids, [
            (("@I12@", "@P7@", "@100@"), ([12, 7, 100], True)),
            (("@I2147483647@", "@I1@"), ([2147483647, 1], True)),
            (("", "@I2@", "", "@I1@"), ([3, 2, 4, 1], True)),  # no cross-reference: unused ids
            (("@I1@", "@F1@"), ([1, 2], False)), (("@I0@", "@I2@"), ([1, 2], False)),
            (("@I2147483648@",), ([1], False)), (("@A@", "@I2@"), ([1, 2], False)),
            (("", ""), ([1, 2], False)), (("@I000000000001@",), ([1], False))])

    def test_a_failed_write_leaves_the_earlier_files(self):
        """The names table's rename fails after the pedigree file was replaced: the earlier
        pedigree comes back, a pedigree that had no earlier file is removed."""
        real_replace = os.replace

        def failing_replace(source, target):
            if Path(target).name.endswith(".names.tsv") and Path(source).name.endswith(".tmp"):
                raise OSError(28, "No space left on device")
            real_replace(source, target)

        for earlier in ({"p.txt": "old", "p.txt.names.tsv": "old names"}, {}, {"p.txt": "old"}):
            with self.subTest(earlier), tempfile.TemporaryDirectory() as folder:
                folder = Path(folder)
                for name, text in earlier.items():
                    (folder / name).write_text(text)
                with mock.patch("kinship_from_gedcom.output.os.replace", failing_replace), \
                        self.assertRaisesRegex(ImportFailure, "p.txt.names.tsv: No space left"):
                    write_all([(folder / "p.txt", "new"), (folder / "p.txt.names.tsv", "new")])
                self.assertEqual({p.name: p.read_text() for p in folder.iterdir()}, earlier)


if __name__ == "__main__":
    unittest.main()
