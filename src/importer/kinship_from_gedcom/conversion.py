"""GEDCOM individuals as clan pedigree records: ids, sex, parents, clan words and years."""

import itertools
import re
import unicodedata
from dataclasses import dataclass, field

from fastgedcom.base import TrueLine

from kinship_from_gedcom.dates import year_of
from kinship_from_gedcom.gedcom_file import VOID, GedcomFile, pointer

INT_MAX = 2**31 - 1
WORD_BYTES = 9  # the pedigree reader's limit for a clan or sub-clan word
NO_CLAN = "-"  # the word for a clan or sub-clan that is not recorded
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
class Marriage:
    husband: int
    wife: int
    year: int
    xref: str


@dataclass
class Conversion:
    people: list[Person] = field(default_factory=list)
    marriages: list[Marriage] = field(default_factory=list)
    ids_from_xrefs: bool = False
    cut_words: list[str] = field(default_factory=list)
    dates_without_year: list[str] = field(default_factory=list)
    warnings: list[str] = field(default_factory=list)

    @property
    def parent_links(self) -> int:
        return len({(p, c.id) for c in self.people for p in (c.father, c.mother) if p and p != c.id})

    @property
    def childless_marriages(self) -> int:
        """Marriages whose two partners are the parents of no one in the file."""
        couples = {frozenset((p.father, p.mother)) for p in self.people if p.father and p.mother}
        return sum(frozenset((m.husband, m.wife)) not in couples for m in self.marriages)

    @property
    def unknown_sex(self) -> int:
        return sum(person.sex == "u" for person in self.people)

    @property
    def clans(self) -> int:
        return len({person.clan for person in self.people} - {NO_CLAN})

    @property
    def no_clan(self) -> int:
        return sum(person.clan == NO_CLAN for person in self.people)


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
    return cut or NO_CLAN, len(encoded) > WORD_BYTES


def name_and_surname(record: TrueLine) -> tuple[str, str]:
    """The primary NAME as a person writes it (the slashes around the surname removed, `@@`
    read as `@`) and its surname: the part between slashes, else the SURN under it."""
    line = record.get_sub_line("NAME")
    given, slash, rest = line.payload_with_cont.replace("@@", "@").partition("/") if line else ("", "", "")
    surname, _, suffix = rest.partition("/")
    if not slash and line:
        surname = line.get_sub_line_payload("SURN")
    return one_line(" ".join((given, surname if slash else "", suffix))), surname


def attribute(record: TrueLine, tag: str) -> str | None:
    """An individual's attribute: the first sub-record with the tag, or the first FACT or EVEN
    whose TYPE is the tag (compared without case)."""
    for sub in record.sub_lines:
        if sub.tag == tag or (sub.tag in ("FACT", "EVEN") and
                              one_line(sub.get_sub_line_payload("TYPE")).lower() == tag.lower()):
            return sub.payload_with_cont
    return None


def birth_family(record: TrueLine) -> str | None:
    """The family in which the individual is a child: the one marked PEDI birth, else the first."""
    families = [f for f in record.get_sub_lines("FAMC") if f.payload.strip() not in ("", VOID)]
    for family in families:
        if one_line(family.get_sub_line_payload("PEDI")).lower() == "birth":
            return family.payload.strip()
    return families[0].payload.strip() if families else None


def choose_ids(xrefs: list[str]) -> tuple[list[int], bool]:
    """Ids, and whether they come from the cross-references: the numbers inside these when
    they are distinct and fit, an individual without a cross-reference getting the smallest
    number no other has; else running numbers from 1."""
    numbers = [None if not x else int(m[1]) if (m := _XREF_NUMBER.fullmatch(x)) and len(m[1]) < 12
               else 0 for x in xrefs]
    given = [n for n in numbers if n is not None]
    if not given or not all(0 < n <= INT_MAX for n in given) or len(set(given)) != len(given):
        return list(range(1, len(xrefs) + 1)), False
    taken = set(given)
    free = (n for n in itertools.count(1) if n not in taken)
    return [next(free) if n is None else n for n in numbers], True


def convert(gedcom: GedcomFile, clan_tag: str | None = None,
            subclan_tag: str | None = None) -> Conversion:
    result = Conversion()
    xrefs = [xref for xref, _ in gedcom.individuals]
    ids, result.ids_from_xrefs = choose_ids(xrefs)
    id_of = {}
    for xref, number in zip(xrefs, ids):
        if xref:
            id_of.setdefault(xref, number)  # a repeated cross-reference finds the first individual
    warned = set()
    # A child that a family lists (CHIL) but that names no family of its own (FAMC) is
    # still that family's child: the first family that lists it.
    listed_in = {}
    for xref, record in gedcom.family_records:
        for child in record.get_sub_lines("CHIL"):
            if xref and child.payload.strip() not in ("", VOID):
                listed_in.setdefault(child.payload.strip(), xref)

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

    for (xref, record), number in zip(gedcom.individuals, ids):
        who = xref or f"individual {number} (line {gedcom.line_of(record)})"
        name, surname = name_and_surname(record)
        words = []
        for kind, tag, default in (("clan", clan_tag, surname), ("sub-clan", subclan_tag, "")):
            text = default if tag is None else attribute(record, tag)
            word, cut = clan_word(text)
            if cut:
                result.cut_words.append(f"{who}: the {kind} {one_line(text)!r} is cut to {word!r}")
            words.append(word)
        years = []
        for event in ("BIRT", "DEAT"):
            date = record.get_sub_line(event).get_sub_line("DATE")
            value = year_of(date.payload_with_cont if date else None)
            if value is None:
                result.dates_without_year.append(
                    f"line {gedcom.line_of(date)}: {who}: {event} {one_line(date.payload)!r}")
            years.append(value or 0)
        father = mother = 0
        family = birth_family(record) or listed_in.get(xref)
        if family is not None and family not in gedcom.families:
            warn(f"{who}: the family {family} it is a child of is not in the file")
        elif family is not None:
            husband, wife = gedcom.families[family]
            father, mother = parent(family, "husband", husband), parent(family, "wife", wife)
        sex = one_line(record.get_sub_line_payload("SEX")).upper()
        result.people.append(Person(number, xref, {"M": "m", "F": "f"}.get(sex, "u"), father,
                                    mother, *words, *years, name))
    for xref, record in gedcom.family_records:
        family = xref or f"the family on line {gedcom.line_of(record)}"
        husband, wife = (parent(family, role, pointer(record, tag))
                         for role, tag in (("husband", "HUSB"), ("wife", "WIFE")))
        if not husband or not wife:
            continue
        if husband == wife:
            warn(f"{family}: the husband and the wife are the same individual")
            continue
        date = record.get_sub_line("MARR").get_sub_line("DATE")
        year = year_of(date.payload_with_cont if date else None)
        if year is None:
            result.dates_without_year.append(
                f"line {gedcom.line_of(date)}: {family}: MARR {one_line(date.payload)!r}")
        result.marriages.append(Marriage(husband, wife, year or 0, xref))
    return result

