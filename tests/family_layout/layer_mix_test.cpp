// Counting the crossings of an order, and mixing two orders of the same layers: each layer
// taken from whichever order makes its part cross least, each part on its own, ties to the
// order already in place.

#include "family_layout/layer_order.h"

#include <gtest/gtest.h>

#include <cstdint>

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

TEST(LayerMix, CountsTheCrossingsOfStraightLinesBetweenTheEnds)
{
    // Random layers of rows and passing lines, some rows with many lines (so that the ends
    // of one item come in long runs), ends at offsets within wide rows and ties of ends on
    // either side; against a count of every pair of lines in a gap.
    std::uint64_t state = 12345;
    const auto draw = [&](int below) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((state >> 33) % static_cast<std::uint64_t>(below));
    };
    for (int round = 0; round < 20; ++round) {
        PlacedLayers placed;
        std::vector<int> layer_of;
        for (int l = 0, item = 0; l < 4; ++l) {
            auto& layer = placed.layers.emplace_back();
            for (int k = 1 + draw(40); k > 0; --k, ++item) {
                layer.push_back(item);
                layer_of.push_back(l);
                placed.width.push_back(draw(3) == 0 ? 0.0 : 20.0 + draw(60));
            }
        }
        placed.x.assign(placed.width.size(), 0.0);
        placed.depth = {0, 1, 2, 3};
        for (int l = 0; l + 1 < 4; ++l) {
            const auto& upper = placed.layers[static_cast<std::size_t>(l)];
            const auto& lower = placed.layers[static_cast<std::size_t>(l) + 1];
            const auto pick = [&](const std::vector<int>& layer) {
                return layer[static_cast<std::size_t>(draw(static_cast<int>(layer.size())))];
            };
            const int busy = pick(upper);
            for (int n = 0; n < 60; ++n) {
                const int from = n < 25 ? busy : pick(upper);
                const int to = pick(lower);
                const auto offset = [&](int item) {
                    const double w = placed.width[static_cast<std::size_t>(item)];
                    return w > 0 ? static_cast<double>(draw(5) - 2) * w / 5 : 0.0;
                };
                placed.links.push_back({from, offset(from), to, offset(to)});
            }
        }
        std::vector<double> place(placed.width.size());
        for (const auto& layer : placed.layers) {
            for (std::size_t k = 0; k < layer.size(); ++k) {
                place[static_cast<std::size_t>(layer[k])] = static_cast<double>(k);
            }
        }
        const auto end = [&](int item, double offset) {
            const double w = placed.width[static_cast<std::size_t>(item)];
            return place[static_cast<std::size_t>(item)] + (w > 0 ? offset / (w + 1) : 0.0);
        };
        long expected = 0;
        for (std::size_t a = 0; a < placed.links.size(); ++a) {
            for (std::size_t b = a + 1; b < placed.links.size(); ++b) {
                const auto& p = placed.links[a];
                const auto& q = placed.links[b];
                if (layer_of[static_cast<std::size_t>(p.upper)] ==
                        layer_of[static_cast<std::size_t>(q.upper)] &&
                    (end(p.upper, p.upper_offset) - end(q.upper, q.upper_offset)) *
                            (end(p.lower, p.lower_offset) - end(q.lower, q.lower_offset)) < 0) {
                    ++expected;
                }
            }
        }
        EXPECT_EQ(kinship::family::count_crossings(placed), expected) << "round " << round;
    }
}

} // namespace
