"""The contract between the importer's writer and the C++ readers: every file the writer
makes of awkward values, hierarchical-layout reads (its first GML file gives back each id,
parent and template) and kinship-draw reads as a names table (each tooltip gives back the
name), with the same values."""

import os
import re
import subprocess
import tempfile
import unittest
import xml.etree.ElementTree as ET
from pathlib import Path

from kinship_from_gedcom.conversion import Person, clan_word
from kinship_from_gedcom.output import names_text, pedigree_text, write_all

INT_MIN, INT_MAX = -2**31, 2**31 - 1
# (id, father, mother, clan text, sub-clan text, birth, death, name as written in GEDCOM)
PEOPLE = [(INT_MAX, 0, 0, "São Tomé", "", INT_MIN, INT_MAX, "Ana\tLuísa\r\nda\x00Silva"),
          (INT_MIN, 0, 0, "Conceição", "abcdef\U0001F600", 0, 0, ""),
          (1, INT_MAX, INT_MIN, "", "  ", -560, 2026, " \t\r\x00 "),
          (7, INT_MAX, 0, "São  João", "Águia", 1700, 1701, "李小龍 <&>")]
# What each reader must give back: the words the file can hold, and the names on one line.
CLANS = {INT_MAX: "São_Tom -", INT_MIN: "Conceiç abcdef", 1: "- -", 7: "São_Joã Águia"}
NAMES = {INT_MAX: "Ana Luísa da Silva", INT_MIN: "", 1: "", 7: "李小龍 <&>"}


class WriterAndReaders(unittest.TestCase):
    def test_the_readers_accept_what_the_writer_writes(self):
        people = [Person(i, f"@I{n}@", "mfu"[n % 3], father, mother, clan_word(clan)[0],
                         clan_word(sub)[0], birth, death, name)
                  for n, (i, father, mother, clan, sub, birth, death, name) in enumerate(PEOPLE)]
        with tempfile.TemporaryDirectory() as tmp:
            folder = Path(tmp)
            write_all([(folder / "p.txt", pedigree_text(people)),
                       (folder / "p.txt.names.tsv", names_text(people))])
            for command in ([os.environ["KINSHIP_COMMAND"], "p.txt"],
                            [os.environ["KINSHIP_DRAW"], "whl-gml-p.txt", "--names",
                             "p.txt.names.tsv"]):
                result = subprocess.run(command, cwd=folder, capture_output=True, text=True)
                self.assertEqual((result.returncode, result.stderr), (0, ""))
            first = (folder / "gml-p.txt").read_text(encoding="utf-8")
            self.assertEqual(dict(re.findall(r'node \[\nid (-?\d+)\ntemplate "([^"]*)"', first)),
                             {str(i): f"{CLANS[i]} {birth} {death}"
                              for i, _, _, _, _, birth, death, _ in PEOPLE})
            self.assertEqual(set(re.findall(r"source (-?\d+)\ntarget (-?\d+)", first)),
                             {(str(INT_MAX), "1"), (str(INT_MIN), "1"), (str(INT_MAX), "7")})
            titles = [t.text for t in ET.parse(folder / "whl-gml-p.txt.svg").iter()
                      if t.tag.endswith("title")]
            for i, name in NAMES.items():
                self.assertEqual(any(t.startswith(f"{name}\nid: {i}\n") for t in titles),
                                 bool(name), i)


if __name__ == "__main__":
    unittest.main()
