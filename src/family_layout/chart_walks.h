#pragma once

// The lines of a family chart as the layout walks them: from a couple (or a single
// parent) down through the items of the placement to each child.

#include <cstddef>
#include <vector>

namespace kinship::family {

// A point that a line passes: on an item of the placement (a row of people or a line's
// passage through a layer), at a person's centre, at the middle between a couple
// standing side by side, or (neither) at the passage.
struct Step {
    int item = 0;
    int person = -1;
    int couple = -1;
};

// One family's or single parent's lines: where they start and each child's steps down.
struct Walk {
    int couple = -1;                // or -1 for a single parent's children
    std::vector<std::size_t> links; // the single links, for a single parent
    Step source;
    std::vector<std::vector<Step>> paths;
    // A partner standing layers above the other: their line's passages through the layers
    // down to the other's, whose space below holds the family node.
    int upper = -1;
    std::vector<Step> upper_path;
    // Childless partners apart in one layer: a point in the next layer (below, else above)
    // that both are linked to while the layers are ordered, so that they are kept near.
    int meeting = -1;
    bool meeting_below = true;
};

} // namespace kinship::family
