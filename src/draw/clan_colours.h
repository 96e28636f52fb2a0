#pragma once

#include <vector>

#include "draw/legend.h"
#include "gml/kinship_attributes.h"

namespace kinship::draw {

// Fills each individual's shape by its clan (the template's first word) or, with
// `by_subclan`, by its clan and sub-clan, and outlines every shape in one dark grey; the
// shape itself (rectangle or ellipse) still shows the sex.
//
// The colours are those of Okabe and Ito, told apart also by colour-blind readers. The
// largest groups (ties by name) get them in order, the first colours being the most
// distinct. One neutral grey is shared by those with no clan recorded (`-`; with
// `by_subclan`, also no sub-clan recorded), who are never a coloured group, by the groups
// beyond the colours, and by individuals without a clan template (other than four words).
// Groups are named with each `_` of their words shown as a blank.
//
// Returns the legend: the two shapes, then each colour with its group and head count,
// then the grey ones: no clan recorded (and no sub-clan recorded) with their head counts,
// and the other groups with the number of people they hold.
std::vector<LegendEntry> colour_by_clan(gml::KinshipAttributes& attributes, bool by_subclan);

} // namespace kinship::draw
