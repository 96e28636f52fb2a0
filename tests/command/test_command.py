"""End-to-end tests of the hierarchical-layout executable: messages, streams, exit
statuses, and which files are made or left alone (README.md, "When the input is wrong").
The executable comes from the KINSHIP_COMMAND environment variable."""

import atexit
import functools
import os
import re
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

import networkx

COMMAND = os.environ["KINSHIP_COMMAND"]
FAMILY = """3
101 m 0 0 north low 1900 1960
102 f 0 0 south high 1905 1970
103 m 101 102 north low 1930 1990
"""
START = "Creating the first gml format file: gml-{}.\n"
LOADED = "The first gml format file (gml-{0}) has been created.\n" \
         "Creating the second gml format file (for drawing): whl-gml-{0}\n"
UNPRIVILEGED = 65534  # the user "nobody"


@functools.cache
def reachable_command():
    """A copy of the command, and of the libraries it loads from outside the system's
    folders, in a folder every user can enter: the build may lie in a home folder that
    only its owner can enter. Returns the run arguments that use the copy."""
    folder = Path(tempfile.mkdtemp())
    atexit.register(shutil.rmtree, folder, True)
    folder.chmod(0o755)
    copy = folder / Path(COMMAND).name
    shutil.copy2(COMMAND, copy)
    libraries = subprocess.run(["ldd", COMMAND], capture_output=True, text=True).stdout
    for library in re.findall(r"=> (/\S+)", libraries):
        if not library.startswith(("/lib/", "/lib64/", "/usr/")):
            shutil.copy2(library, folder)
    return {"executable": copy, "env": dict(os.environ, LD_LIBRARY_PATH=str(folder))}


class CommandCase(unittest.TestCase):
    def setUp(self):
        self._tmp = tempfile.TemporaryDirectory()
        self.folder = Path(self._tmp.name)

    def tearDown(self):
        for path in self.folder.rglob("*"):
            if path.is_dir():
                path.chmod(0o755)
        self._tmp.cleanup()

    def run_command(self, *args, **run_args):
        return subprocess.run([COMMAND, *args], cwd=self.folder, capture_output=True,
                              timeout=120, **run_args)

    def write(self, name, content):
        path = self.folder / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(content if isinstance(content, bytes) else content.encode())

    def read(self, name):
        return (self.folder / name).read_text(encoding="utf-8")

    def files(self):
        return sorted(p.relative_to(self.folder).as_posix() for p in self.folder.rglob("*"))

    def unprivileged(self):
        """Root ignores permissions, so as root the command runs as the user "nobody",
        from a copy that user can reach; skips the test when it cannot be run that way."""
        if os.geteuid() != 0:
            return {}
        ids = {"user": UNPRIVILEGED, "group": UNPRIVILEGED, "extra_groups": [],
               **reachable_command()}
        self.folder.chmod(0o755)
        try:
            usable = self.run_command(**ids).returncode == 2
        except OSError:
            usable = False
        if not usable:
            self.skipTest("running as root, and the command cannot be run as nobody here")
        return ids


class SuccessTest(CommandCase):
    def test_a_run_prints_every_stage_and_writes_both_files_the_same_each_time(self):
        self.write("ped.txt", FAMILY)
        result = self.run_command("ped.txt", text=True)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stderr, "")
        self.assertEqual(result.stdout, START.format("ped.txt") + LOADED.format("ped.txt") +
                         "The second gml format file (whl-gml-ped.txt) has been created.\n\n"
                         "Use ONLY the second gml format file (whl-gml-ped.txt) to draw the "
                         "corresponding kinship network.\n\nFINISHED\n")
        self.assertEqual(self.files(), ["gml-ped.txt", "ped.txt", "whl-gml-ped.txt"])
        # Another GML reader takes the styled file as the pedigree it states.
        first = networkx.read_gml(self.folder / "gml-ped.txt", label="id")
        self.assertEqual(set(first.edges), {(101, 103), (102, 103)})
        drawing = self.read("whl-gml-ped.txt")
        self.assertTrue(drawing.startswith('Creator "ogdf::GraphAttributes::writeGML"\n'))
        self.assertEqual((drawing.count("    label "), drawing.count('arrow "last"')), (3, 2))
        self.assertEqual(self.run_command("ped.txt").returncode, 0)
        self.assertEqual(self.read("whl-gml-ped.txt"), drawing)

    def test_empty_pedigree_and_odd_but_valid_text(self):
        self.write("ped.txt", "0\n")
        self.assertEqual(self.run_command("ped.txt").returncode, 0)
        self.assertEqual(self.read("whl-gml-ped.txt"),
                         'Creator "ogdf::GraphAttributes::writeGML"\ngraph [\n  directed 1\n]\n')
        # CRLF line ends, a byte-order mark and UTF-8 names within nine bytes.
        self.write("ped.txt", "\ufeff" + FAMILY.replace("\n", "\r\n").replace("south", "São"))
        self.assertEqual(self.run_command("ped.txt").returncode, 0)
        self.assertIn('template "São high 1905 1970"', self.read("whl-gml-ped.txt"))
        self.assertNotIn("\r", self.read("gml-ped.txt"))

    def test_arguments(self):
        for args in ([], ["p" * 142]):
            result = self.run_command(*args, text=True)
            self.assertEqual((result.returncode, result.stdout), (2, ""))
            self.assertTrue(result.stderr.startswith("usage: hierarchical-layout"))
        self.assertEqual(self.files(), [])
        self.write("p" * 141, "0\n")  # output names of 145 and 149 characters
        self.assertEqual(self.run_command("p" * 141).returncode, 0)


