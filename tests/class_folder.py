"""A temporary folder for a test class's files, shared by the end-to-end tests."""

import tempfile
from pathlib import Path


def class_folder(test_class, files=None):
    """A fresh folder that lives as long as `test_class`, holding `files` (name: text)."""
    tmp = tempfile.TemporaryDirectory()
    test_class.addClassCleanup(tmp.cleanup)
    folder = Path(tmp.name)
    for name, text in (files or {}).items():
        (folder / name).write_text(text)
    return folder
