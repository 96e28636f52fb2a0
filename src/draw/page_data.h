#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/names_table.h"
#include "draw/stats_table.h"
#include "draw/svg_drawing.h"
#include "gml/kinship_attributes.h"

namespace kinship::draw {

// The drawing as the page's script draws it: one JSON object of packed arrays, every
// number in drawing units as the picture writes them (rounded to hundredths).
//
// Nodes are the people in the graph's node order, then the family nodes in that order;
// "people" says how many people there are. For each node "x", "y" give its centre and
// "look" its place in "looks", the distinct [shape, width, height, fill, line, line width]
// ("e" for an ellipse, "r" for a rectangle or any other shape). For each person
// "ids", "names" (empty when `names` has none), "templates" (the template, whose four words
// are clan, sub-clan, birth and death), and their label as the picture draws it (see
// lay_out_labels): "labels" its lines joined by a line feed, "sizes" the font size, "tops"
// the first line's top below the centre for a name, or null for an id in the middle.
// With `stats`, "generations" and "inbreeding" as kinship-stats wrote them ("" for a
// person it does not hold). "years" gives each family node's template (its marriage
// year, or empty).
//
// "lines" packs each edge in the graph's order as source, target, place in "strokes",
// number of bend points, then the bend points as steps from the point before (the first
// from the source's centre); "strokes" holds the distinct [colour, width, arrow at the
// source, arrow at the target, double] (`double_lines`, one flag per edge). "legend" is
// `decorations.legend` as [mark ("man", "woman", "swatch"), fill, line, text].
//
// The texts must already be clean (see text::xml_text); they are written as json_string does.
std::string page_data(const gml::KinshipAttributes& attributes, const Decorations& decorations,
                      const NamesTable& names, const StatsTable& stats,
                      const std::vector<bool>& double_lines);

// `text` (valid UTF-8) as a JSON string that can also stand inside an HTML <script>
// element: besides quotes, backslashes and control characters, "<", ">" and "&" are
// escaped, so that no "</script>" or "<!--" appears, and so are U+2028 and U+2029, which
// older script parsers take for line ends.
std::string json_string(std::string_view text);

} // namespace kinship::draw