class BadPedigreeTest(CommandCase):
    """Each bad pedigree: its message on its stream, status 1, and no file written or
    changed."""

    def check_refused(self, name, message, stream="stderr", **run_args):
        before = {p: p.read_bytes() for p in self.folder.glob("*gml-*")}
        names = self.files()
        result = self.run_command(name, **run_args)
        out, err = result.stdout.decode(), result.stderr.decode()
        self.assertEqual(result.returncode, 1, err)
        expected_out = START.format(name) + (message + "\n" if stream == "stdout" else "")
        self.assertEqual((out, err), (expected_out, message + "\n" if stream == "stderr" else ""))
        self.assertEqual(self.files(), names)
        self.assertEqual({p: p.read_bytes() for p in self.folder.glob("*gml-*")}, before)

    def test_bad_pedigrees_get_their_message_and_no_file(self):
        # A few rows end to end; the readers' own table holds every message.
        cases = [
            (b"", "ped.txt: cannot read the count of individuals: the file ends before it"),
            ("1\n1 m 0 0 a Conceição 1 1\n".encode(),
             r'ped.txt: record 1: the sub-clan word "Concei\xc3\xa7\xc3\xa3o" is longer than '
             "9 bytes (it has 11 bytes in UTF-8)"),
        ]
        # An earlier run's files must survive every refusal.
        self.write("ped.txt", FAMILY)
        self.assertEqual(self.run_command("ped.txt").returncode, 0)
        for content, message in cases:
            with self.subTest(content=content):
                self.write("ped.txt", content)
                self.check_refused("ped.txt", message)
        self.write("ped.txt", "5\n1 m 0 0 a b 0 0\n2 f 0 0 a b 0 0\n3 m 1 2 a b 0 0\n"
                              "4 f 0 0 a b 0 0\n5 m 0 99 a b 0 0\n")
        self.check_refused("ped.txt", "4 -2 -1 ERRO na montagem do Grafo.", stream="stdout")

    def test_files_that_cannot_be_read(self):
        self.check_refused("absent.txt",
                           "absent.txt: cannot open the pedigree file: No such file or directory")
        (self.folder / "folder").mkdir()
        self.check_refused("folder", "folder: cannot open the pedigree file: Is a directory")
        os.mkfifo(self.folder / "fifo")
        self.check_refused("fifo", "fifo: cannot read the pedigree from a pipe: the file is read "
                                   "twice and this input cannot be rewound; give a regular file")
        self.write("locked.txt", FAMILY)
        (self.folder / "locked.txt").chmod(0)
        self.check_refused("locked.txt",
                           "locked.txt: cannot open the pedigree file: Permission denied",
                           **self.unprivileged())


class OutputPathTest(CommandCase):
    """Output files that cannot be written: a clear message, status 1, and no file or
    temporary file left behind. The prefixes go before the whole argument."""

    def setUp(self):
        super().setUp()
        self.write("data/ped.txt", FAMILY)

    def check_refused(self, stage, reason, error, **run_args):
        result = self.run_command("data/ped.txt", text=True, **run_args)
        self.assertEqual(result.returncode, 1, result.stderr)
        if stage == "first":
            self.assertEqual(result.stdout, START.format("data/ped.txt"))
            self.assertEqual(result.stderr, f"Cannot write the GML file: {reason} "
                                            f"gml-data/ped.txt: {error}\n")
        else:
            self.assertEqual(result.stdout,
                             START.format("data/ped.txt") + LOADED.format("data/ped.txt"))
            self.assertEqual(result.stderr, f"Could not write the drawing file: {reason} "
                                            f"whl-gml-data/ped.txt: {error}\n")

    def test_missing_folders(self):
        self.check_refused("first", "cannot create", "No such file or directory")
        self.assertEqual(self.files(), ["data", "data/ped.txt"])
        (self.folder / "gml-data").mkdir()
        self.check_refused("drawing", "cannot create", "No such file or directory")
        self.assertEqual(self.files(), ["data", "data/ped.txt", "gml-data", "gml-data/ped.txt"])
        (self.folder / "whl-gml-data").mkdir()
        self.assertEqual(self.run_command("data/ped.txt").returncode, 0)
        self.assertTrue((self.folder / "whl-gml-data/ped.txt").is_file())

    def test_read_only_folders(self):
        ids = self.unprivileged()
        (self.folder / "gml-data").mkdir()
        (self.folder / "gml-data").chmod(0o555)
        self.check_refused("first", "cannot create", "Permission denied", **ids)
        self.assertEqual(self.files(), ["data", "data/ped.txt", "gml-data"])
        (self.folder / "gml-data").chmod(0o777)
        (self.folder / "whl-gml-data").mkdir()
        (self.folder / "whl-gml-data").chmod(0o555)
        self.check_refused("drawing", "cannot create", "Permission denied", **ids)
        self.assertEqual(self.files(), ["data", "data/ped.txt", "gml-data", "gml-data/ped.txt",
                                        "whl-gml-data"])


if __name__ == "__main__":
    unittest.main()
