"""The clan pedigree file and the names table, both written in full or not at all."""

import os
from pathlib import Path

from kinship_from_gedcom.conversion import Person
from kinship_from_gedcom.gedcom_file import ImportFailure


def pedigree_text(people: list[Person]) -> str:
    rows = (f"{p.id} {p.sex} {p.father} {p.mother} {p.clan} {p.subclan} {p.birth} {p.death}\n"
            for p in people)
    return f"{len(people)}\n" + "".join(rows)


def names_text(people: list[Person]) -> str:
    return "id\txref\tname\n" + "".join(f"{p.id}\t{p.xref}\t{p.name}\n" for p in people)


def _temporary_beside(target: Path, text: str) -> Path:
    temporary = target.with_name(f".{target.name}.{os.getpid()}.tmp")
    try:
        file = open(temporary, "x", encoding="utf-8", newline="\n")
    except OSError as error:
        raise ImportFailure(f"cannot create {target}: {error.strerror}") from None
    try:
        with file:
            file.write(text)
    except OSError as error:
        temporary.unlink(missing_ok=True)
        raise ImportFailure(f"cannot write {target}: {error.strerror}") from None
    return temporary


def write_all(files: list[tuple[Path, str]]) -> None:
    """Writes each text to a temporary file beside its target, then renames them all into
    place; on any failure none of the files is left, neither temporary nor target."""
    temporaries, replaced = [], []
    try:
        for target, text in files:
            temporaries.append(_temporary_beside(target, text))
        # A folder in a target's place would fail its rename after earlier targets were
        # replaced, and undoing those would lose the files they replaced: refuse it first.
        for target, _ in files:
            if target.is_dir():
                raise ImportFailure(f"cannot replace {target}: Is a directory")
        for temporary, (target, _) in zip(temporaries, files):
            try:
                os.replace(temporary, target)
            except OSError as error:
                raise ImportFailure(f"cannot replace {target}: {error.strerror}") from None
            replaced.append(target)
    except ImportFailure:
        for path in temporaries + replaced:
            path.unlink(missing_ok=True)
        raise
