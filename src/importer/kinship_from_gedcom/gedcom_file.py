"""Reading a GEDCOM file (5.5, 5.5.1 or 7.0, plain or in a GEDZIP archive) with fastgedcom:
the character set settled first, the lines given to the library one by one, every failure
turned into an ImportFailure that names the file and the line."""

import codecs
import io
import re
import zipfile
from collections.abc import Iterator
from dataclasses import dataclass, field

import ansel
from fastgedcom.base import TrueLine
from fastgedcom.parser import (CharacterInsteadOfLineWarning, EmptyLineWarning,
                               LevelInconsistencyWarning, LevelParsingWarning,
                               LineParsingWarning, parse)

ansel.register()  # the codecs "ansel" and "gedcom" (ANSEL with GEDCOM's additions)

_HEAD = re.compile(rb"(\xef\xbb\xbf)?[ \t]*0[ \t]+HEAD[ \t]*(\r|\n|$)")
_CHAR = re.compile(rb"^[ \t]*1[ \t]+CHAR[ \t]+([^\r\n]*)", re.M)
_END_OF_HEADER = re.compile(rb"[\r\n][ \t]*0[ \t]")
# The character sets programs write in CHAR, GEDCOM's own and others, as Python codecs.
_CODECS = {"ANSEL": "gedcom", "UTF-8": "utf-8", "UTF8": "utf-8", "ASCII": "ascii",
           "ANSI": "cp1252", "WINDOWS": "cp1252", "IBM WINDOWS": "cp1252",
           "IBM_WINDOWS": "cp1252", "CP1252": "cp1252", "WINDOWS-1252": "cp1252",
           "WINDOWS-1250": "cp1250", "WINDOWS-1251": "cp1251", "IBMPC": "cp437",
           "IBM-PC": "cp437", "IBM": "cp437", "OEM": "cp437", "MSDOS": "cp850",
           "MS-DOS": "cp850", "IBM DOS": "cp850", "MACINTOSH": "mac-roman",
           "LATIN1": "iso8859-1", "ISO8859": "iso8859-1", "ISO-8859-1": "iso8859-1",
           "ISO8859-1": "iso8859-1"}
GEDZIP_ENTRY = "gedcom.ged"  # the GEDCOM file inside a GEDZIP archive
VOID = "@VOID@"  # GEDCOM 7's pointer to nothing


class ImportFailure(Exception):
    """Input the importer cannot use; the message names the file."""


@dataclass
class GedcomFile:
    """What the conversion needs from a GEDCOM file."""
    encoding: str
    individuals: list = field(default_factory=list)   # (xref or "", INDI record), in file order
    families: dict = field(default_factory=dict)      # FAM xref -> (husband xref, wife xref)
    family_records: list = field(default_factory=list)  # (xref or "", FAM record), in file order
    records: list = field(default_factory=list, repr=False)  # every record, for line numbers
    _lines: dict | None = field(default=None, repr=False)
    _renamed_lines: dict = field(default_factory=dict, repr=False)  # known without counting

    def line_of(self, line: TrueLine) -> int:
        """The number of a line in the file, from 1 (a record's lines follow it in order)."""
        if id(line) in self._renamed_lines:
            return self._renamed_lines[id(line)]
        if self._lines is None:
            self._lines = {}
            waiting = list(reversed(self.records))
            while waiting:  # depth first, without recursion: nesting has no limit
                current = waiting.pop()
                self._lines[id(current)] = len(self._lines) + 1
                waiting.extend(reversed(current.sub_lines))
        return self._lines[id(line)]


def _is_utf8(data: bytes) -> bool:
    try:
        data.decode("utf-8")
        return True
    except UnicodeDecodeError:
        return False


def _settle_encoding(path: str, data: bytes) -> tuple[bytes, str, str]:
    """The bytes to read, their codec and the character set's name for the summary.

    UTF-16 is turned into UTF-8 first. A UTF-8 byte-order mark wins over CHAR. CHAR UNICODE
    on a file without NUL bytes is UTF-8 (some programs write it so). A file without CHAR
    (GEDCOM 7 has none) is UTF-8 when it decodes as such, ANSEL (the GEDCOM 5.5 default)
    otherwise; one that claims UTF-8 but does not decode as such was saved by a Windows
    program in its own code page, CP-1252."""
    utf16 = data.startswith((codecs.BOM_UTF16_LE, codecs.BOM_UTF16_BE)) or \
        (len(data) > 1 and (data[0] == 0) != (data[1] == 0))
    if utf16:
        codec = "utf-16" if data[:2] in (codecs.BOM_UTF16_LE, codecs.BOM_UTF16_BE) else \
            "utf-16-be" if data[0] == 0 else "utf-16-le"
        try:
            data = data.decode(codec).removeprefix("\ufeff").encode("utf-8")
        except UnicodeError as error:
            raise ImportFailure(f"{path}: the file looks like UTF-16 but is not: {error}")
    # Old programs end the file with Ctrl-Z, others with blank lines: neither is a record.
    data = data.rstrip(b"\x1a \t\r\n")
    if not _HEAD.match(data):
        raise ImportFailure(f"{path}: not a GEDCOM file: it does not start with a '0 HEAD' line")
    header_end = _END_OF_HEADER.search(data)
    char = _CHAR.search(data, 0, header_end.start() if header_end else len(data))
    declared = " ".join(char[1].decode("ascii", "replace").split()).upper() if char else ""
    if utf16:
        return data, "utf-8-sig", "UTF-16"
    if data.startswith(codecs.BOM_UTF8) or declared in ("UNICODE", "UTF-16"):
        return data, "utf-8-sig", "UTF-8"
    utf8 = _is_utf8(data)
    if not char:
        return (data, "utf-8", "UTF-8 (no CHAR line)") if utf8 else \
            (data, "gedcom", "ANSEL (no CHAR line)")
    if declared in ("UTF-8", "UTF8") and not utf8:
        return data, "cp1252", "CP-1252: the header says UTF-8, but the file is not"
    codec = _CODECS.get(declared, declared)
    try:
        codecs.lookup(codec)
    except LookupError:
        raise ImportFailure(f"{path}: unknown character set in the header: {declared!r}") from None
    return data, codec, declared


