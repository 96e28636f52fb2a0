#!/usr/bin/env python3
"""Writes a synthetic clan pedigree for benchmarking.

  generate_pedigree.py genealogy N SEED   families branching over generations: most
                                          spouses marry in from outside with no recorded
                                          parents, children take the father's clan, and a
                                          few cousins marry each other
  generate_pedigree.py families N SEED    a genealogy as real exports hold it: families
                                          joined by marriages, spouses who
                                          married in without recorded parents, one in
                                          eight married people remarrying (children from
                                          both marriages), cousin marriages, a few
                                          marriages to a cousin's child (partners of
                                          different generations) and a few children with
                                          one recorded parent. Who marries into another
                                          family marries one of the 15 people listed
                                          before or after them in their generation
                                          (which lists people by family): that gives
                                          hierarchical-layout about as many crossings
                                          per person as the real exports measured
  generate_pedigree.py tangled N SEED     the same with 40 people before or after: more
                                          tangled than those real exports
  generate_pedigree.py dense N SEED       generations of 500 where each child's parents
                                          are drawn at random from the previous one:
                                          a stress case with many crossing links
  generate_pedigree.py villages N SEED    a deep population register: 30 generations of
                                          equal size in villages of 250; each child's
                                          parents are a random couple of the previous
                                          generation's same village, or 5% of the time
                                          of the next village
  generate_pedigree.py scattered N SEED   many small unconnected families, as a register
                                          of unrelated households holds them: a couple
                                          and up to four children, each of whom may marry
                                          someone from outside and have up to three
                                          children

  generate_pedigree.py SHAPE N SEED NAMES_FILE
                                          also writes a names table for kinship-draw
                                          --names: made-up Portuguese names, accents
                                          and particles included, a surname from the
                                          father

Ids are sparse and large, as in real registers (100000001 upwards, step 7)."""

import random
import sys

CLANS = ["arara", "onca", "tatu", "jabuti", "gaviao", "capivara"]
SUBCLANS = ["alto", "baixo", "meio"]
GIVEN = {"m": ["João", "José", "Antônio", "Sebastião", "Francisco", "Luís", "Raimundo",
               "Pedro", "Tomé", "Inácio", "Benedito", "Joaquim"],
         "f": ["Maria", "Ana", "Conceição", "Luzia", "Benedita", "Inês", "Raimunda",
               "Rosângela", "Júlia", "Irene", "Fátima", "Tereza"]}
SURNAMES = ["Araújo", "Conceição", "Gonçalves", "Brandão", "Guimarães", "Simões", "Assunção",
            "Silva", "Magalhães", "Nascimento", "Sousa", "Loureiro", "Estêvão", "Albuquerque"]


class Person:
    def __init__(self, pid, sex, father, mother, clan, subclan, born):
        self.pid, self.sex, self.father, self.mother = pid, sex, father, mother
        self.clan, self.subclan, self.born = clan, subclan, born
        self.died = born + 40 + (pid % 50) if born < 1960 else 0

    def line(self):
        return (f"{self.pid} {self.sex} {self.father} {self.mother} {self.clan} "
                f"{self.subclan} {self.born} {self.died}")


class Register(list):
    """People in the order they are made, with sparse large ids as in real registers."""

    def __init__(self, rng):
        super().__init__()
        self.rng = rng

    def add(self, sex, father, mother, clan, born):
        person = Person(100000001 + 7 * len(self), sex, father, mother, clan,
                        self.rng.choice(SUBCLANS), born)
        self.append(person)
        return person


