"""Installing the tools as a user would, then running what was installed on the bundled
examples in a folder of their own: the `cmake --install` tree after it is moved, and the
Python package built into a fresh virtual environment from a clean copy of the tree."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

SOURCE = Path(os.environ["KINSHIP_SOURCE_DIR"])
# What a fresh clone lacks: the builds, the dependencies' environment and git's own files.
NOT_IN_A_CLONE = shutil.ignore_patterns(".git", ".deps", "build", "out", "__pycache__")
# The installed commands must find OGDF through their RPATH alone.
ENVIRONMENT = {k: v for k, v in os.environ.items() if k != "LD_LIBRARY_PATH"}


def run(*args, cwd=None):
    return subprocess.run([str(a) for a in args], cwd=cwd, env=ENVIRONMENT, check=True,
                          capture_output=True, text=True, timeout=600).stdout


class InstallTest(unittest.TestCase):
    def setUp(self):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.tmp = Path(folder.name)

    def check_commands(self, prefix):
        """The commands in prefix/bin load OGDF from prefix/lib and draw the example."""
        for command in ("hierarchical-layout", "kinship-layout", "kinship-draw"):
            ldd = [line.split() for line in run("ldd", prefix / "bin" / command).splitlines()]
            loaded = {words[0]: words[2] for words in ldd if words[1:2] == ["=>"]}
            for library in ("libOGDF.so", "libCOIN.so"):
                self.assertEqual(Path(loaded[library]).resolve(), (prefix / "lib" / library).resolve())
        work = self.tmp / "work"
        work.mkdir()
        shutil.copy(SOURCE / "examples" / "aldeia.txt", work)
        self.assertIn("FINISHED", run(prefix / "bin" / "hierarchical-layout", "aldeia.txt", cwd=work))
        drawn = run(prefix / "bin" / "kinship-draw", "whl-gml-aldeia.txt", cwd=work)
        self.assertIn("41 individuals, 59 links", drawn)
        self.assertTrue((work / "whl-gml-aldeia.txt.svg").read_text().rstrip().endswith("</svg>"))
        self.assertIn("Next: kinship-draw family.gml family.svg",
                      run(prefix / "bin" / "kinship-layout", "aldeia.txt", "family.gml", cwd=work))
        self.assertIn("41 individuals, 15 couples",
                      run(prefix / "bin" / "kinship-draw", "family.gml", cwd=work))

    def test_cmake_install_tree_after_moving(self):
        run(os.environ["CMAKE_COMMAND"], "--install", os.environ["KINSHIP_BUILD_DIR"],
            "--prefix", self.tmp / "installed")
        moved = self.tmp / "moved"
        (self.tmp / "installed").rename(moved)
        installed = sorted(str(p.relative_to(moved)) for p in moved.rglob("*") if p.is_file())
        self.assertEqual(installed, ["bin/hierarchical-layout", "bin/kinship-draw",
                                     "bin/kinship-layout", "bin/kinship-select",
                                     "bin/kinship-stats", "lib/libCOIN.so", "lib/libOGDF.so"])
        self.check_commands(moved)

    def test_pip_package_in_fresh_venv(self):
        source, venv = self.tmp / "kinship-network", self.tmp / "venv"
        shutil.copytree(SOURCE, source, ignore=NOT_IN_A_CLONE)
        run(sys.executable, "-m", "venv", venv)
        run(venv / "bin" / "pip", "install", "--quiet", "--disable-pip-version-check", source)
        self.check_commands(venv)
        importer, work = venv / "bin" / "kinship-from-gedcom", self.tmp / "work"
        for command in (importer, venv / "bin" / "kinship-draw", venv / "bin" / "kinship-select",
                        venv / "bin" / "kinship-stats", venv / "bin" / "kinship-layout"):
            self.assertEqual(run(command, "--version").split(),
                             [command.name, os.environ["KINSHIP_VERSION"]])
        shutil.copy(SOURCE / "examples" / "familia.ged", work)
        self.assertIn("familia.txt", run(importer, "familia.ged", "--clan", "_CLAN", cwd=work))
        self.assertIn("FINISHED", run(venv / "bin" / "hierarchical-layout", "familia.txt", cwd=work))


if __name__ == "__main__":
    unittest.main()
