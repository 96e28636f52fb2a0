#pragma once

// The layers and a first order of the unit graph (see unit_graph.h): network-simplex
// ranking, which keeps lines short (a partner who married in stands in the layer of the
// other partner's family), and the order in which a depth-first walk from the first row
// meets each row, which keeps a family's descendants together.

#include "family_layout/unit_graph.h"

#include <vector>

namespace kinship::family {

struct UnitRanks {
    std::vector<int> rank;       // per node of the unit graph
    std::vector<int> first_seen; // per node, in the walk
};

// The place of each node in a depth-first walk of the graph, lines taken either way round:
// from the first node, following each node's lines in the order unit_graph made them, or
// `backwards`, from the last node and each node's lines from the last.
std::vector<int> walk_order(const UnitGraph& graph, bool backwards);

// The graph's first `unit_count` nodes are rows of people, the others couples.
UnitRanks rank_units(const UnitGraph& graph, int unit_count);

} // namespace kinship::family
