#pragma once

#include <string>

#include "common/result.h"
#include "gml/kinship_attributes.h"

namespace kinship::gml {

// The drawing file's text for `attributes` and its graph.
//
// Nodes are numbered from 0 in graph order and referred to by these numbers; the
// original ids survive only in the labels. Every node block gives the template and label
// (then `family 1` for a family node), position, size, the colour texts as stored, the
// fill pattern (as a quoted number), line style, line width and shape; every edge block
// the arrow ("last" when the graph is directed and the edge does not end at a family
// node, else "none"), line style, line width, the route when the edge has bend points
// (see edge_route.h), and the colour when it is not empty. Strings, colours included, are
// written by append_string (escaped, so that any text reads back), reals by append_real.
// Lines are indented by two blanks per level and end with a line feed.
std::string format_drawing_gml(const KinshipAttributes& attributes);

// Writes format_drawing_gml(attributes) to `path`, replacing any file there in one step
// (a failed write leaves an existing file as it was). Fails with a message,
// also when a real is inf, nan or larger than largest_real: nothing is written then.
Status write_drawing_gml(const KinshipAttributes& attributes, const std::string& path);

} // namespace kinship::gml
