"""The hierarchical-layout executable (KINSHIP_COMMAND) end to end: messages, streams,
exit statuses, and which files are made or left alone."""

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
FAMILY = "3\n101 m 0 0 north low 1900 1960\n102 f 0 0 south high 1905 1970\n" \
         "103 m 101 102 north low 1930 1990\n"
START = "Creating the first gml format file: gml-{}.\n"
LOADED = "The first gml format file (gml-{0}) has been created.\n" \
         "Creating the second gml format file (for drawing): whl-gml-{0}\n"
UNPRIVILEGED = 65534  # the user "nobody"


@functools.cache
def reachable_command():
    """Run arguments for a copy of the command and the libraries it loads from outside the
    system's folders, in a folder every user can enter (the build's may not be)."""
    folder = Path(tempfile.mkdtemp())
    atexit.register(shutil.rmtree, folder, True)
    folder.chmod(0o755)
    libraries = subprocess.run(["ldd", COMMAND], capture_output=True, text=True).stdout
    for path in [COMMAND, *re.findall(r"=> (/\S+)", libraries)]:
        if not path.startswith(("/lib/", "/lib64/", "/usr/")):
            shutil.copy2(path, folder)
    return {"executable": folder / Path(COMMAND).name,
            "env": dict(os.environ, LD_LIBRARY_PATH=str(folder))}


