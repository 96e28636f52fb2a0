// Placement along the layers, exact and by sweeps: two unconnected parts, a family with
// two children and a line passing a layer to a third, the point and the middle of a
// couple apart, every item starting at 0.

#include "family_layout/part_placement.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using kinship::family::PlacedLayers;

constexpr double box_gap = 20;
constexpr double line_gap = 10;
constexpr double tolerance = 20;

PlacedLayers two_parts()
{
    PlacedLayers placed;
    // Part 0: rows 0 (100 wide) and 1 over children 2, 3, the passing point 4 and 5; 6
    // below the point. Part 1: row 7 over 8.
    placed.width = {100, 100, 40, 40, 0, 40, 40, 60, 40};
    placed.x.assign(placed.width.size(), 0.0);
    placed.layers = {{0, 1}, {2, 3, 4, 5}, {6}, {7}, {8}};
    placed.depth = {0, 1, 2, 0, 1};
    placed.part = {0, 0, 0, 1, 1};
    placed.links = {{0, -10, 2, 0, 0, 4}, {0, -10, 3, 0, 0, 4}, {0, -10, 4, 0, 0, 4},
                    {4, 0, 6, 0, -1, 0}, {1, 0, 5, 0, 1, 0}, {7, 5, 8, 0, 2, 0}};
    return placed;
}

TEST(Placement, KeepsOrderAndGapsAndPutsEachFamilyOverItsChildren)
{
    for (const std::size_t most_exact : {kinship::family::exact_nodes, std::size_t{0}}) {
        PlacedLayers placed = two_parts();
        kinship::family::place_parts(placed, box_gap, line_gap, tolerance, 12, most_exact);
        const auto& x = placed.x;
        for (const auto& layer : placed.layers) {
            for (std::size_t k = 1; k < layer.size(); ++k) {
                const auto a = static_cast<std::size_t>(layer[k - 1]);
                const auto b = static_cast<std::size_t>(layer[k]);
                const double gap = placed.width[a] > 0 && placed.width[b] > 0 ? box_gap : line_gap;
                EXPECT_GE(x[b] - x[a], (placed.width[a] + placed.width[b]) / 2 + gap - 1e-9);
            }
        }
        if (most_exact == 0) {
            continue; // sweeps come near, with no promise
        }
        for (int family = 0; family < 3; ++family) {
            double lo = 1e300, hi = -1e300, point = 0, middle = 0;
            for (const PlacedLayers::Link& link : placed.links) {
                if (link.family == family) {
                    const auto lower = static_cast<std::size_t>(link.lower);
                    lo = std::min(lo, x[lower] + link.lower_offset - tolerance);
                    hi = std::max(hi, x[lower] + link.lower_offset + tolerance);
                    point = x[static_cast<std::size_t>(link.upper)] + link.upper_offset;
                    middle = x[static_cast<std::size_t>(link.upper)] + link.middle_offset;
                }
            }
            for (const double at : {point, middle}) {
                EXPECT_GE(at, lo) << "family " << family;
                EXPECT_LE(at, hi) << "family " << family;
            }
        }
        EXPECT_EQ(x[4], x[6]); // the passing line runs straight down
        EXPECT_EQ(x[8], x[7] + 5); // the only child right under its parents' point
    }
}

} // namespace
