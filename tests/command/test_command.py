"""End-to-end tests of the hierarchical-layout executable: messages, streams, exit
statuses, and which files are made or left alone. The executable comes from the
KINSHIP_COMMAND environment variable."""

import os
import resource
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


START = "Creating the first gml format file: gml-ped.txt.\n"
UNPRIVILEGED = 65534  # the user "nobody"


def unprivileged(test, folder):
    """subprocess.run arguments that make permissions count. Root reads and writes whatever
    the permissions say, so as root the command runs as the user "nobody", which may enter
    `folder`; skips the test when the command cannot be run that way here."""
    if os.geteuid() != 0:
        return {}
    ids = {"user": UNPRIVILEGED, "group": UNPRIVILEGED, "extra_groups": []}
    folder.chmod(0o755)
    probe = subprocess.run([COMMAND], capture_output=True, timeout=60, **ids)
    if probe.returncode != 2:
        test.skipTest("running as root, and the command cannot be run as nobody here (its "
                      "folders are not open to other users), so permissions cannot be shown")
    return ids


def sanitized_build():
    """Whether the command was built with AddressSanitizer, which reserves terabytes of
    address space at start-up and so cannot run under an address-space limit."""
    with open(COMMAND, "rb") as binary:
        return b"__asan_init" in binary.read()


class BadPedigreeTest(unittest.TestCase):
    """Each bad pedigree of README.md's "When the input is wrong": its message on its
    stream, status 1, and no output file."""

    def setUp(self):
        self._tmp = tempfile.TemporaryDirectory()
        self.folder = Path(self._tmp.name)

    def tearDown(self):
        self._tmp.cleanup()

    def check_refused(self, name, content, message, stream="stderr", **run_args):
        if content is not None:
            (self.folder / name).write_bytes(content)
        before = sorted(p.name for p in self.folder.iterdir())
        result = subprocess.run([COMMAND, name], cwd=self.folder, capture_output=True,
                                timeout=120, **run_args)
        out, err = result.stdout.decode(), result.stderr.decode()
        self.assertEqual(result.returncode, 1, err)
        if stream == "stderr":
            self.assertEqual(out, START.replace("ped.txt", name))
            self.assertEqual(err, message + "\n")
        else:
            self.assertEqual(out, START.replace("ped.txt", name) + message + "\n")
            self.assertEqual(err, "")
        self.assertEqual(sorted(p.name for p in self.folder.iterdir()), before)

    def test_each_bad_pedigree_gets_its_message_and_no_file(self):
        long_records = b"3\n1 m 0 0 a b 1 1\n2 f 0 0 a b 1 1\n"
        cases = [
            (b"", "cannot read the count of individuals: the file ends before it"),
            (b" \r\n\t\n", "cannot read the count of individuals: the file ends before it"),
            (b"abc\n", 'cannot read the count of individuals: expected an integer, found "abc"'),
            (b"-1\n", "the count of individuals is -1; it must be 0 or more"),
            (b"99999999999\n", 'cannot read the count of individuals: "99999999999" is '
                               "outside the range of an int"),
            (b"2147483647\n1 m 0 0 a b 1 1\n", "record 2: cannot read the individual id: the "
                                               "file ends before it"),
            (long_records, "record 3: cannot read the individual id: the file ends before it"),
            (b"1\n1 male 0 0 a b 1 1\n", 'record 1: cannot read the father id: expected an '
                                         'integer, found "ale"'),
            (b"1\n1 m 0 0 abcdefghij b 1 1\n", 'record 1: the clan word "abcdefghij" is longer '
                                               "than 9 characters"),
            ("1\n1 m 0 0 a Conceição 1 1\n".encode(),
             r'record 1: the sub-clan word "Concei\xc3\xa7\xc3\xa3o" is longer than 9 bytes '
             "(it has 11 bytes in UTF-8)"),
            (b"1\n1 m 0 0 ab\0cd x 1 1\n", r'record 1: the clan word "ab\x00cd" holds a NUL byte'),
            ("1\n1 m 0 0 a b 1 1\n".encode("utf-16"),
             r'cannot read the count of individuals: expected an integer, found "\xff\xfe1\x00"'),
        ]
        for content, message in cases:
            with self.subTest(content=content):
                self.check_refused("ped.txt", content, "ped.txt: " + message)

    def test_files_that_cannot_be_read(self):
        self.check_refused("absent.txt", None,
                           "absent.txt: cannot open the pedigree file: No such file or directory")
        (self.folder / "folder").mkdir()
        self.check_refused("folder", None,
                           "folder: cannot open the pedigree file: Is a directory")
        (self.folder / "locked.txt").write_text(FAMILY)
        (self.folder / "locked.txt").chmod(0)
        self.check_refused("locked.txt", None,
                           "locked.txt: cannot open the pedigree file: Permission denied",
                           **unprivileged(self, self.folder))
        os.mkfifo(self.folder / "fifo")
        self.check_refused("fifo", None,
                           "fifo: cannot read the pedigree from a pipe: the file is read twice "
                           "and this input cannot be rewound; give a regular file")

    def test_an_id_that_matches_nobody_is_reported_on_standard_output(self):
        self.check_refused("ped.txt", b"5\n1 m 0 0 a b 0 0\n2 f 0 0 a b 0 0\n3 m 1 2 a b 0 0\n"
                                      b"4 f 0 0 a b 0 0\n5 m 0 99 a b 0 0\n",
                           "4 -2 -1 ERRO na montagem do Grafo.", stream="stdout")

    def test_a_record_too_large_for_the_memory_is_refused_with_its_size(self):
        if sanitized_build():
            self.skipTest("AddressSanitizer cannot run under an address-space limit")
        # 40000 individuals need a 6 GB record; the run is limited to 2 GB of address space.
        records = b"40000\n" + b"1 m 0 0 a b 1 1\n" * 40000
        (self.folder / "ped.txt").write_bytes(records)
        limit = 2 << 30

        def limited():
            resource.setrlimit(resource.RLIMIT_AS, (limit, limit))

        result = subprocess.run([COMMAND, "ped.txt"], cwd=self.folder, capture_output=True,
                                text=True, timeout=120, preexec_fn=limited)
        self.assertEqual(result.returncode, 1)
        self.assertRegex(result.stderr, r"^ped\.txt: cannot allocate the record for 40000 "
                                        r"individuals: it needs 64\d{8} bytes \(6\.0 GiB\)\n$")
        self.assertEqual(sorted(p.name for p in self.folder.iterdir()), ["ped.txt"])

    def test_crlf_line_ends_and_a_byte_order_mark_are_read(self):
        text = "\ufeff" + FAMILY.replace("\n", "\r\n")
        (self.folder / "ped.txt").write_bytes(text.encode())
        result = run(self.folder, "ped.txt")
        self.assertEqual(result.returncode, 0, result.stderr)
        first = (self.folder / "gml-ped.txt").read_text()
        self.assertIn('template "north low 1930 1990"', first)
        self.assertNotIn("\r", first)

    def test_utf8_clan_names_within_nine_bytes_are_kept(self):
        (self.folder / "ped.txt").write_text("1\n1 f 0 0 São Tupí 1 2\n", encoding="utf-8")
        result = run(self.folder, "ped.txt")
        self.assertEqual(result.returncode, 0, result.stderr)
        drawing = (self.folder / "whl-gml-ped.txt").read_text(encoding="utf-8")
        self.assertIn('template "São Tupí 1 2"', drawing)


