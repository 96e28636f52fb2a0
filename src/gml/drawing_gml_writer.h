#pragma once

#include <optional>
#include <string>

#include "gml/kinship_attributes.h"

namespace kinship::gml {

// The drawing file's text for `attributes` and its graph.
//
// Nodes are numbered from 0 in graph order and referred to by these numbers; the
// original ids survive only in the labels. Every node block gives the template and label
// (long-string form), position, size, the colour texts as stored, the fill pattern (as a
// quoted number), line style, line width and shape; every edge block the arrow ("last"
// when the graph is directed, else "none"), line style, line width, the route when the
// edge has bend points, and the colour when it is not empty. The route starts at the
// source centre and ends at the target centre, except where the first or last bend point
// already lies in (or on) that node's box. Reals use the "%#.10g" form. Lines are
// indented by two blanks per level and end with a line feed.
std::string format_drawing_gml(const KinshipAttributes& attributes);

// Writes format_drawing_gml(attributes) to `path`, replacing any file there in one step
// (a failed write leaves an existing file as it was). Returns a message on failure.
std::optional<std::string> write_drawing_gml(const KinshipAttributes& attributes,
                                             const std::string& path);

} // namespace kinship::gml
