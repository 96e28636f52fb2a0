#pragma once

// The drawing of a pedigree as families: partners side by side in one layer, a small
// family node under each couple with common children, and the children under it.

#include <span>

#include "common/person_style.h"
#include "common/text_measure.h"
#include "family_layout/families.h"
#include "gml/kinship_attributes.h"
#include "model/pedigree.h"

#include <span>

namespace kinship::family {

// Size of a person's box and of a family node, and the gap between partners in a row.
inline constexpr double person_size = person_style::size;
inline constexpr double family_node_size = 8.0;
inline constexpr double partner_gap = 15.0;
static_assert(partner_gap >= text::slot_gap);

struct DrawingCounts {
    int people = 0;
    int couples = 0;
    int layers = 0; // of the deepest part, family nodes' layers included
};

// Builds the drawing of `pedigree` into `graph` (empty) and `attributes` (attached to it):
// one node per person in file order, labelled with the id, the template "clan subclan
// birth death" and the sex's shape and colours; then one family node per couple (see
// families.h), labelled "family N" in couple order; a line from each partner to the
// family node, one from it to each child, and one from a single recorded parent to the
// child. The pedigree must have no one as their own ancestor. The same pedigree gives the
// same drawing on every run. The lines are those of a family chart (see family_chart.h).
//
// `person_width` holds, in pedigree order, the width each person takes in their row (for
// the name under their shape), at least person_size; empty, everyone takes person_size.
// The shapes stay person_size wide, each centred in its width, with partner_gap between
// the widths of partners side by side and at least text::slot_gap between any two people
// side by side: kinship-draw gives each name its width only in a drawing where that holds.
DrawingCounts draw_families(const Pedigree& pedigree, ogdf::Graph& graph,
                            gml::KinshipAttributes& attributes,
                            std::span<const double> person_width = {});

} // namespace kinship::family
