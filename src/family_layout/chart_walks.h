#pragma once

// The lines of a family chart as the layout walks them: from a couple (or a single
// parent) down through the items of the placement to each child.

#include "family_layout/families.h"

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

// Each line `walk` is laid out by, as `visit(upper, lower, down_to_child)` from its end in
// the higher layer to its end in the lower one: down each path from the source (the lines
// down to a child, `down_to_child`); from the other partner of a couple standing apart in
// one layer to each path's first step; down from a partner in a higher layer through its
// passages; and between childless partners apart and their meeting point.
// `unit_of(person)` is the item of the person's row.
template <typename UnitOf, typename Visit>
void for_each_line(const Walk& walk, const Families& families, const UnitOf& unit_of,
                   const Visit& visit)
{
    for (const auto& path : walk.paths) {
        Step from = walk.source;
        for (const Step& to : path) {
            visit(from, to, true);
            from = to;
        }
    }
    if (walk.couple < 0) {
        return;
    }
    const Family& f = families.couples[static_cast<std::size_t>(walk.couple)];
    if (walk.upper < 0 && walk.source.person >= 0) {
        const int other = walk.source.person == f.father ? f.mother : f.father;
        for (const auto& path : walk.paths) {
            visit(Step{unit_of(other), other, -1}, path.front(), false);
        }
    }
    if (walk.upper >= 0) {
        Step from{unit_of(walk.upper), walk.upper, -1};
        for (const Step& to : walk.upper_path) {
            visit(from, to, false);
            from = to;
        }
    }
    if (walk.meeting >= 0) {
        const Step meeting{walk.meeting, -1, -1};
        for (const int p : {f.father, f.mother}) {
            const Step partner{unit_of(p), p, -1};
            walk.meeting_below ? visit(partner, meeting, false) : visit(meeting, partner, false);
        }
    }
}

} // namespace kinship::family
