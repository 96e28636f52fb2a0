"""kinship-from-gedcom end to end: GEDCOM files of our own in every encoding and date form,
converted by the build tree's launcher; each converted file is then laid out by
hierarchical-layout."""

import io
import os
import subprocess
import tempfile
import unittest
import zipfile
from pathlib import Path

IMPORTER, LAYOUT = os.environ["KINSHIP_FROM_GEDCOM"], os.environ["KINSHIP_COMMAND"]
FAMILY = ("0 @I3@ INDI\n1 NAME Zoë /Müller/\n1 SEX F\n"
          "1 FAMC @F9@\n2 PEDI adopted\n1 FAMC @F1@\n2 PEDI birth\n"
          "0 @I1@ INDI\n1 NAME Ana Luísa /da Conceição/\n1 SEX F\n1 _CLAN Águia  Real\n"
          "1 FACT Norte\n2 TYPE Metade\n1 FAMS @F1@\n"
          "0 @I2@ INDI\n1 NAME Tomás /Müller/\n1 SEX M\n"
          "0 @I4@ INDI\n1 NAME Rui /Müller/\n1 FAMC @F7@\n1 FAMC @F8@\n"
          "0 @I5@ INDI\n1 SEX X\n1 FAMC @F8@\n0 @F9@ FAM\n1 HUSB @I4@\n"
          "0 @F1@ FAM\n1 HUSB @I2@\n1 WIFE @I1@\n0 @F8@ FAM\n1 HUSB @I5@\n1 WIFE @I44@\n")
# I3 is a child before its parents and has two families, I4 has a missing family first,
# I5 is named its own father, and its family's wife is not in the file.
PEOPLE = {"@I3@": ("f", "@I2@", "@I1@", "Müller", "Zoë Müller"),
          "@I1@": ("f", "", "", "da_Concei", "Ana Luísa da Conceição"),
          "@I2@": ("m", "", "", "Müller", "Tomás Müller"),
          "@I4@": ("u", "", "", "Müller", "Rui Müller"),
          "@I5@": ("u", "@I5@", "", "-", "")}
ANSEL_FAMILY = FAMILY.encode("utf-8").replace("Zoë".encode(), b"Zo\xe8e").replace(
    "ü".encode(), b"\xe8u").replace("í".encode(), b"\xe2i").replace("ç".encode(), b"\xf0c") \
    .replace("ã".encode(), b"\xe4a").replace("Á".encode(), b"\xe2A").replace("á".encode(), b"\xe2a")

# GEDCOM 7.0 after the standard's examples: a remarriage, void pointers, every form of cross-
# reference and a record with none, the @@ escape, SCHMA, 7.0's calendar and epoch words.
GEDCOM7 = ("0 HEAD\n1 GEDC\n2 VERS 7.0\n1 SCHMA\n2 TAG _CLAN https://example.com/clan\n"
           "0 @I@ INDI\n1 NAME Pat /Smith/\n1 SEX M\n1 FAMS @F1@\n1 FAMS @F2@\n"
           "0 @1@ INDI\n1 NAME Lee /Jones/\n1 SEX F\n1 FAMS @F1@\n"
           "0 @_@ INDI\n1 NAME Sam /Brown/\n1 SEX F\n1 FAMS @F2@\n1 NOTE me@example.com is my "
           "email\n2 CONT @@me and @I are my social media handles\n"
           "0 @CHILD_OF_THE_FIRST_MARRIAGE_1@ INDI\n1 NAME Jo /Smith/\n1 FAMC @F1@\n"
           "0 INDI\n1 NAME @@Ana /Smith/\n1 BIRT\n2 DATE JULIAN 31 DEC 1700\n1 FAMC @F2@\n"
           "0 @X9@ INDI\n1 NAME Kim\n1 BIRT\n2 DATE ABT 560 BCE\n1 FAMC @VOID@\n1 FAMC @F3@\n"
           "0 @F1@ FAM\n1 HUSB @I@\n1 WIFE @1@\n1 CHIL @CHILD_OF_THE_FIRST_MARRIAGE_1@\n1 DIV\n"
           "0 @F2@ FAM\n1 HUSB @I@\n1 WIFE @_@\n1 MARR\n2 DATE 1 JUN 1725\n"
           "0 @F3@ FAM\n1 HUSB @VOID@\n2 PHRASE Mr Stockdale\n1 WIFE @1@\n1 CHIL @X9@\n0 TRLR\n")
