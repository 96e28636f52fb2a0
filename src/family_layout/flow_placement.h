#pragma once

// Where things stand along their layers, found exactly: the positions that keep each
// layer's order and gaps and cost least, where a family costs `family_weight` for each
// unit its point or the middle between its partners lies outside its children's span,
// and every line costs one for each unit it runs sideways. Minimising that is a linear
// program whose constraints all bound the difference of two positions; its dual is a
// minimum-cost flow, solved by OGDF's network simplex, whose node potentials are the
// positions.

#include "family_layout/row_placement.h"

#include <cstddef>

namespace kinship::family {

// What a family's unit of distance outside its children's span costs, against one for a
// unit of a line running sideways: high enough that no straighter line is worth a family
// off its children.
inline constexpr int family_weight = 100;

// The network's nodes for `placed`: an item per item, one per link, two per family.
std::size_t flow_nodes(const PlacedLayers& placed);

// Moves the items of `placed` to the least-cost positions. Boxes keep `box_gap` between
// them, a passing line `line_gap` from anything; a family is over its children where its
// point and middle lie within the children's span widened by `tolerance`. Positions come
// out in eighths of a unit. Returns false, leaving `placed` as it was, if the solver
// fails.
bool place_by_flow(PlacedLayers& placed, double box_gap, double line_gap, double tolerance);

} // namespace kinship::family
