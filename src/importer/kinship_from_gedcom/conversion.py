"""GEDCOM individuals as clan pedigree records: ids, sex, parents, clan words and years."""

import re
import unicodedata
from dataclasses import dataclass, field

from ged4py.model import Name, NameRec

from kinship_from_gedcom.dates import year_of
from kinship_from_gedcom.gedcom_file import VOID, GedcomFile

INT_MAX = 2**31 - 1
WORD_BYTES = 9  # the pedigree reader's limit for a clan or sub-clan word
_XREF_NUMBER = re.compile(r"@[^@0-9]*([0-9]+)@")


@dataclass
class Person:
    id: int
    xref: str
    sex: str
    father: int
    mother: int
    clan: str
    subclan: str
    birth: int
    death: int
    name: str


@dataclass
class Conversion:
    people: list[Person] = field(default_factory=list)
    ids_from_xrefs: bool = False
    cut_words: list[str] = field(default_factory=list)
    dates_without_year: list[str] = field(default_factory=list)
    warnings: list[str] = field(default_factory=list)

    @property
    def parent_links(self) -> int:
        return len({(p, c.id) for c in self.people for p in (c.father, c.mother) if p and p != c.id})

    @property
    def unknown_sex(self) -> int:
        return sum(person.sex == "u" for person in self.people)

    @property
    def clans(self) -> int:
        return len({person.clan for person in self.people})


def one_line(text: str | None) -> str:
    """Text on one line: NFC (ANSEL gives decomposed letters), control characters and runs of
    blanks as one space."""
    text = unicodedata.normalize("NFC", text or "")
    return " ".join("".join(c if c.isprintable() else " " for c in text).split())


def clan_word(text: str | None) -> tuple[str, bool]:
    """The word the pedigree file can hold, and whether it had to be cut: blanks become `_`,
    at most WORD_BYTES bytes of UTF-8 cut at a character boundary, `-` when empty."""
    word = one_line(text).replace(" ", "_")
    encoded = word.encode("utf-8")
    cut = encoded[:WORD_BYTES].decode("utf-8", "ignore")
    return cut or "-", len(encoded) > WORD_BYTES


def attribute(record, tag: str) -> str | None:
    """An individual's attribute: the first sub-record with the tag, or the first FACT or EVEN
    whose TYPE is the tag (compared without case)."""
    for sub in record.sub_records:
        if sub.tag == tag or (sub.tag in ("FACT", "EVEN") and
                              one_line(sub.sub_tag_value("TYPE", follow=False)).lower() == tag.lower()):
            return sub.value if isinstance(sub.value, str) else ""
    return None


def birth_family(record) -> str | None:
    """The family in which the individual is a child: the one marked PEDI birth, else the first."""
    families = [f for f in record.sub_tags("FAMC", follow=False)
                if isinstance(f.value, str) and f.value != VOID]
    for family in families:
        if one_line(family.sub_tag_value("PEDI", follow=False)).lower() == "birth":
            return family.value
    return families[0].value if families else None


def choose_ids(xrefs: list[str | None]) -> list[int] | None:
    """The numbers inside the cross-references when they are distinct and fit, else None."""
    numbers = [int(m[1]) if x and (m := _XREF_NUMBER.fullmatch(x)) and len(m[1]) < 12 else 0
               for x in xrefs]
    if all(0 < n <= INT_MAX for n in numbers) and len(set(numbers)) == len(numbers):
        return numbers
    return None


def convert(gedcom: GedcomFile, clan_tag: str | None = None,
            subclan_tag: str | None = None) -> Conversion:
    result = Conversion()
    records = gedcom.individuals
    xrefs = [record.xref_id for record in records]
    ids = choose_ids(xrefs)
    result.ids_from_xrefs = ids is not None
    ids = ids or list(range(1, len(records) + 1))
    id_of = {}
    for xref, number in zip(xrefs, ids):
        id_of.setdefault(xref, number)  # a repeated cross-reference finds the first individual
    warned = set()

    def warn(message: str):
        if message not in warned:
            warned.add(message)
            result.warnings.append(message)

    def parent(family: str, role: str, xref: str | None) -> int:
        if xref is None:
            return 0
        if xref not in id_of:
            warn(f"{family}: the {role} {xref} is not an individual in the file")
        return id_of.get(xref, 0)

    for record, number in zip(records, ids):
        xref = record.xref_id or ""
        who = xref or f"individual {number}"
        name = Name([n for n in record.sub_tags("NAME", follow=False) if isinstance(n, NameRec)],
                    record.dialect)
        words = []
        for kind, tag, default in (("clan", clan_tag, name.surname), ("sub-clan", subclan_tag, "")):
            text = default if tag is None else attribute(record, tag)
            word, cut = clan_word(text)
            if cut:
                result.cut_words.append(f"{who}: the {kind} {one_line(text)!r} is cut to {word!r}")
            words.append(word)
        years = []
        for event in ("BIRT", "DEAT"):
            date = record.sub_tag(f"{event}/DATE", follow=False)
            text = date.value if date is not None and isinstance(date.value, str) else None
            value = year_of(text)
            if value is None:
                result.dates_without_year.append(
                    f"line {gedcom.line_of(date.offset)}: {who}: {event} {one_line(text)!r}")
            years.append(value or 0)
        father = mother = 0
        family = birth_family(record)
        if family is not None and family not in gedcom.families:
            warn(f"{who}: the family {family} it is a child of is not in the file")
        elif family is not None:
            husband, wife = gedcom.families[family]
            father, mother = parent(family, "husband", husband), parent(family, "wife", wife)
        sex = one_line(record.sub_tag_value("SEX", follow=False)).upper()
        result.people.append(Person(number, xref, {"M": "m", "F": "f"}.get(sex, "u"), father,
                                    mother, *words, *years, one_line(name.format())))
    return result
