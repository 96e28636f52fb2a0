#!/usr/bin/env python3
"""Writes a synthetic GEDCOM 5.5.1 file for benchmarking the importer.

  generate_gedcom.py N SEED FILE [--ansel]

N individuals in families over generations, each with a name (accented letters), sex,
birth and death events with dates in the forms real exports use, a place, a note and a
source citation, so that the file is about as large per person as a genealogy program's
export (some 25 lines). With --ansel the file is in ANSEL (accents as combining bytes
before the letter) instead of UTF-8."""

import random
import sys

GIVEN = ["João", "Maria", "José", "Ana", "António", "Conceição", "Luís", "Inês", "Tomé",
         "Zoë", "Rui", "Graça"]
SURNAMES = ["Araújo", "Gonçalves", "Müller", "da Conceição", "Silva", "Sá", "Costa",
            "Fernandes", "Brandão", "Simões", "Leitão", "Pereira"]
MONTHS = "JAN FEB MAR APR MAY JUN JUL AUG SEP OCT NOV DEC".split()
# The accented letters above as ANSEL: the combining mark first, then the base letter.
ANSEL = {"ú": b"\xe2u", "ç": b"\xf0c", "ü": b"\xe8u", "ã": b"\xe4a", "é": b"\xe2e",
         "ó": b"\xe2o", "í": b"\xe2i", "ë": b"\xe8e", "á": b"\xe2a", "õ": b"\xe4o",
         "ê": b"\xe3e", "ô": b"\xe3o", "É": b"\xe2E"}


def date(rng, year):
    form = rng.randrange(10)
    if form < 5:
        return f"{rng.randrange(1, 29)} {MONTHS[rng.randrange(12)]} {year}"
    return [f"ABT {year}", f"BET {year} AND {year + 2}", f"{year}", f"EST {year}",
            f"@#DJULIAN@ 1 JAN {year}"][form - 5]


def individual(rng, xref, sex, surname, born, famc, fams):
    lines = [f"0 @I{xref}@ INDI", f"1 NAME {rng.choice(GIVEN)} /{surname}/",
             f"2 GIVN {rng.choice(GIVEN)}", f"2 SURN {surname}", f"1 SEX {sex}",
             "1 BIRT", f"2 DATE {date(rng, born)}", "2 PLAC Braga, Minho, Portugal"]
    if born < 1950:
        lines += ["1 DEAT", f"2 DATE {date(rng, born + rng.randrange(20, 90))}",
                  "2 PLAC Guimarães, Minho, Portugal"]
    lines += [f"1 FAMC @F{famc}@"] if famc else []
    lines += [f"1 FAMS @F{f}@" for f in fams]
    lines += ["1 NOTE Recorded from the parish register; the spelling of the names is",
              "2 CONC  that of the register.", "1 SOUR @S1@", "2 PAGE folio 12",
              "1 CHAN", "2 DATE 3 MAR 2020", "3 TIME 12:00:00"]
    return lines


def generate(count, rng):
    people, families = [], []  # (sex, surname, born, famc, fams), (husband, wife, children)
    generation = []
    for _ in range(max(2, count // 100)):
        people.append(["M", rng.choice(SURNAMES), 1700 + rng.randrange(20), 0, []])
        generation.append(len(people))
    while len(people) < count:
        children = []
        for husband in generation:
            if len(people) >= count:
                break
            people.append(["F", rng.choice(SURNAMES), people[husband - 1][2] + rng.randrange(-5, 5),
                           0, []])
            wife = len(people)
            families.append([husband, wife, []])
            family = len(families)
            people[husband - 1][4].append(family)
            people[wife - 1][4].append(family)
            for _ in range(rng.randrange(1, 5)):
                if len(people) >= count:
                    break
                people.append([rng.choice("MF"), people[husband - 1][1],
                               people[husband - 1][2] + 20 + rng.randrange(15), family, []])
                families[-1][2].append(len(people))
                if people[-1][0] == "M":
                    children.append(len(people))
        generation = children or generation
    lines = ["0 HEAD", "1 SOUR bench", "1 GEDC", "2 VERS 5.5.1", "2 FORM LINEAGE-LINKED",
             "1 CHAR UTF-8"]
    for xref, (sex, surname, born, famc, fams) in enumerate(people, 1):
        lines += individual(rng, xref, sex, surname, born, famc, fams)
    for xref, (husband, wife, children) in enumerate(families, 1):
        lines += [f"0 @F{xref}@ FAM", f"1 HUSB @I{husband}@", f"1 WIFE @I{wife}@"]
        lines += [f"1 CHIL @I{child}@" for child in children]
    lines += ["0 @S1@ SOUR", "1 TITL Parish register", "0 TRLR"]
    return "\n".join(lines) + "\n"


def main():
    count, seed, path = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    text = generate(count, random.Random(seed))
    if "--ansel" in sys.argv[4:]:
        data = text.replace("1 CHAR UTF-8", "1 CHAR ANSEL").encode("utf-8")
        for letter, ansel in ANSEL.items():
            data = data.replace(letter.encode("utf-8"), ansel)
    else:
        data = text.encode("utf-8")
    with open(path, "wb") as file:
        file.write(data)


if __name__ == "__main__":
    main()
