"""The clan pedigree file, the names table and the marriages table, all written in full or
not at all."""

import os
import shutil
from pathlib import Path

from kinship_from_gedcom.conversion import Marriage, Person, one_line
from kinship_from_gedcom.gedcom_file import ImportFailure


def pedigree_text(people: list[Person]) -> str:
    rows = (f"{p.id} {p.sex} {p.father} {p.mother} {p.clan} {p.subclan} {p.birth} {p.death}\n"
            for p in people)
    return f"{len(people)}\n" + "".join(rows)


def names_text(people: list[Person]) -> str:
    """The names table; a tab, line break or other control character in a name or
    cross-reference would break its row, so each is written as a blank."""
    return "id\txref\tname\n" + "".join(f"{p.id}\t{one_line(p.xref)}\t{one_line(p.name)}\n"
                                         for p in people)


def marriages_text(marriages: list[Marriage]) -> str:
    """The marriages table: one row per family record that names both partners."""
    return "husband\twife\tyear\txref\n" + "".join(
        f"{m.husband}\t{m.wife}\t{m.year}\t{one_line(m.xref)}\n" for m in marriages)


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


def _keep_beside(target: Path) -> Path | None:
    """A second name for the file now at `target` (a copy where the file system has no hard
    links), so that it can be put back; None when there is no file there."""
    if not target.is_file():
        return None
    kept = target.with_name(f".{target.name}.{os.getpid()}.old")
    try:
        kept.unlink(missing_ok=True)
        try:
            os.link(target, kept)
        except OSError:
            shutil.copy2(target, kept)
    except OSError as error:
        raise ImportFailure(f"cannot keep the earlier {target} while replacing it: "
                            f"{error.strerror}") from None
    return kept


def write_all(files: list[tuple[Path, str]]) -> None:
    """Writes each text to a temporary file beside its target, then renames them all into
    place. On any failure no temporary file is left and the targets are as they were: a
    target already replaced gets its earlier file back (or is removed when it had none)."""
    temporaries, kept, replaced = [], [], []
    try:
        for target, text in files:
            temporaries.append(_temporary_beside(target, text))
        # A folder in a target's place would fail its rename after earlier targets were
        # replaced: refuse it before anything is touched.
        for target, _ in files:
            if target.is_dir():
                raise ImportFailure(f"cannot replace {target}: Is a directory")
        for target, _ in files:
            kept.append(_keep_beside(target))
        for temporary, (target, _), earlier in zip(temporaries, files, kept):
            try:
                os.replace(temporary, target)
            except OSError as error:
                raise ImportFailure(f"cannot replace {target}: {error.strerror}") from None
            replaced.append((target, earlier))
    except ImportFailure as failure:
        for path in temporaries:
            path.unlink(missing_ok=True)
        for target, earlier in replaced:
            if earlier is None:
                target.unlink(missing_ok=True)
                continue
            try:
                os.replace(earlier, target)
            except OSError as error:  # the earlier file stays under its second name
                kept.remove(earlier)
                raise ImportFailure(f"{failure}; the earlier {target} could not be put back "
                                    f"({error.strerror}) and is now {earlier}") from None
        raise
    finally:
        for path in kept:
            if path is not None:
                path.unlink(missing_ok=True)
