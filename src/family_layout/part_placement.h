#pragma once

// Where things stand along their layers, each unconnected part on its own: first by sweeps
// and alignment, as near as they get; then, where the part is small enough for the solver
// to take little time (it takes time in more than the square of a part's size), exactly,
// by the least-cost flow, each couple weighing less the farther off its children the
// places before left it, and a single parent's family least.

#include "family_layout/row_placement.h"

#include <cstddef>

namespace kinship::family {

// The largest part, in arcs of its flow network, placed exactly: one of 14,000 arcs takes
// 0.05 s, one of 55,000 0.6 s and one of 270,000 (a connected genealogy of 100,000 people)
// 21 s.
inline constexpr std::size_t exact_arcs = 100000;

// Places every part of `placed`. Boxes keep `box_gap` between them, a passing line
// `line_gap` from anything; a family is over its children where its point and middle lie
// within the children's span widened by `tolerance`. The sweeps go down and up
// `sweep_pairs` times; parts of more than `most_exact` arcs keep the places they give.
void place_parts(PlacedLayers& placed, double box_gap, double line_gap, double tolerance,
                 int sweep_pairs, std::size_t most_exact = exact_arcs);

} // namespace kinship::family
