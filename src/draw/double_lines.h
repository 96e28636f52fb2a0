#pragma once

#include <vector>

#include "draw/stats_table.h"
#include "gml/kinship_attributes.h"

namespace kinship::draw {

// Which lines of a family drawing are drawn double, one flag per edge in the graph's
// order: the two lines from the partners into the family node of a couple whose kinship
// (kinship-stats' couples.tsv) is above zero. A couple is the people at the ends of the
// lines into its family node; a drawing without family nodes has no double line. The
// picture and the page both ask this, so that they cannot disagree.
std::vector<bool> double_lines(const gml::KinshipAttributes& attributes,
                               const CoupleKinship& couples);

} // namespace kinship::draw
