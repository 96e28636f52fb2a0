"""kinship-from-gedcom GEDCOM_FILE [PEDIGREE_FILE]: the command line, its summary and its
messages."""

import argparse
import importlib.metadata
import os
import shlex
import sys
from pathlib import Path

from kinship_from_gedcom import __version__
from kinship_from_gedcom.conversion import WORD_BYTES, Conversion, convert
from kinship_from_gedcom.gedcom_file import ImportFailure, read_gedcom
from kinship_from_gedcom.output import marriages_text, names_text, pedigree_text, write_all

WARNINGS_SHOWN = 10


def version() -> str:
    try:
        return importlib.metadata.version("kinship-network")
    except importlib.metadata.PackageNotFoundError:
        return __version__


def arguments(argv):
    parser = argparse.ArgumentParser(
        prog="kinship-from-gedcom",
        description="Turns a GEDCOM file into a clan pedigree file for hierarchical-layout "
                    "a names table (PEDIGREE_FILE.names.tsv) and a marriages table "
                    "(PEDIGREE_FILE.marriages.tsv).")
    parser.add_argument("gedcom", metavar="GEDCOM_FILE")
    parser.add_argument("pedigree", metavar="PEDIGREE_FILE", nargs="?",
                        help="default: the GEDCOM file's name with the extension .txt")
    parser.add_argument("--clan", metavar="TAG",
                        help="take the clan from this attribute (a tag such as _CLAN, or the "
                             "TYPE of a FACT or EVEN) instead of the surname")
    parser.add_argument("--subclan", metavar="TAG",
                        help="take the sub-clan from this attribute instead of '-'")
    parser.add_argument("-v", "--verbose", action="store_true",
                        help="list every warning, every clan word that was cut and every "
                             "date that names no year")
    parser.add_argument("--version", action="version", version=f"%(prog)s {version()}")
    args = parser.parse_args(argv)
    source = Path(args.gedcom)
    if source.name in ("", ".."):
        parser.error(f"GEDCOM_FILE {args.gedcom!r} is a folder")
    args.pedigree = Path(args.pedigree) if args.pedigree else source.with_suffix(".txt")
    if args.pedigree.name == "" or args.pedigree.is_dir():
        parser.error(f"PEDIGREE_FILE {args.pedigree} is a folder")
    if source.exists() and args.pedigree.exists() and source.samefile(args.pedigree):
        parser.error("PEDIGREE_FILE is the GEDCOM file itself")
    return args


def summary(args, encoding: str, result: Conversion, names: Path, marriages: Path) -> str:
    ids = ("the numbers of the cross-references" if result.ids_from_xrefs else
           "running numbers (the cross-references are not distinct numbers)")
    source = f"the attribute {args.clan}" if args.clan else "the surnames"
    folder, name = args.pedigree.parent, args.pedigree.name
    go = "" if str(folder) == "." else f"cd {shlex.quote(str(folder))} && "
    drawing = Path(name).with_suffix(".gml").name if Path(name).suffix != ".gml" else name + ".gml"
    next_command = " ".join(shlex.quote(word) for word in (
        "kinship-layout", name, drawing, "--marriages", marriages.name, "--names", names.name))
    return (f"Converted {args.gedcom} ({encoding}) into {args.pedigree}, {names} and "
            f"{marriages}:\n"
            f"  individuals: {len(result.people)}, ids: {ids}\n"
            f"  parent links: {result.parent_links}\n"
            f"  marriages: {len(result.marriages)}, without a child in the file: "
            f"{result.childless_marriages}\n"
            f"  individuals without a recorded sex: {result.unknown_sex}\n"
            f"  clans: {result.clans} (from {source}); no clan recorded: {result.no_clan}\n"
            f"  words cut to {WORD_BYTES} bytes: {len(result.cut_words)}\n"
            f"  dates with text but no year (given 0): {len(result.dates_without_year)}\n"
            f"  warnings: {len(result.warnings)}\n"
            f"Next: {go}{next_command}")


def main(argv=None) -> int:
    try:
        return convert_and_report(argv)
    except BrokenPipeError:
        # Whoever read standard output stopped early (`| head`): both files are written,
        # and the rest of the summary has nowhere to go. Python would otherwise report the
        # pipe again while flushing at exit.
        os.dup2(os.open(os.devnull, os.O_WRONLY), sys.stdout.fileno())
        return 0


def convert_and_report(argv) -> int:
    args = arguments(argv)
    names = args.pedigree.with_name(args.pedigree.name + ".names.tsv")
    marriages = args.pedigree.with_name(args.pedigree.name + ".marriages.tsv")
    try:
        gedcom = read_gedcom(args.gedcom)
        result = convert(gedcom, args.clan, args.subclan)
        write_all([(args.pedigree, pedigree_text(result.people)),
                   (names, names_text(result.people)),
                   (marriages, marriages_text(result.marriages))])
    except ImportFailure as failure:
        print(failure, file=sys.stderr)
        return 1
    except Exception as error:  # whatever the input holds, a message and not a traceback
        print(f"{args.gedcom}: cannot convert the file: {type(error).__name__}: {error}",
              file=sys.stderr)
        return 1
    shown = result.warnings if args.verbose else result.warnings[:WARNINGS_SHOWN]
    for warning in shown:
        print(f"warning: {warning}", file=sys.stderr)
    if len(shown) < len(result.warnings):
        print(f"warning: {len(result.warnings) - len(shown)} more; --verbose lists them all",
              file=sys.stderr)
    print(summary(args, gedcom.encoding, result, names, marriages))
    if args.verbose:
        for cut in result.cut_words:
            print(f"  cut: {cut}")
        for date in result.dates_without_year:
            print(f"  no year: {date}")
    return 0
