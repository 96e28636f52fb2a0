#pragma once

// The unconnected parts of a family chart, each laid out in a frame of its own, packed in
// rows (tallest first) aiming at a page about as wide as high.

#include "family_layout/family_chart.h"

#include <span>
#include <vector>

namespace kinship::family {

// Moves every part (`part_of` each person; a couple's and a single link's lines go with
// the father's or the parent's part) into its place, and puts every coordinate on a grid
// of 1/1024 unit: points that the placement put a rounding error apart line up exactly,
// so vertical lines are vertical, and the drawing file writes short numbers.
void pack_parts(Chart& chart, const Families& families, const std::vector<std::size_t>& part_of,
                std::size_t parts, std::span<const double> person_width);

} // namespace kinship::family
