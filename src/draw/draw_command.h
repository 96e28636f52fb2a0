#pragma once

#include <iosfwd>

#include "common/result.h"
#include "draw/draw_options.h"

namespace kinship::draw {

// Reads the drawing file, and the names table when one is given, draws the picture the
// options ask for and writes it to the output file, replacing any file there in one step:
// the SVG picture, or the page that paints the same drawing (see page_data and
// page_document).
// Says what it wrote on `out`: the individuals and links, and with a names table how many
// individuals it named and how many of its rows name nobody in the drawing; for a page,
// how to open it.
//
// With a stats folder and a drawing with family nodes, it also reads couples.tsv there:
// the couples whose lines are drawn double (see double_lines).
//
// Fails with status 1 and a message that starts with the file's name when the drawing
// file cannot be read, is not well-formed GML, is not a graph this reader takes, or has
// no node positions (the first GML file of a run, say), when the names table cannot be
// read or has a malformed row, and when the output cannot be written; no output is
// written or changed then.
Status draw_file(const DrawOptions& options, std::ostream& out);

} // namespace kinship::draw
