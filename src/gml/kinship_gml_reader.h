#pragma once

#include <string>
#include <string_view>

#include <ogdf/basic/Graph.h>

#include "common/result.h"
#include "gml/kinship_attributes.h"

namespace kinship::gml {

// Reads the GML file at `path` into `graph` and `attributes` (which must be attached to
// `graph`), or fails saying where and what went wrong ("PATH:12: ...").
//
// The whole text is parsed first (see parse_gml); only then is the graph emptied and
// rebuilt from the first top-level "graph" list. Every other top-level pair is ignored.
// Inside the graph list:
//   directed  integer: above 0 sets the directed flag, anything else clears it
//   node      list with an integer "id"; a repeated id updates the same node, with the
//             later entry's values (absent keys take their defaults again)
//   edge      list with integer "source" and "target" ids within the span from the
//             smallest to the largest node id; an id in the span that has no node yet
//             gets a new node
// Node keys: "template", "label" (strings), "family" (integer: above 0 marks a family
// node), and in "graphics": "x", "y", "w", "h",
// "lineWidth" (reals), "fill", "line", "type" (strings; "oval" gives an ellipse, anything
// else a rectangle), "stipple" (integer; 1..5 that line style, any other number none),
// "pattern" (integer 0..14). Edge keys in "graphics": "stipple", "lineWidth", "fill",
// "arrow" (string "none", "last", "first" or "both"; stored only when `attributes` has
// the edge arrow group, which the kinship selection leaves out; another text leaves the
// arrow undefined) and "Line", the route: a list of "point [ x .. y .. ]" entries (reals;
// a point without both is left out) that become the edge's bend points.
// A key whose value has another form than the one listed is ignored as if absent, so the
// quoted "pattern" of a styled kinship file leaves the default solid fill. Unknown keys
// are ignored. Defaults: 0.0 for x, y, w, h; empty texts; rectangle; line width 1.0;
// solid fill; solid line; no bend points.
//
// A "Line" holds the route the drawing file gives the edge, which starts and ends at the
// end nodes' centres; once the whole graph list is read, those centres are dropped by the
// rule in edge_route.h, so that the bend points the layout made are what is stored.
//
// Failures: the file cannot be read (a folder: "Is a directory"); the text is not
// well-formed (see parse_gml: inf and nan are refused there); a "lineWidth" beyond the
// float range, in which line widths are stored; there is no top-level
// "graph" list; a node entry without an integer id; an edge whose source or target is
// missing, not an integer or outside the span of node ids. Several faults are reported in
// that order, whatever their order in the file. The graph is emptied once the text has
// parsed and stays empty after a failure.
Status read_kinship_gml(const std::string& path, ogdf::Graph& graph,
                        KinshipAttributes& attributes);

// The same, reading from `text` instead of a file; `file` names it in failures.
Status read_kinship_gml_text(std::string_view text, std::string_view file, ogdf::Graph& graph,
                             KinshipAttributes& attributes);

} // namespace kinship::gml