class OutputPathTest(unittest.TestCase):
    """Output files that cannot be written: a clear message, status 1, and no file or
    temporary file left behind."""

    def setUp(self):
        self._tmp = tempfile.TemporaryDirectory()
        self.folder = Path(self._tmp.name)
        (self.folder / "data").mkdir()
        (self.folder / "data" / "ped.txt").write_text(FAMILY)

    def tearDown(self):
        for path in self.folder.rglob("*"):
            if path.is_dir():
                path.chmod(0o755)
        self._tmp.cleanup()

    def files(self):
        return sorted(p.relative_to(self.folder).as_posix() for p in self.folder.rglob("*"))

    def run_command(self, **run_args):
        return subprocess.run([COMMAND, "data/ped.txt"], cwd=self.folder, capture_output=True,
                              text=True, timeout=120, **run_args)

    def check_first_file_refused(self, reason, **run_args):
        result = self.run_command(**run_args)
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertEqual(result.stdout, "Creating the first gml format file: gml-data/ped.txt.\n")
        self.assertEqual(result.stderr,
                         f"Cannot write the GML file: {reason} gml-data/ped.txt: "
                         f"{self.expected_error}\n")

    def check_drawing_refused(self, reason, **run_args):
        result = self.run_command(**run_args)
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertEqual(result.stdout,
                         "Creating the first gml format file: gml-data/ped.txt.\n"
                         "The first gml format file (gml-data/ped.txt) has been created.\n"
                         "Creating the second gml format file (for drawing): "
                         "whl-gml-data/ped.txt\n")
        self.assertEqual(result.stderr,
                         f"Could not write the drawing file: {reason} whl-gml-data/ped.txt: "
                         f"{self.expected_error}\n")

    def test_missing_folders(self):
        self.expected_error = "No such file or directory"
        self.check_first_file_refused("cannot create")
        self.assertEqual(self.files(), ["data", "data/ped.txt"])
        (self.folder / "gml-data").mkdir()
        self.check_drawing_refused("cannot create")
        self.assertEqual(self.files(), ["data", "data/ped.txt", "gml-data", "gml-data/ped.txt"])

    def test_targets_that_are_folders(self):
        self.expected_error = "Is a directory"
        (self.folder / "gml-data" / "ped.txt").mkdir(parents=True)
        self.check_first_file_refused("cannot replace")
        self.assertEqual(self.files(), ["data", "data/ped.txt", "gml-data", "gml-data/ped.txt"])
        (self.folder / "gml-data" / "ped.txt").rmdir()
        (self.folder / "whl-gml-data" / "ped.txt").mkdir(parents=True)
        self.check_drawing_refused("cannot replace")
        self.assertEqual(self.files(), ["data", "data/ped.txt", "gml-data", "gml-data/ped.txt",
                                        "whl-gml-data", "whl-gml-data/ped.txt"])

    def test_read_only_folders(self):
        ids = unprivileged(self, self.folder)
        self.expected_error = "Permission denied"
        (self.folder / "gml-data").mkdir(mode=0o555)
        (self.folder / "gml-data").chmod(0o555)
        self.check_first_file_refused("cannot create", **ids)
        self.assertEqual(self.files(), ["data", "data/ped.txt", "gml-data"])

        (self.folder / "gml-data").chmod(0o777)
        (self.folder / "whl-gml-data").mkdir()
        (self.folder / "whl-gml-data").chmod(0o555)
        self.check_drawing_refused("cannot create", **ids)
        self.assertEqual(self.files(), ["data", "data/ped.txt", "gml-data", "gml-data/ped.txt",
                                        "whl-gml-data"])


if __name__ == "__main__":
    unittest.main()
