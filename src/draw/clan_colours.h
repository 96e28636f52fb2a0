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
// distinct; with more groups than colours the rest, and individuals without a clan
// (a template of other than four words), share one neutral grey.
//
// Returns the legend: the two shapes, then each colour with its group and head count,
// then the grey one with the number of people it holds.
std::vector<LegendEntry> colour_by_clan(gml::KinshipAttributes& attributes, bool by_subclan);

} // namespace kinship::draw
