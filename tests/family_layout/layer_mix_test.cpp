// Mixing two orders of the same layers: each layer taken from whichever order makes its
// part cross least, each part on its own, ties to the order already in place.

#include "family_layout/layer_order.h"

#include <gtest/gtest.h>

namespace {

using kinship::family::PlacedLayers;

// Part 0: a0 a1 over b0 b1 over c0 c1, the lines a0-b0, a1-b1, b0-c1, b1-c0. Part 1: d0 d1
// over e0 e1, the lines d0-e0, d1-e1.
PlacedLayers two_parts(std::vector<std::vector<int>> layers)
{
    PlacedLayers placed;
    placed.width.assign(10, 40);
    placed.x.assign(10, 0);
    placed.layers = std::move(layers);
    placed.depth = {0, 1, 2, 0, 1};
    placed.part = {0, 0, 0, 1, 1};
    placed.links = {{0, 0, 2, 0}, {1, 0, 3, 0}, {2, 0, 5, 0},
                    {3, 0, 4, 0}, {6, 0, 8, 0}, {7, 0, 9, 0}};
    return placed;
}

TEST(LayerMix, TakesEachLayerFromTheOrderThatCrossesLeastInItsPart)
{
    // Each order crosses once in part 0, in different gaps: the mix crosses nowhere. In
    // part 1 the other order crosses and this one does not.
    PlacedLayers placed = two_parts({{0, 1}, {2, 3}, {4, 5}, {6, 7}, {8, 9}});
    const std::vector<std::vector<int>> other{{1, 0}, {2, 3}, {5, 4}, {7, 6}, {8, 9}};
    ASSERT_EQ(kinship::family::count_crossings(placed), 1);
    ASSERT_EQ(kinship::family::count_crossings(two_parts(other)), 2);
    kinship::family::keep_cheapest_mix(placed, other);
    const std::vector<std::vector<int>> mixed{{0, 1}, {2, 3}, {5, 4}, {6, 7}, {8, 9}};
    EXPECT_EQ(placed.layers, mixed);
    EXPECT_EQ(kinship::family::count_crossings(placed), 0);

    // Where the two cross alike, the order in place stays.
    PlacedLayers tied = two_parts({{0, 1}, {2, 3}, {5, 4}, {7, 6}, {9, 8}});
    const auto before = tied.layers;
    kinship::family::keep_cheapest_mix(tied, {{0, 1}, {2, 3}, {5, 4}, {6, 7}, {8, 9}});
    EXPECT_EQ(tied.layers, before);
}

} // namespace
