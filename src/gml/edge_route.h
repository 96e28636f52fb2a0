#pragma once

// The one rule between an edge's bend points and the route a drawing file gives it, used
// by the writer and the reader alike so that the two cannot drift apart.
//
// Writing, the route is the bend points with the source node's centre put before them and
// the target node's centre after them: these are where the edge is attached. A centre is
// left out when the end bend already lies in (or on) that node's box, since the edge then
// reaches the node without it, except when that bend is the centre itself as written:
// the reader would take it for the attachment point and drop it.
// Reading, a first route point exactly equal to the source's centre and then a last one
// exactly equal to the target's centre are dropped, once all node entries are read.
// Writing a read route gives the same text, and reading a written one the same bends.

#include "gml/kinship_attributes.h"

namespace kinship::gml {

struct RouteCentres {
    bool source = false; // the route starts with the source node's centre
    bool target = false; // the route ends with the target node's centre
};

// Which centres the drawing file's route of `e` (which has bend points) holds.
RouteCentres centres_to_write(const KinshipAttributes& attributes, ogdf::edge e);

// Turns the route read for `e`, stored as its bend points, into the bend points.
void drop_read_centres(KinshipAttributes& attributes, ogdf::edge e);

} // namespace kinship::gml
