"""kinship-from-gedcom: turns a GEDCOM file into a clan pedigree file and a names table."""

__version__ = "0.1.0"