class CommandTest(unittest.TestCase):
    def setUp(self):
        tmp = tempfile.TemporaryDirectory()
        self.addCleanup(tmp.cleanup)
        self.folder = Path(tmp.name)
        self.addCleanup(lambda: [p.chmod(0o755) for p in self.folder.rglob("*") if p.is_dir()])

    def run_command(self, *args, **run_args):
        return subprocess.run([COMMAND, *args], cwd=self.folder, capture_output=True,
                              text=True, timeout=120, **run_args)

    def write(self, name, content):
        path = self.folder / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(content if isinstance(content, bytes) else content.encode())

    def read(self, name):
        return (self.folder / name).read_text(encoding="utf-8")

    def snapshot(self):  # a file the user may not read (not root) by its size and time
        return {p: p.read_bytes() if os.access(p, os.R_OK) else p.stat().st_mtime_ns
                for p in self.folder.rglob("*") if p.is_file()}

    def check_refused(self, name, out, err, **run_args):  # and no file made or changed
        before = self.snapshot()
        result = self.run_command(name, **run_args)
        self.assertEqual((result.returncode, result.stdout, result.stderr), (1, out, err))
        self.assertEqual(self.snapshot(), before)

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
        except OSError:  # the process cannot be started at all
            usable = False
        if not usable:
            self.skipTest("running as root, and the command cannot be run as nobody here")
        return ids

    def test_a_run_prints_every_stage_and_writes_both_files_the_same_each_time(self):
        self.write("ped.txt", FAMILY)
        result = self.run_command("ped.txt")
        self.assertEqual((result.returncode, result.stderr), (0, ""))
        self.assertEqual(result.stdout, START.format("ped.txt") + LOADED.format("ped.txt") +
                         "The second gml format file (whl-gml-ped.txt) has been created.\n\n"
                         "Use ONLY the second gml format file (whl-gml-ped.txt) to draw the "
                         "corresponding kinship network.\n\nFINISHED\n")
        self.assertEqual(sorted(os.listdir(self.folder)),
                         ["gml-ped.txt", "ped.txt", "whl-gml-ped.txt"])
        # Another GML reader takes the styled file as the pedigree it states.
        first = networkx.read_gml(self.folder / "gml-ped.txt", label="id")
        self.assertEqual(set(first.edges), {(101, 103), (102, 103)})
        drawing = self.read("whl-gml-ped.txt")
        self.assertTrue(drawing.startswith('Creator "ogdf::GraphAttributes::writeGML"\n'))
        self.assertEqual((drawing.count("    label "), drawing.count('arrow "last"')), (3, 2))
        self.assertEqual(self.run_command("ped.txt").returncode, 0)
        self.assertEqual(self.read("whl-gml-ped.txt"), drawing)

    def test_arguments_and_an_empty_pedigree(self):
        self.write("ped.txt", FAMILY)
        for args in ([], ["p" * 142], ["ped.txt", "out.gml"]):
            result = self.run_command(*args)
            self.assertEqual((result.returncode, result.stdout), (2, ""))
            self.assertTrue(result.stderr.startswith("usage: hierarchical-layout PEDIGREE_FILE"))
        for option in ("--help", "-h"):
            result = self.run_command(option)
            self.assertEqual((result.returncode, result.stderr), (0, ""))
            self.assertRegex(result.stdout, r"^usage: hierarchical-layout PEDIGREE_FILE .*\n"
                                            r"Reads a clan pedigree .*\n$")
        self.assertEqual(os.listdir(self.folder), ["ped.txt"])
        self.write("p" * 141, "0\n")  # output names of 145 and 149 characters
        self.assertEqual(self.run_command("p" * 141).returncode, 0)
        self.assertEqual(self.read("whl-gml-" + "p" * 141),
                         'Creator "ogdf::GraphAttributes::writeGML"\ngraph [\n  directed 1\n]\n')

    def test_bad_pedigrees_get_their_message_and_change_no_file(self):
        # A few rows; the readers' table holds every message. An earlier run's files stay.
        self.write("ped.txt", FAMILY)
        self.assertEqual(self.run_command("ped.txt").returncode, 0)
        self.write("folder/x", "")
        os.mkfifo(self.folder / "fifo")
        for name, content, out, err in [
            ("ped.txt", "2\n1 m 0 0 a b 0 0\n2 f 0 99 a b 0 0\n",
             "1 -2 -1 ERRO na montagem do Grafo.\n",
             "ped.txt:3: individual 2: the mother id 99 matches no individual\n"),
            ("ped.txt", "1\n305 m 0 0 a b 1880-1950\n", "",
             'ped.txt:2: individual 305: the birth value "1880-1950" is not an integer\n'),
            ("folder", None, "", "folder: cannot open the pedigree file: Is a directory\n"),
            ("fifo", None, "", "fifo: cannot read the pedigree from a pipe: hierarchical-layout "
                               "takes a regular file only; save the pedigree to a file first\n"),
        ]:
            with self.subTest(name=name, content=content):
                if content is not None:
                    self.write(name, content)
                self.check_refused(name, START.format(name) + out, err)
        self.write("locked.txt", FAMILY)
        (self.folder / "locked.txt").chmod(0)
        self.check_refused("locked.txt", START.format("locked.txt"),
                           "locked.txt: cannot open the pedigree file: Permission denied\n",
                           **self.unprivileged())

    def test_records_after_the_count_are_noted_and_left_out(self):
        self.write("ped.txt", FAMILY.replace("3", "2", 1))
        result = self.run_command("ped.txt")
        self.assertEqual((result.returncode, result.stderr), (0, "ped.txt:4: note: the count of "
                         "individuals on line 1 is 2, so line 4 was not read\n"))
        self.assertTrue(result.stdout.endswith("FINISHED\n"))
        self.assertEqual(self.read("whl-gml-ped.txt").count("    label "), 2)

    def test_output_folders_missing_or_read_only(self):
        # The prefixes go before the whole argument, so each output needs its own folder.
        self.write("data/ped.txt", FAMILY)
        first = START.format("data/ped.txt")
        drawing = first + LOADED.format("data/ped.txt")
        error = "Cannot write the GML file: cannot create gml-data/ped.txt: {}\n"
        drawing_error = "Could not write the drawing file: cannot create whl-gml-data/ped.txt: {}\n"
        self.check_refused("data/ped.txt", first, error.format("No such file or directory"))
        (self.folder / "gml-data").mkdir()
        self.run_command("data/ped.txt")  # the first file; each later run writes it the same
        self.check_refused("data/ped.txt", drawing,
                           drawing_error.format("No such file or directory"))
        (self.folder / "whl-gml-data").mkdir()
        self.assertEqual(self.run_command("data/ped.txt").returncode, 0)
        ids = self.unprivileged()
        (self.folder / "gml-data").chmod(0o555)
        self.check_refused("data/ped.txt", first, error.format("Permission denied"), **ids)
        (self.folder / "gml-data").chmod(0o777)
        (self.folder / "whl-gml-data").chmod(0o555)
        self.check_refused("data/ped.txt", drawing, drawing_error.format("Permission denied"),
                           **ids)


if __name__ == "__main__":
    unittest.main()