def _gedcom_bytes(path: str) -> bytes:
    """The bytes of the GEDCOM file, read out of a GEDZIP archive (a zip file holding
    gedcom.ged and media files) when it is one."""
    try:
        file = open(path, "rb")
    except OSError as error:
        raise ImportFailure(f"{path}: cannot open the GEDCOM file: {error.strerror}") from None
    try:
        with file:
            data = file.read()
    except OSError as error:
        raise ImportFailure(f"{path}: cannot read the GEDCOM file: {error.strerror}") from None
    if not data.startswith(b"PK\x03\x04"):
        return data
    try:
        with zipfile.ZipFile(io.BytesIO(data)) as archive:
            if GEDZIP_ENTRY not in archive.namelist():
                raise ImportFailure(f"{path}: a zip file, but not GEDZIP: it holds no "
                                    f"{GEDZIP_ENTRY}")
            return archive.read(GEDZIP_ENTRY)
    except (zipfile.BadZipFile, zipfile.LargeZipFile, OSError, EOFError) as error:
        raise ImportFailure(f"{path}: cannot read the GEDZIP file: {error}") from None


def _decoded(data: bytes, codec: str) -> Iterator[str]:
    """The lines of the file as text, whether they end in LF, CRLF or CR. A line of ASCII
    alone (most lines of any export) skips the codec, which for ANSEL is slow Python."""
    for line in io.BytesIO(data.replace(b"\r\n", b"\n").replace(b"\r", b"\n")):
        line = line.rstrip(b"\n")
        yield line.decode("ascii") if line.isascii() else line.decode(codec, "replace")


def _lines(text: Iterator[str], renamed: dict) -> Iterator[str]:
    """The file's lines for fastgedcom, which keeps records by their cross-reference: a
    record without one (GEDCOM 7 allows it) or with one an earlier record already has gets
    a key of its own, `#` and its line number, and `renamed` maps that key back to the
    cross-reference ("" for none). Blanks before the level are dropped, as GEDCOM 5.5 allows,
    and so are extra blanks after it, which fastgedcom would take for an empty tag."""
    seen = set()
    for number, line in enumerate(text, 1):
        line = line.lstrip(" \t\ufeff")
        if line[1:3] == "  ":
            line = f"{line[0]} {line[2:].lstrip(' ')}"
        if line.startswith("0 ") and not line.startswith(("0 HEAD", "0 TRLR")):
            xref, _, rest = line[2:].partition(" ")
            has_xref = xref.startswith("@")
            if not has_xref or xref in seen:
                key = f"#{number}"
                renamed[key] = xref if has_xref else ""
                line = f"0 {key} {rest if has_xref else line[2:]}"
            seen.add(xref)
        yield line


_LINE_FAULTS = {LineParsingWarning: "not a GEDCOM line (a level, a tag and a value)",
                LevelParsingWarning: "the level is not a number",
                LevelInconsistencyWarning: "the level is more than one deeper than the line before",
                EmptyLineWarning: "a blank line", CharacterInsteadOfLineWarning: "a line of one character"}


def pointer(record: TrueLine, tag: str) -> str | None:
    """The cross-reference a sub-record points to, or None for none or @VOID@."""
    value = record.get_sub_line_payload(tag).strip()
    return value if value.startswith("@") and value != VOID else None


def read_gedcom(path: str) -> GedcomFile:
    """Reads the families and the individuals of a GEDCOM file."""
    data, codec, name = _settle_encoding(path, _gedcom_bytes(path))
    renamed = {}
    document, warnings = parse(_lines(_decoded(data, codec), renamed))
    for warning in warnings:
        if type(warning) in _LINE_FAULTS:
            content = getattr(warning, "line_content", "")
            raise ImportFailure(f"{path}:{warning.line_number}: {_LINE_FAULTS[type(warning)]}"
                                + (f": {_shorten(content)}" if content else ""))
    result = GedcomFile(name, records=list(document.records.values()))
    for key, record in document.records.items():
        kind = record.payload.split(maxsplit=1)[0] if record.payload.strip() else ""
        xref = renamed.get(key, key)
        if key in renamed:
            result._renamed_lines[id(record)] = int(key[1:])
        if kind == "INDI":
            result.individuals.append((xref, record))
        elif kind == "FAM":
            result.family_records.append((xref, record))
            if xref:
                result.families.setdefault(xref, (pointer(record, "HUSB"), pointer(record, "WIFE")))
    if not result.individuals:
        raise ImportFailure(f"{path}: no individuals: the file has no INDI records")
    return result


def _shorten(message: str, limit: int = 160) -> str:
    """A message fit for one terminal line: control characters escaped, long lines cut."""
    printable = "".join(c if c.isprintable() else repr(c)[1:-1] for c in message)
    return printable if len(printable) <= limit else printable[:limit] + "..."
