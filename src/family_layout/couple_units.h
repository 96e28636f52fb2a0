#pragma once

// Partners laid out as one wide node: the people joined by couples are put in a row, each
// person beside a partner where a row allows it, and the row is ranked and placed as one
// node, so that partners share a layer and stand side by side.

#include "family_layout/families.h"

#include <vector>

namespace kinship::family {

struct Units {
    std::vector<int> unit_of;              // each person's unit
    std::vector<std::vector<int>> members; // each unit's people, left to right
};

// The longest row a unit holds: longer chains of remarriages are cut into several rows. Long
// enough for a person with many partners and their partners' other partners (a row cut
// apart leaves couples apart, joined by long lines that cross the rows between).
inline constexpr std::size_t max_unit_size = 16;

// Rows of partners. A chain of couples (one remarriage on each side at most) becomes one
// row in chain order; someone with more partners gets one on each side and the others
// follow in the same row. A row longer than max_unit_size is cut where neighbours are no
// partners first, so that everyone with several partners keeps one beside them. A person
// without partners is a unit alone.
Units group_partners(const Families& families);

// Per couple of `families`: its partners stand next to each other in one row.
std::vector<char> couples_side_by_side(const Families& families, const Units& units);

// Cuts unit `u` before its member `at` (0 < at < size): the left part keeps `u`, the right
// one becomes the last unit.
void split_unit(Units& units, int u, std::size_t at);

} // namespace kinship::family
