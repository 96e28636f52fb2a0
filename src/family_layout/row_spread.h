#pragma once

// Rows spread over the children, once everything is placed. Rows are placed as whole nodes,
// so in a row of several partners the middles of its couples stand close together, while
// each couple's children, with their own partners, need a row's width apiece below. Here
// every person and every passing line is placed on their own, keeping each layer's order:
// a row may open between any two neighbours, which lengthens a relationship line. That
// is a linear program over the people's places (a couple's middle is the mean of two of
// them, so it is no network problem), solved with COIN-OR's Clp.

#include "family_layout/chart_walks.h"
#include "family_layout/couple_units.h"
#include "family_layout/families.h"
#include "family_layout/row_placement.h"

#include <functional>
#include <vector>

namespace kinship::family {

struct SpreadSettings {
    double box_gap = 0;     // between rows
    double partner_gap = 0; // between neighbours in a row
    double line_gap = 0;    // between a passing line and anything
    double tolerance = 0;   // the children's span widened by this on each side
    // Partners in different layers stand at least this far apart sideways, so that the
    // line joining them has room for the family node between them.
    double layers_apart_gap = 0;
};

// Moves the people (`x`, each person's centre) and the passing lines (`placed.x` of the
// items past the rows) of each unconnected part of at most `most_columns` variables to the
// places that keep every layer's order and gaps and cost least: a couple costs for each
// unit its middle lies outside its children's span (less the farther off it stood
// before), a line for each unit it runs sideways, and a row a little for each unit it
// opens. `walks` are each part's lines. The program is solved twice, the second time with
// each couple weighed by how far the first solution leaves it. A part takes the new places
// where more of its couples then stand over their children.
void spread_rows(const Families& families, const Units& units, PlacedLayers& placed,
                 const std::vector<std::vector<Walk>>& walks,
                 const std::function<double(int)>& person_width, const SpreadSettings& settings,
                 std::size_t most_columns, std::vector<double>& x);

} // namespace kinship::family
