#pragma once

// The family chart in the standard pedigree notation, from the layout of the rows: each
// partner's relationship line runs at the height of the boxes' centres into the family
// node between the two; the line of descent drops from it to the sibship line, which runs
// above the children's layer over their span, and a short line drops to each child. A
// child with one recorded parent hangs from that parent by the same lines. Partners who do
// not stand side by side are joined by lines down to a common height, where their family
// node sits.

#include "family_layout/couple_units.h"

#include <span>
#include <vector>

namespace kinship::family {

struct Point {
    double x = 0;
    double y = 0;
};

using Route = std::vector<Point>; // bend points, ends excluded

struct Chart {
    std::vector<Point> person;                 // centres, per person
    std::vector<Point> family;                 // per couple
    std::vector<Route> father_line;            // per couple
    std::vector<Route> mother_line;            // per couple
    std::vector<std::vector<Route>> child_line; // per couple, per child
    std::vector<Route> single_line;            // per single link
    int layers = 0;                            // of the deepest component
};

// Lays the rows out (turning each the way round that crosses less) and draws the lines.
// `person_width` is empty or holds one width per person.
Chart family_chart(const Families& families, Units& units, std::span<const double> person_width);

} // namespace kinship::family