def genealogy(count, rng):
    people = Register(rng)
    new_person = people.add

    generation = [new_person("m", 0, 0, rng.choice(CLANS), 1800 + rng.randrange(10))
                  for _ in range(max(2, count // 200))]
    grandparents_of = {}
    while len(people) < count:
        children = []
        # Where each grandparent's grandchildren stand in this generation, so that finding
        # someone's cousins does not go through the whole generation.
        grandchildren = {}
        for at, person in enumerate(generation):
            for grandparent in grandparents_of.get(person.pid, ()):
                grandchildren.setdefault(grandparent, []).append(at)
        for person in generation:
            if len(people) >= count:
                break
            if rng.random() < 0.15:
                continue  # never married
            # A few marry a cousin (shared grandparent) from this generation, taken in
            # generation order; most marry in from outside with no recorded parents.
            shared = {at for grandparent in grandparents_of.get(person.pid, ())
                      for at in grandchildren[grandparent]}
            cousins = [c for c in (generation[at] for at in sorted(shared))
                       if c is not person and c.sex != person.sex and c.father != person.father]
            if cousins and rng.random() < 0.05:
                spouse = rng.choice(cousins)
            else:
                spouse = new_person("f" if person.sex == "m" else "m", 0, 0,
                                    rng.choice(CLANS), person.born + rng.randrange(-5, 6))
            father, mother = (person, spouse) if person.sex == "m" else (spouse, person)
            for _ in range(rng.choice([1, 2, 2, 3, 3, 4])):
                if len(people) >= count:
                    break
                child = new_person(rng.choice("mf"), father.pid, mother.pid, father.clan,
                                   max(father.born, mother.born) + 20 + rng.randrange(15))
                grandparents_of[child.pid] = {father.father, father.mother, mother.father,
                                              mother.mother} - {0}
                children.append(child)
        generation = children or [new_person("m", 0, 0, rng.choice(CLANS), 1800)]
    return people[:count]


def families(count, rng, nearby_reach=15):
    """Generation by generation, each person marries with probability 0.8: a cousin (5%),
    a child of a cousin from the previous generation (2%), someone of a nearby family of
    the same generation (about a third; within `nearby_reach` places of the generation's
    list), or someone from outside. One
    in eight of the married has a second spouse from outside; every marriage has 0 to 4
    children, and one child in forty has only the mother recorded."""
    people = Register(rng)
    new_person = people.add

    def outsider(person):
        return new_person("f" if person.sex == "m" else "m", 0, 0, rng.choice(CLANS),
                          person.born + rng.randrange(-6, 7))

    grandparents = {}
    previous = []
    generation = [new_person(rng.choice("mf"), 0, 0, rng.choice(CLANS), 1700 + rng.randrange(10))
                  for _ in range(max(2, count // 150))]
    married = set()
    while len(people) < count:
        children = []
        by_grandparent = {}
        for at, person in enumerate(generation):
            for g in grandparents.get(person.pid, ()):
                by_grandparent.setdefault(g, []).append(at)
        for at, person in enumerate(generation):
            if len(people) >= count:
                break
            if person.pid in married or rng.random() < 0.2:
                continue
            spouses = []
            roll = rng.random()
            cousins = [generation[at] for g in grandparents.get(person.pid, ())
                       for at in by_grandparent[g]]
            cousins = [c for c in cousins if c.sex != person.sex and c.father != person.father
                       and c.pid not in married]
            aunts_uncles = grandparents.get(person.father, set())
            older = [p for p in previous if p.sex != person.sex and p.pid not in married
                     and grandparents.get(p.pid, set()) & aunts_uncles] \
                if 0.05 <= roll < 0.07 else []
            # Families marry into families nearby (the generation lists them by family).
            nearby = range(max(0, at - nearby_reach),
                           min(len(generation), at + nearby_reach + 1))
            others = [generation[rng.choice(nearby)] for _ in range(3)]
            others = [p for p in others if p.sex != person.sex and p.pid not in married
                      and p.father != person.father]
            if cousins and roll < 0.05:
                spouses.append(rng.choice(cousins))
            elif older:
                spouses.append(rng.choice(older))
            elif others and roll < 0.4:
                spouses.append(others[0])
            else:
                spouses.append(outsider(person))
            if rng.random() < 0.125:
                spouses.append(outsider(person))
            married.add(person.pid)
            for spouse in spouses:
                married.add(spouse.pid)
                father, mother = (person, spouse) if person.sex == "m" else (spouse, person)
                for _ in range(rng.choice([0, 1, 2, 2, 3, 3, 4])):
                    if len(people) >= count:
                        break
                    alone = rng.random() < 0.025
                    child = new_person(rng.choice("mf"), 0 if alone else father.pid, mother.pid,
                                       father.clan, max(father.born, mother.born) + 20
                                       + rng.randrange(15))
                    grandparents[child.pid] = {father.father, father.mother, mother.father,
                                               mother.mother} - {0}
                    children.append(child)
        previous = generation
        generation = children or [new_person("m", 0, 0, rng.choice(CLANS), 1800)]
    return people[:count]


def dense(count, rng, generation_size=500):
    """Generations of equal size; each child's father and mother are drawn at random
    from the whole previous generation, so anyone may have children with anyone."""
    people = []
    previous = []
    while len(people) < count:
        generation = []
        for _ in range(min(generation_size, count - len(people))):
            pid = 100000001 + 7 * len(people)
            father = rng.choice(previous).pid if previous else 0
            mother = rng.choice(previous).pid if previous else 0
            person = Person(pid, rng.choice("mf"), father, mother, rng.choice(CLANS),
                            rng.choice(SUBCLANS), 1800 + 25 * (len(people) // generation_size))
            people.append(person)
            generation.append(person)
        previous = generation
    return people


def villages(count, rng, generations=30, village_size=250, moving=0.05):
    """Every generation pairs its men and women at random within each village; a child
    takes a random couple of its own village, now and then of the next one, and the
    father's clan. Clans are patrilineal; one founder in twenty has none recorded ("-")."""
    size = max(1, count // generations)
    villages_per_generation = max(1, size // village_size)
    people, couples = [], []
    for generation in range(generations):
        born = 1300 + 25 * generation
        in_village = [[] for _ in range(villages_per_generation)]
        for k in range(size if generation < generations - 1 else count - len(people)):
            village = min(k // village_size, villages_per_generation - 1)
            pid = 100000001 + 7 * len(people)
            if couples:
                source = (village + 1) % villages_per_generation if rng.random() < moving \
                    else village
                father, mother = rng.choice(couples[source])
                clan, subclan = father.clan, father.subclan
            else:
                father = mother = None
                clan = "-" if rng.random() < 0.05 else rng.choice(CLANS)
                subclan = rng.choice(SUBCLANS)
            person = Person(pid, rng.choice("mf"), father.pid if father else 0,
                            mother.pid if mother else 0, clan, subclan, born)
            people.append(person)
            in_village[village].append(person)
        couples = []
        for village in in_village:
            men = [p for p in village if p.sex == "m"]
            women = [p for p in village if p.sex == "f"]
            rng.shuffle(women)
            couples.append(list(zip(men, women)) or [(village[0], village[-1])])
    return people


def scattered(count, rng):
    """Households of a couple and 0-4 children; a child marries in one of two households
    and has 0-3 children of their own with a spouse of no recorded parents."""
    people = Register(rng)
    while len(people) < count:
        clan = rng.choice(CLANS)
        father = people.add("m", 0, 0, clan, 1900)
        mother = people.add("f", 0, 0, rng.choice(CLANS), 1902)
        for _ in range(rng.randint(0, 4)):
            child = people.add(rng.choice("mf"), father.pid, mother.pid, clan, 1925)
            if rng.random() < 0.5:
                spouse = people.add("f" if child.sex == "m" else "m", 0, 0, rng.choice(CLANS), 1925)
                dad, mum = (child, spouse) if child.sex == "m" else (spouse, child)
                for _ in range(rng.randint(0, 3)):
                    people.add(rng.choice("mf"), dad.pid, mum.pid, dad.clan, 1950)
    return people[:count]


def names_table(people, rng):
    """id<TAB>cross-reference<TAB>name rows: one or two given names, then maybe a mother's
    surname with its particle, then the father's surname (a random one without a father)."""
    surname = {}
    rows = ["id\txref\tname\n"]
    for p in people:
        surname[p.pid] = surname.get(p.father) or rng.choice(SURNAMES)
        given = rng.sample(GIVEN[p.sex], rng.choice([1, 1, 2]))
        middle = ([rng.choice(["da", "dos", "de"]), rng.choice(SURNAMES)]
                  if rng.random() < 0.4 else [])
        rows.append(f"{p.pid}\t@I{p.pid}@\t{' '.join(given + middle + [surname[p.pid]])}\n")
    return "".join(rows)


def main():
    shape, count, seed = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    rng = random.Random(seed)
    people = {"genealogy": genealogy, "families": families,
              "tangled": lambda n, r: families(n, r, nearby_reach=40), "dense": dense,
              "villages": villages, "scattered": scattered}[shape](count, rng)
    sys.stdout.write(f"{len(people)}\n")
    sys.stdout.write("".join(p.line() + "\n" for p in people))
    if len(sys.argv) > 4:
        with open(sys.argv[4], "w", encoding="utf-8") as out:
            out.write(names_table(people, random.Random(seed + 1)))


if __name__ == "__main__":
    main()
