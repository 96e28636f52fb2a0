#pragma once

// Which way round a row of partners stands. The layout ranks and places a row as one node,
// so the lines to its people all meet at one point there; in the drawing each line ends at
// its own person, and a row standing the wrong way round crosses them.

#include "family_layout/couple_units.h"

#include <vector>

namespace kinship::family {

// Where each person's lines leave the row's layer: the x of the lines up to their parents
// and down to their couples' nodes (or single children), from the layout of the rows.
struct LineEnds {
    std::vector<std::vector<double>> up;
    std::vector<std::vector<double>> down;
};

// Reverses each row whose lines cross fewer times the other way round; a tie keeps the
// row as it is.
void orient_rows(Units& units, const LineEnds& ends);

} // namespace kinship::family
