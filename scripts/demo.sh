#!/usr/bin/env bash
# Runs the command on the bundled example pedigree: scripts/demo.sh BUILD_DIR OUT_DIR
# The output files are named after the argument, so the example is copied into OUT_DIR
# and the command runs there; then kinship-draw draws the drawing file as an SVG picture.
# The example GEDCOM file goes the same way after kinship-from-gedcom has converted it,
# and its picture shows the names and colours people by clan; then the part of it that
# joins two people is cut out with kinship-select and drawn, and kinship-stats measures it.
# The example's picture is also written as the interactive page familia.html. Both examples
# are also laid out as families by kinship-layout and drawn (the *-families files), the
# named one with room for each name and with kinship-stats' tables.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/release}
out=${2:-$root/build/demo}

mkdir -p "$out"
cp "$root/examples/aldeia.txt" "$root/examples/aldeia.txt.marriages.tsv" "$out/"
cd "$out"
"$build/src/command/hierarchical-layout" aldeia.txt
"$build/src/draw/kinship-draw" whl-gml-aldeia.txt
# The same pedigree laid out as families: partners side by side, children under them, with
# its hand-written marriages table (a childless marriage of cousins, then a remarriage).
"$build/src/family_layout/kinship-layout" aldeia.txt aldeia-families.gml \
  --marriages aldeia.txt.marriages.tsv
"$build/src/draw/kinship-draw" aldeia-families.gml aldeia-families.svg
cp "$root/examples/familia.ged" "$out/familia.ged"
"$build/bin/kinship-from-gedcom" familia.ged --clan _CLAN --subclan Metade
"$build/src/command/hierarchical-layout" familia.txt
"$build/src/draw/kinship-draw" whl-gml-familia.txt whl-gml-familia.txt.svg \
  --names familia.txt.names.tsv --colour-by clan
"$build/src/draw/kinship-draw" whl-gml-familia.txt familia.html \
  --names familia.txt.names.tsv --colour-by clan
"$build/src/family_layout/kinship-layout" familia.txt familia-families.gml \
  --names familia.txt.names.tsv --marriages familia.txt.marriages.tsv
# With kinship-stats' tables the cousins' marriage gets its double relationship line.
"$build/src/stats/kinship-stats" familia.txt stats --names familia.txt.names.tsv \
  --marriages familia.txt.marriages.tsv
"$build/src/draw/kinship-draw" familia-families.gml familia-families.svg \
  --names familia.txt.names.tsv --colour-by clan --stats stats
"$build/src/draw/kinship-draw" familia-families.gml familia-families.html \
  --names familia.txt.names.tsv --colour-by clan --stats stats
# How two people of the example are related, cut out by kinship-select and drawn alone.
"$build/src/select/kinship-select" familia.txt irene-angela.txt --path 19 31 --with-partners \
  --names familia.txt.names.tsv --marriages familia.txt.marriages.tsv
"$build/src/command/hierarchical-layout" irene-angela.txt
"$build/src/draw/kinship-draw" whl-gml-irene-angela.txt --names irene-angela.txt.names.tsv \
  --colour-by clan
echo "demo: the files are in $out; open $out/familia.html in a web browser"
