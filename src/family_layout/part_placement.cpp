#include "family_layout/part_placement.h"

#include "family_layout/flow_placement.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kinship::family {
namespace {

// Each family's weight in the exact placement, by its distance off its children; a single
// parent's family weighs least.
std::vector<int> weights_by_distance(const std::vector<double>& distances,
                                     const std::vector<char>& single_parent)
{
    std::vector<int> weights;
    for (std::size_t f = 0; f < distances.size(); ++f) {
        weights.push_back(single_parent[f] ? 1 : weight_off_children(distances[f]));
    }
    return weights;
}

// Couples over their children (a number that no link has counts as over, in any places
// alike).
long couples_over_children(const std::vector<double>& distances,
                           const std::vector<char>& single_parent)
{
    long over = 0;
    for (std::size_t f = 0; f < distances.size(); ++f) {
        over += distances[f] <= 0 && !single_parent[f];
    }
    return over;
}

} // namespace

void place_parts(PlacedLayers& placed, double box_gap, double line_gap, double tolerance,
                 int sweep_pairs, std::size_t most_exact)
{
    const std::size_t parts = placed.part.empty()
        ? 1 : static_cast<std::size_t>(*std::ranges::max_element(placed.part)) + 1;
    const auto part_of_layer = [&](std::size_t l) {
        return placed.part.empty() ? std::size_t{0} : static_cast<std::size_t>(placed.part[l]);
    };
    // Each part's layers and links, in one pass: charts of many small parts stay linear.
    std::vector<std::size_t> part_of(placed.x.size(), 0);
    std::vector<std::vector<std::size_t>> part_layers(parts);
    for (std::size_t l = 0; l < placed.layers.size(); ++l) {
        part_layers[part_of_layer(l)].push_back(l);
        for (const int item : placed.layers[l]) {
            part_of[static_cast<std::size_t>(item)] = part_of_layer(l);
        }
    }
    std::vector<std::vector<std::size_t>> part_links(parts);
    int families = 0;
    for (std::size_t k = 0; k < placed.links.size(); ++k) {
        part_links[part_of[static_cast<std::size_t>(placed.links[k].upper)]].push_back(k);
        families = std::max(families, placed.links[k].family + 1);
    }
    // Each part copied out with its items and families numbered afresh, placed, and copied
    // back.
    std::vector<int> local(placed.x.size(), -1);
    std::vector<int> local_family(static_cast<std::size_t>(families), -1);
    std::vector<int> families_here;
    for (std::size_t q = 0; q < parts; ++q) {
        PlacedLayers one;
        std::vector<int> global;
        std::vector<char> single_parent; // per family of the part
        for (const std::size_t l : part_layers[q]) {
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
        for (const std::size_t k : part_links[q]) {
            PlacedLayers::Link link = placed.links[k];
            link.upper = local[static_cast<std::size_t>(link.upper)];
            link.lower = local[static_cast<std::size_t>(link.lower)];
            if (link.family >= 0) {
                int& number = local_family[static_cast<std::size_t>(link.family)];
                if (number < 0) {
                    number = static_cast<int>(families_here.size());
                    families_here.push_back(link.family);
                    single_parent.push_back(link.single_parent);
                }
                link.family = number;
            }
            one.links.push_back(link);
        }
        for (const int family : families_here) {
            local_family[static_cast<std::size_t>(family)] = -1;
        }
        families_here.clear();
        place_along_layers(one, box_gap, line_gap, sweep_pairs);
        align_over_children(one, box_gap, line_gap, tolerance);
        if (flow_arcs(one) <= most_exact) {
            // Twice: a family weighs less the farther off its children the places before
            // left it (what counts is how many stand over their children, not how far off
            // the others are); the second places are kept where more couples stand over
            // their children than in the first.
            place_by_flow(one, box_gap, line_gap, tolerance,
                          weights_by_distance(distances_off_children(one, tolerance),
                                              single_parent));
            const auto first = distances_off_children(one, tolerance);
            PlacedLayers again = one;
            place_by_flow(again, box_gap, line_gap, tolerance,
                          weights_by_distance(first, single_parent));
            if (couples_over_children(distances_off_children(again, tolerance), single_parent) >
                couples_over_children(first, single_parent)) {
                one.x = std::move(again.x);
            }
        }
        for (std::size_t i = 0; i < global.size(); ++i) {
            placed.x[static_cast<std::size_t>(global[i])] = one.x[i];
        }
    }
}

} // namespace kinship::family
