#pragma once

// Longer relationship lines where only children marry. The couples of their parents stand
// in the layer above, each at least a row's half wide, so both can stand over their one
// child only if the children stand as far apart as the two couples: the line between the
// children is stretched by what that takes.

#include "family_layout/couple_units.h"
#include "family_layout/families.h"
#include "family_layout/row_placement.h"

#include <functional>
#include <tuple>
#include <vector>

namespace kinship::family {

// Partners (a, b), a < b, and the space their line gets beyond the usual gap; sorted.
using Stretches = std::vector<std::tuple<int, int, double>>;

// The gap between partners `a` and `b` standing side by side.
double partner_spacing(const Stretches& stretches, int a, int b);

// Where people stand in their row: each one's offset from the row's centre, and the row's
// width, with the gaps of `stretches`.
struct RowMeasure {
    std::vector<double> offset; // per member
    double width = 0;
};
RowMeasure measure_row(const std::vector<int>& members, const Stretches& stretches,
                       const std::function<double(int)>& person_width);

// The stretches for the layers of `placed` as ordered and placed (an item below the unit
// count is that unit's row, standing the way `units` has it). From the top layer down,
// partners a and b side by side, a left of b, who are the only children of couples standing
// side by side in the layer just above, the couple of a left of that of b, get the gap that
// puts each under its couple: halfway between the couple's family node (in the middle of
// the gap between the partners' widths) and the middle between the partners' centres,
// where a child is under both. Then their layer is placed, for this estimate alone, under
// the couples its people are children of (`box_gap` between rows, `line_gap` beside a
// passing line).
Stretches stretch_only_children(const Families& families, const Units& units,
                                PlacedLayers placed,
                                const std::function<double(int)>& person_width,
                                double box_gap, double line_gap);

} // namespace kinship::family
