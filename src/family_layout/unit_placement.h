#pragma once

// The unit graph (see unit_graph.h) laid out by OGDF's layered layout: each row of
// partners as one box as wide as its people, each couple as a small node.

#include "family_layout/couple_units.h"
#include "family_layout/row_orientation.h"
#include "family_layout/unit_graph.h"

#include <ogdf/basic/GraphAttributes.h>

#include <span>
#include <vector>

namespace kinship::family {

struct UnitPlacement {
    ogdf::Graph graph;
    ogdf::GraphAttributes attributes;
    std::vector<ogdf::node> nodes; // units first, then couples, as in UnitGraph
    std::vector<ogdf::edge> edges; // in the order of UnitGraph::edges

    double x(int node) const { return attributes.x(nodes[static_cast<std::size_t>(node)]); }
    double y(int node) const { return attributes.y(nodes[static_cast<std::size_t>(node)]); }
    // The x at height `y` of a line's route, from its source's centre through its bend
    // points to its target's centre.
    double x_at(std::size_t edge, double y) const;
};

// Width of a row of people standing `partner_gap` apart.
double row_width(const std::vector<int>& members, std::span<const double> person_width);

void place_units(const Units& units, std::span<const double> person_width,
                 const UnitGraph& unit_graph, UnitPlacement& placement);

// Each person's line ends in the layout of the rows, walking the lines in the order
// unit_graph made them.
LineEnds line_ends(const Families& families, const Units& units, const UnitPlacement& placement);

} // namespace kinship::family
