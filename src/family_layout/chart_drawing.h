#pragma once

// The chart of a finished layout: how each line leaves its person's box, the families'
// descents and the heights of their lines between the layers, every line's route, and the
// unconnected parts packed into one picture.

#include "family_layout/chart_walks.h"
#include "family_layout/families.h"
#include "family_layout/family_chart.h"

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

namespace kinship::family {

struct LaidOutChart {
    const Families& families;
    std::span<const double> person_width;  // empty, or one width per person
    std::vector<double> x;                  // per person: centre along the layer
    std::vector<int> layer;                 // per person: layer within their part
    std::vector<std::size_t> part;          // per person: their unconnected part
    std::vector<int> row;                   // per person: the item of their row
    std::vector<std::size_t> layers;        // per part: how many layers it has
    const std::vector<std::vector<Walk>>& walks; // per part
    std::vector<char> side_by_side;         // per couple: partners next to each other
    std::vector<int> lower_partner;         // per couple: the partner in the lower layer
    std::function<double(const Step&)> at;  // x of a step, as placed
};

Chart draw_chart(const LaidOutChart& laid_out);

} // namespace kinship::family
