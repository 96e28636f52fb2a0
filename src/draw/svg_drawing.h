#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/result.h"
#include "draw/label_layout.h"
#include "draw/legend.h"
#include "gml/kinship_attributes.h"

namespace kinship::draw {

// Draws the network in `attributes` as an SVG document titled `title`, or says why the
// picture could not be made.
//
// The library's SVG renderer draws the picture: every node with its shape, size, fill and
// line colour, line style and width, and its label in the middle; every edge as straight
// segments through its bend points with the arrow heads the attributes ask for (by the
// edge arrow group when it is there, else by the directed flag), clipped at the end
// nodes; the view box is the drawing's bounding box plus a margin.
//
// A family node is drawn as its small shape alone, without its label, and its tooltip
// names the couple, and their marriage year when its template holds one. To that picture this adds what the renderer leaves out: a document <title>; a <title>
// in each node's group that hovering shows (the label, then clan, sub-clan, birth and
// death from the template); and a <title> in each edge's group naming its two ends. The
// labels and templates, and `title`, must already be text an XML document takes (see
// text::xml_text): the renderer copies them as they are.
//
// `labels` (one per node, from lay_out_labels), when given, replace the library's labels:
// a name is written under its shape, in black on a white halo that keeps it readable
// over the links, and heads the tooltip, the id following it; an id keeps its place and
// is only changed when it had to shrink or be cut. The view box grows to hold the names.
// A `legend`, when given, is drawn below everything else (see add_legend). A line of
// `double_lines` is drawn as two thin parallel lines: its stroke three times as wide, with
// a white line of its width down the middle.
struct Decorations {
    std::vector<NodeLabel> labels;
    // When given, one per node: lines added to the end of its tooltip.
    std::vector<std::string> tooltip_ends;
    std::vector<LegendEntry> legend;
    // When given, one per edge: the lines drawn double (see double_lines).
    std::vector<bool> double_lines;
};
Result<std::string> draw_svg(const gml::KinshipAttributes& attributes, std::string_view title,
                             const Decorations& decorations = {});

// The tooltip of an individual: its label, then, when the template has four words, one
// line each for clan, sub-clan (`none recorded` for `-`, each `_` shown as a blank), birth
// and death; other templates follow the label as they are.
std::string node_tooltip(std::string_view label, std::string_view templ);

} // namespace kinship::draw
