#pragma once

// The graph the family layout ranks: one node per unit of partners (see couple_units.h),
// then one per couple; a line from each unit holding a partner to the couple's node, one
// from the couple's node to the unit of each child, and one from the unit of a single
// recorded parent to the child's unit.

#include "family_layout/couple_units.h"

#include <vector>

namespace kinship::family {

struct UnitEdge {
    int source = 0;
    int target = 0;
};

struct UnitGraph {
    int nodes = 0; // units first, then couples: couple c is node units + c
    std::vector<UnitEdge> edges;
};

UnitGraph unit_graph(const Families& families, const Units& units);

// Cuts rows until the unit graph has no cycle. Putting partners in one row can close one,
// when someone in a row descends from someone else in it (a man with children by a mother
// and by her daughter) or from their close kin; only the rows on such a cycle are cut,
// each where that takes all its parts off the cycles with the fewest couples cut apart and
// nobody with several partners left without one beside them (in halves, as a last resort,
// when the cycles run through several rows that no cut of one alone frees).
void break_cycles(const Families& families, Units& units);

} // namespace kinship::family
