#pragma once

// Couples brought over their children once everything is placed. Rows are placed as whole
// nodes, and the exact placement weighs how far couples miss their children, not how many
// do: a couple may still miss by a little where the layer has room. There a longer
// relationship line, or children's rows moved nearer, puts it over them.

#include "family_layout/couple_units.h"
#include "family_layout/families.h"
#include "family_layout/row_placement.h"

#include <functional>
#include <vector>

namespace kinship::family {

struct ReachSettings {
    double box_gap = 0;   // between rows
    double line_gap = 0;  // between a passing line and anything
    double tolerance = 0; // the children's span widened by this on each side
};

// Moves people of the rows of `placed` (items below the number of units) along their
// layers, `x` holding each person's centre. A couple whose middle, or family node where
// the partners stand side by side, lies outside the children's span widened by the
// tolerance has the partner on the children's side, with those beyond them in the row, move
// that way twice as far as the couple misses; or else the children's rows come nearer. Rows
// in the way are pushed along, nothing leaves its part's extent, and a move is made where
// more of the families of the people moved, as partners or as children, then stand over
// their children.
void reach_children(const Families& families, const Units& units, const PlacedLayers& placed,
                    const std::function<double(int)>& person_width, const ReachSettings& settings,
                    std::vector<double>& x);

} // namespace kinship::family
