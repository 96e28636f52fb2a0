#pragma once

// Where things stand along their layers: rows of partners and the points where long lines
// pass a layer, kept in the order the layout gave them, moved so that each family's line
// of descent stands over its children. Sweeps down the layers pull each child under the
// point its line comes from, sweeps up pull each such point over the middle of what hangs
// from it; within a layer, the positions closest to those pulls that keep the order and
// the gaps are found by pooling neighbours that would come too close, each pool at the
// weighted median of its pulls.

#include <vector>

namespace kinship::family {

struct PlacedLayers {
    std::vector<double> x;                // per item: centre, the layout's to start with
    std::vector<double> width;            // per item; 0 for a line passing the layer
    std::vector<std::vector<int>> layers; // items left to right, from the top layer down
                                          // (layers of unconnected parts in any order)
    std::vector<int> depth;               // per layer: its depth within its part
    std::vector<int> part;                // per layer: its part, or empty (one part)
    // A line from a point of an item to a point of an item in the layer below.
    struct Link {
        int upper = 0;
        double upper_offset = 0;
        int lower = 0;
        double lower_offset = 0;
        int family = -1; // the family whose point over its children this link leaves
        // For a family's link: the middle between the partners' centres, from the upper
        // item's centre (the point is the middle of the gap between their widths).
        double middle_offset = 0;
        // The family is a single parent's. A chart is judged by its couples standing over
        // their children, and a single parent's line pulls the parent near them anyway.
        bool single_parent = false;
    };
    std::vector<Link> links;
};

// Each item's links, as indices into `links`: those reaching it from the layer above (up)
// and those leaving it for the layer below (down).
struct ItemLinks {
    std::vector<std::vector<std::size_t>> up;
    std::vector<std::vector<std::size_t>> down;
};
ItemLinks links_by_item(const PlacedLayers& placed);

// Each family's links (by family number), as indices into `links`; empty for a number
// that no link has.
std::vector<std::vector<std::size_t>> links_by_family(const PlacedLayers& placed);

// The layers in the order of their depth within their parts, top first.
std::vector<std::size_t> layers_by_depth(const PlacedLayers& placed);

// Each part's layers, top down.
std::vector<std::vector<std::size_t>> layers_by_part(const PlacedLayers& placed);

// The positions of one layer's `items` (left to right) closest to `target` by least
// weighted absolute distance, in their order and at least the required distance apart
// (`box_gap` between boxes, `line_gap` beside a passing line), written to `x`.
void settle(const std::vector<int>& items, const std::vector<double>& target,
            const std::vector<double>& weight, const PlacedLayers& placed, double box_gap,
            double line_gap, std::vector<double>& x);

// Moves the items' x, keeping each layer's order, by `sweep_pairs` sweeps down and up and
// one more up. Boxes keep `box_gap` between them, a passing line `line_gap` from anything.
void place_along_layers(PlacedLayers& placed, double box_gap, double line_gap, int sweep_pairs);

// Then, from the bottom layer up and from the top down, in turn: each run of items that
// stand at their least distance apart moves as one, within the room around it, to where
// the most families stand over their children. A family does where both its point (a
// link's upper end with a family) and the middle between its partners lie over the
// children's span (the lower ends) widened by `tolerance` on each side, or, where the two
// cannot both, the middle. Upward a run counts the families whose point it holds,
// downward also those whose children it holds. Then the run may come apart: its right
// part moving right or its left part left, where that puts more families over their
// children.
void align_over_children(PlacedLayers& placed, double box_gap, double line_gap,
                         double tolerance);

} // namespace kinship::family
