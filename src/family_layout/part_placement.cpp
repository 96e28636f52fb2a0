#include "family_layout/part_placement.h"

#include "family_layout/flow_placement.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kinship::family {
namespace {

// How far off its children (in units) the sweeps leave a family that weighs half as much
// as one they put over them.
constexpr double weight_halved_at = 200;

} // namespace

void place_parts(PlacedLayers& placed, double box_gap, double line_gap, double tolerance,
                 int sweep_pairs, std::size_t most_exact)
{
    const std::size_t parts = placed.part.empty()
        ? 1 : static_cast<std::size_t>(*std::ranges::max_element(placed.part)) + 1;
    const auto part_of_layer = [&](std::size_t l) {
        return placed.part.empty() ? std::size_t{0} : static_cast<std::size_t>(placed.part[l]);
    };
    std::vector<std::size_t> part_of(placed.x.size(), 0);
    for (std::size_t l = 0; l < placed.layers.size(); ++l) {
        for (const int item : placed.layers[l]) {
            part_of[static_cast<std::size_t>(item)] = part_of_layer(l);
        }
    }
    // Each part copied out with its items numbered afresh, placed, and copied back.
    std::vector<int> local(placed.x.size(), -1);
    for (std::size_t q = 0; q < parts; ++q) {
        PlacedLayers one;
        std::vector<int> global;
        for (std::size_t l = 0; l < placed.layers.size(); ++l) {
            if (part_of_layer(l) != q) {
                continue;
            }
            one.layers.emplace_back();
            one.depth.push_back(placed.depth[l]);
            for (const int item : placed.layers[l]) {
                const auto i = static_cast<std::size_t>(item);
                local[i] = static_cast<int>(global.size());
                one.layers.back().push_back(local[i]);
                global.push_back(item);
                one.x.push_back(placed.x[i]);
                one.width.push_back(placed.width[i]);
            }
        }
        for (const PlacedLayers::Link& link : placed.links) {
            if (part_of[static_cast<std::size_t>(link.upper)] == q) {
                PlacedLayers::Link copy = link;
                copy.upper = local[static_cast<std::size_t>(link.upper)];
                copy.lower = local[static_cast<std::size_t>(link.lower)];
                one.links.push_back(copy);
            }
        }
        place_along_layers(one, box_gap, line_gap, sweep_pairs);
        align_over_children(one, box_gap, line_gap, tolerance);
        if (flow_nodes(one) <= most_exact) {
            // A family the sweeps leave far off its children weighs less: what counts is
            // how many stand over their children, not how far off the others are.
            std::vector<int> weights;
            for (const double distance : distances_off_children(one, tolerance)) {
                weights.push_back(std::max(1, static_cast<int>(std::lround(
                    family_weight * weight_halved_at / (distance + weight_halved_at)))));
            }
            place_by_flow(one, box_gap, line_gap, tolerance, weights);
        }
        for (std::size_t i = 0; i < global.size(); ++i) {
            placed.x[static_cast<std::size_t>(global[i])] = one.x[i];
        }
    }
}

} // namespace kinship::family
