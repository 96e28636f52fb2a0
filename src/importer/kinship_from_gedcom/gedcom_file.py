"""Reading a GEDCOM file with ged4py: the encoding settled first, then the families and the
individuals as ged4py records, every library failure turned into an ImportFailure."""

import bisect
import codecs
import io
import logging
import re
from dataclasses import dataclass, field

from ged4py import GedcomReader, model
from ged4py.parser import CodecError, IntegrityError, ParserError

# ged4py turns each DATE value into a date object while it reads the record and raises on a
# form it does not know (an unknown calendar, a dual year in a Julian date), which would lose
# the whole record. DATE values are therefore kept as text and parsed one by one later.
model._tag_class.pop("DATE", None)
# ged4py logs a CHAR that GEDCOM does not define (ANSI, say) and reads it all the same; the
# summary names the character set, so the log would only repeat it.
logging.getLogger("ged4py").addHandler(logging.NullHandler())
logging.getLogger("ged4py").propagate = False

_HEAD = re.compile(rb"(\xef\xbb\xbf)?[ \t]*0[ \t]+HEAD[ \t]*(\r|\n|$)")
_CHAR = re.compile(rb"^[ \t]*1[ \t]+CHAR[ \t]+([^\r\n]*)", re.M)
_END_OF_HEADER = re.compile(rb"[\r\n][ \t]*0[ \t]")
_LINE_END = re.compile(rb"\r\n|\r|\n")


class ImportFailure(Exception):
    """Input the importer cannot use; the message names the file."""


@dataclass
class GedcomFile:
    """What the conversion needs from a GEDCOM file."""
    encoding: str
    individuals: list = field(default_factory=list)   # ged4py INDI records, in file order
    families: dict = field(default_factory=dict)      # FAM xref -> (husband xref, wife xref)
    data: bytes = field(default=b"", repr=False)      # the bytes ged4py read, for line numbers
    _line_starts: list[int] | None = field(default=None, repr=False)

    def line_of(self, offset: int) -> int:
        """The number of the line (from 1) at a byte offset of a record."""
        if self._line_starts is None:
            self._line_starts = [0] + [m.end() for m in _LINE_END.finditer(self.data)]
        return bisect.bisect_right(self._line_starts, offset)


def _as_utf8(data: bytes, char: re.Match | None) -> bytes:
    """Writes UTF-8 into the header's CHAR line, so that ged4py reads the bytes as UTF-8."""
    if char is None:
        return data
    return data[:char.start(1)] + b"UTF-8" + data[char.end(1):]


def _is_utf8(data: bytes) -> bool:
    try:
        data.decode("utf-8")
        return True
    except UnicodeDecodeError:
        return False


def _settle_encoding(path: str, data: bytes) -> tuple[bytes, str | None, str]:
    """The bytes for ged4py, the codec to force (None: ged4py reads CHAR) and its name.

    ged4py reads GEDCOM lines byte by byte, so UTF-16 is turned into UTF-8 here. A UTF-8
    byte-order mark wins over CHAR. CHAR UNICODE on a file without NUL bytes is UTF-8 (some
    programs write it so). A file without CHAR is UTF-8 when it decodes as such, ANSEL (the
    GEDCOM 5.5 default) otherwise; one that claims UTF-8 but does not decode as such was
    saved by a Windows program in its own code page, CP-1252."""
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
    declared = char[1].decode("ascii", "replace").strip().upper() if char else ""
    if utf16:
        return _as_utf8(data, char), "utf-8", "UTF-16"
    if data.startswith(codecs.BOM_UTF8) or declared in ("UNICODE", "UTF-16"):
        return _as_utf8(data, char), None, "UTF-8"
    utf8 = _is_utf8(data)
    if not char:
        return (data, "utf-8", "UTF-8 (no CHAR line)") if utf8 else \
            (data, None, "ANSEL (no CHAR line)")
    if declared in ("UTF-8", "UTF8") and not utf8:
        return data, "cp1252", "CP-1252: the header says UTF-8, but the file is not"
    return data, None, declared


VOID = "@VOID@"  # GEDCOM 7's pointer to nothing


def _pointer(record, tag: str) -> str | None:
    value = record.sub_tag_value(tag, follow=False)
    return value if isinstance(value, str) and value.startswith("@") and value != VOID else None


def read_gedcom(path: str) -> GedcomFile:
    """Reads the families and the individuals of a GEDCOM file."""
    try:
        with open(path, "rb") as file:
            data = file.read()
    except OSError as error:
        raise ImportFailure(f"{path}: cannot read the GEDCOM file: {error.strerror}")
    data, encoding, name = _settle_encoding(path, data)
    result = GedcomFile(name, data=data)
    try:
        with GedcomReader(io.BytesIO(data), encoding=encoding, errors="replace") as reader:
            for family in reader.records0("FAM"):
                if family.xref_id:
                    result.families.setdefault(
                        family.xref_id, (_pointer(family, "HUSB"), _pointer(family, "WIFE")))
            result.individuals = list(reader.records0("INDI"))
    except CodecError as error:
        raise ImportFailure(f"{path}: unknown character set in the header: {error}")
    except (ParserError, IntegrityError) as error:
        raise ImportFailure(f"{path}: {_shorten(str(error))}")
    except (OSError, ValueError, LookupError, UnicodeError) as error:
        raise ImportFailure(f"{path}: cannot read the file as GEDCOM: {_shorten(str(error))}")
    if not result.individuals:
        raise ImportFailure(f"{path}: no individuals: the file has no INDI records")
    return result


def _shorten(message: str, limit: int = 160) -> str:
    """A message fit for one terminal line: control characters escaped, long lines cut."""
    printable = "".join(c if c.isprintable() else repr(c)[1:-1] for c in message)
    return printable if len(printable) <= limit else printable[:limit] + "..."