PEOPLE7 = {"@I@": ("m", "", "", "Smith", "Pat Smith"), "@1@": ("f", "", "", "Jones", "Lee Jones"),
           "@_@": ("f", "", "", "Brown", "Sam Brown"), "": ("u", "@I@", "@_@", "Smith", "@Ana Smith"),
           "@CHILD_OF_THE_FIRST_MARRIAGE_1@": ("u", "@I@", "@1@", "Smith", "Jo Smith"),
           "@X9@": ("u", "", "@1@", "-", "Kim")}


def gedzip(entries: dict) -> bytes:
    with zipfile.ZipFile(data := io.BytesIO(), "w") as archive:
        for name, content in entries.items():
            archive.writestr(name, content)
    return data.getvalue()


def gedcom(char: str | None, body: str = FAMILY, encoding: str = "utf-8") -> bytes:
    head = "0 HEAD\n" + (f"1 CHAR {char}\n" if char else "")
    return (head + body + "0 TRLR\n").encode(encoding)


class KinshipFromGedcom(unittest.TestCase):
    def setUp(self):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.folder = Path(folder.name)

    def run_in_folder(self, *args):
        return subprocess.run(args, cwd=self.folder, capture_output=True, text=True, timeout=120)

    def convert(self, data: bytes, *options, name="family.ged"):
        """Converts, lays the result out, and returns (stdout, {xref: record fields + name})."""
        (self.folder / name).write_bytes(data)
        result = self.run_in_folder(IMPORTER, name, *options)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertTrue(all(line.startswith("warning: ") for line in result.stderr.splitlines()))
        pedigree = Path(name).with_suffix(".txt").name
        layout = self.run_in_folder(LAYOUT, pedigree)
        self.assertEqual((layout.returncode, layout.stdout.split()[-1:]), (0, ["FINISHED"]))
        self.assertIn(f"Next: kinship-layout {pedigree} ", result.stdout)
        count, *rows = (self.folder / pedigree).read_text(encoding="utf-8").splitlines()
        header, *names = (self.folder / f"{pedigree}.names.tsv").read_text("utf-8").splitlines()
        self.assertEqual((header, int(count), len(names)), ("id\txref\tname", len(rows), len(rows)))
        xref = {number: x for number, x, _ in (line.split("\t") for line in names)}
        xref["0"] = ""
        people = {}
        for row, line in zip(rows, names):
            number, sex, father, mother, *rest = row.split()
            self.assertEqual(line.split("\t")[0], number)
            people[xref[number]] = (sex, xref[father], xref[mother], *rest, line.split("\t")[2])
        return result.stdout, people

    def test_every_encoding_gives_the_same_people_in_utf8(self):
        utf8 = gedcom("UTF-8")
        for label, data in [("UTF-8", utf8), ("BOM", b"\xef\xbb\xbf" + utf8),
                            ("no CHAR", gedcom(None)), ("CRLF", utf8.replace(b"\n", b"\r\n")),
                            ("CR and Ctrl-Z", utf8.replace(b"\n", b"\r") + b"\x1a"),
                            ("UTF-16LE", b"\xff\xfe" + gedcom("UNICODE", encoding="utf-16-le")),
                            ("UTF-16BE", b"\xfe\xff" + gedcom("UNICODE", encoding="utf-16-be")),
                            ("UTF-16 without BOM", gedcom("UNICODE", encoding="utf-16-le")),
                            ("CP-1252", gedcom("ANSI", encoding="cp1252")),
                            ("CP-1252 called UTF-8", gedcom("UTF-8", encoding="cp1252")),
                            ("ANSEL", b"0 HEAD\n1 CHAR ANSEL\n" + ANSEL_FAMILY + b"0 TRLR\n")]:
            with self.subTest(label):
                out, people = self.convert(data, "--subclan", "metade")
                self.assertEqual({x: (p[0], p[1], p[2], p[3], p[7]) for x, p in people.items()},
                                 PEOPLE)
                self.assertEqual(people["@I1@"][4], "Norte")
                for line in ("individuals: 5, ids: the numbers of the cross-references",
                             "parent links: 2", "without a recorded sex: 2",
                             "clans: 2 (from the surnames); no clan recorded: 1", "cut to 9 bytes: 1", "warnings: 2"):
                    self.assertIn(line, out)

    def test_clan_from_an_attribute_or_a_fact_type(self):
        for options, clan, sub_clan in [(["--clan", "_NONE"], "-", "-"),
                                        (["--clan", "_CLAN"], "Águia_Re", "-"),
                                        (["--clan", "METADE", "--subclan", "_CLAN"], "Norte", "Águia_Re")]:
            with self.subTest(options):
                out, people = self.convert(gedcom("UTF-8"), "--verbose", *options)
                self.assertEqual(people["@I1@"][3:5], (clan, sub_clan))
        self.assertIn("@I1@: the sub-clan 'Águia Real' is cut to 'Águia_Re'", out)

    def test_years_and_the_dates_that_name_none(self):
        body = "".join(f"0 @I{i}@ INDI\n1 BIRT\n2 DATE {text}\n1 DEAT\n2 DATE {text}\n"
                       for i, text in enumerate(["ABT 560 BC", "(unknown)", "", "3 JAN"], 1))
        out, people = self.convert(gedcom("UTF-8", body), "--verbose")
        self.assertEqual([people[f"@I{i}@"][5:7] for i in (1, 2, 3)], [("-560", "-560"), ("0", "0"), ("0", "0")])
        self.assertIn("dates with text but no year (given 0): 4", out)
        self.assertIn("no year: line 10: @I2@: BIRT '(unknown)'", out)
        self.assertIn("no year: line 22: @I4@: DEAT '3 JAN'", out)

    def test_odd_files_still_give_a_file_the_layout_accepts(self):
        long = "x" * 200_000
        cycle = "0 @I1@ INDI\n1 FAMC @F1@\n0 @I2@ INDI\n1 FAMC @F2@\n" \
                "0 @F1@ FAM\n1 HUSB @I2@\n0 @F2@ FAM\n1 WIFE @I1@\n"
        for data, clan, father in [(b"0 HEAD\n0 @I1@ INDI\n1 NAME Ana /Sil", "Sil", ""),
                                   (gedcom("UTF-8", "0  @I1@  INDI\n1   NAME Ana /Sil/\n"), "Sil", ""),
                                   (gedcom("UTF-8", f"0 @I1@ INDI\n1 NAME {long} /{long}/\n"),
                                    "xxxxxxxxx", ""),
                                   (gedcom("UTF-8", cycle), "-", "@I2@"),
                                   (gedcom("UTF-8", "0 @I1@ INDI\n1 NAME \x01 /a\x7f\tb\x0bc/\n"),
                                    "a_b_c", "")]:
            with self.subTest(data[:40]):
                _, people = self.convert(data)
                self.assertEqual(people["@I1@"][1:4:2], (father, clan))

    def test_gedcom_7_plain_and_in_a_gedzip_file(self):
        for name, data in [("family.ged", GEDCOM7.encode()),
                           ("family.gdz", gedzip({"gedcom.ged": GEDCOM7, "photos/pat.jpg": b"\xff\xd8"}))]:
            with self.subTest(name):
                out, people = self.convert(data, name=name)
                self.assertEqual({x: (*p[:4], p[7]) for x, p in people.items()}, PEOPLE7)
                self.assertEqual((people[""][5], people["@X9@"][5]), ("1700", "-560"))
                self.assertIn("individuals: 6, ids: running numbers", out)
                self.assertIn("warnings: 0", out)

    def test_bad_input_gets_a_message_status_1_and_no_output(self):
        head = "0 HEAD\n1 CHAR UTF-8\n"
        for name, data, args, message in [
                ("absent.ged", None, [], "absent.ged: cannot open the GEDCOM file: No such file"),
                ("f.ged", b"\x89PNG\r\n\x1a\n" + bytes(range(256)), [], "f.ged: not a GEDCOM file"),
                ("f.ged", b"", [], "f.ged: not a GEDCOM file"),
                ("f.ged", f"{head}0 @I1@ INDI\n2 NAME X\n".encode(), [], "f.ged:4: the level is more than one deeper"),
                ("f.ged", f"{head}0 @I1@ INDI\n\x00\x01 x\n".encode(), [], "f.ged:4: the level is not a number"),
                ("f.ged", f"{head}0 @F1@ FAM\n".encode(), [], "f.ged: no individuals"),
                ("f.ged", gedcom("KLINGON"), [], "f.ged: unknown character set"),
                ("f.ged", b"\xff\xfe0\x00\x00\xd8", [], "f.ged: the file looks like UTF-16 but"),
                ("f.ged", f"{head}{'1' * 5000} X\n".encode(), [], "f.ged:3: the level is not a number"),
                ("f.ged", gedcom("UTF-8"), ["no/f.txt"], "cannot create no/f.txt: No such file"),
                ("f.gdz", gedzip({"family.ged": "0 HEAD"}), [], "f.gdz: a zip file, but not GEDZIP"),
                ("f.gdz", gedzip({"gedcom.ged": "0 HEAD"})[:60], [], "f.gdz: cannot read the GEDZIP")]:
            with self.subTest(message):
                if data is not None:
                    (self.folder / name).write_bytes(data)
                result = self.run_in_folder(IMPORTER, name, *args)
                self.assertEqual((result.returncode, result.stdout), (1, ""))
                self.assertIn(message, result.stderr)
                self.assertEqual(len(result.stderr.splitlines()), 1)
                self.assertEqual(sorted(os.listdir(self.folder)), [name] if data is not None else [])
                (self.folder / name).unlink(missing_ok=True)
        # A folder where the names table goes: refused before the earlier pedigree is touched.
        (self.folder / "f.ged").write_bytes(gedcom("UTF-8"))
        (self.folder / "f.txt").write_text("old")
        (self.folder / "f.txt.names.tsv").mkdir()
        result = self.run_in_folder(IMPORTER, "f.ged")
        self.assertEqual(result.returncode, 1)
        self.assertIn("cannot replace f.txt.names.tsv: Is a directory", result.stderr)
        self.assertEqual((self.folder / "f.txt").read_text(), "old")
        self.assertEqual(sorted(os.listdir(self.folder)), ["f.ged", "f.txt", "f.txt.names.tsv"])

    def test_the_example(self):
        example = Path(os.environ["KINSHIP_EXAMPLE_GEDCOM"]).read_bytes()
        out, people = self.convert(example, "--clan", "_CLAN", name="familia.ged")
        self.assertEqual(len(people), example.count(b" INDI"))
        self.assertIn("warnings: 0", out)

        # A summary nobody reads any more (| head) ends quietly: the files are written.
        (self.folder / "familia.txt").unlink()
        run = subprocess.Popen([IMPORTER, "familia.ged"], cwd=self.folder,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        run.stdout.close()
        self.assertEqual((run.wait(timeout=120), run.stderr.read()), (0, b""))
        run.stderr.close()
        self.assertTrue((self.folder / "familia.txt").exists())


if __name__ == "__main__":
    unittest.main()
