#pragma once

// Where things stand along their layers, found exactly: the positions that keep each
// layer's order and gaps and cost least, where a family costs its weight for each unit its
// point or the middle between its partners lies outside its children's span, and every
// line costs one for each unit it runs sideways; between positions that cost alike, a
// family's point stands over the middle of its children. Minimising that is a linear
// program whose constraints all bound the difference of two positions; its dual is a
// minimum-cost circulation, solved by OGDF's network simplex, whose node potentials are
// the positions.

#include "family_layout/row_placement.h"

#include <cstddef>
#include <vector>

namespace kinship::family {

// What a family's unit of distance outside its children's span costs at most, against one
// for a unit of a line running sideways: high enough that no straighter line is worth a
// family off its children.
inline constexpr int family_weight = 100;

// What a unit of a line's sideways run costs, against one for a unit of a family's point
// off its middle child, and against `line_weight` times a family's weight for a unit of
// the family off its children.
inline constexpr int line_weight = 4;

// Places come out in eighths of a unit.
inline constexpr double place_scale = 8.0;

// A family is aimed this far inside its children's span, so that where it stands on the
// edge, rounding in what reads the drawing cannot put it outside.
inline constexpr double span_margin = 1.0;

// A couple's weight by how far off its children (in units) the places before left it:
// family_weight over them, half as much at `halved_at` units off, at least 1. What counts is
// how many couples stand over their children, so one far off gives way to several near.
int weight_off_children(double distance, double halved_at = 200);

// Each family's distance outside its children's span widened by `tolerance` (of its point
// or its middle, whichever is farther out), by family number; 0 for a number that no
// link has.
std::vector<double> distances_off_children(const PlacedLayers& placed, double tolerance);

// The network's arcs for `placed`: one per gap along a layer, two per link and two per
// family (its nodes are the items).
std::size_t flow_arcs(const PlacedLayers& placed);

// Moves the items of `placed` to the least-cost positions, each family weighing
// `weights[family]` (at most `family_weight`). Boxes keep `box_gap` between them, a
// passing line `line_gap` from anything; a family is over its children where its point
// and middle lie within the children's span widened by `tolerance`. Positions come out in
// eighths of a unit. Returns false, leaving `placed` as it was, if the solver fails.
bool place_by_flow(PlacedLayers& placed, double box_gap, double line_gap, double tolerance,
                   const std::vector<int>& weights);

} // namespace kinship::family
