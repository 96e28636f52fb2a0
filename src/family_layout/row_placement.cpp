#include "family_layout/row_placement.h"

#include <algorithm>
#include <numeric>

namespace kinship::family {
namespace {

// Alternating sweeps down and up before the last one up, which puts couples over their
// children.
constexpr int sweep_pairs = 12;

// The positions of one layer's items closest (least squares, weighted) to `target`, in
// the layer's order and at least the required distance apart. With c the running sum of
// the distances, x - c must not decrease: pool adjacent violators.
void settle(const std::vector<int>& items, const std::vector<double>& target,
            const std::vector<double>& weight, const PlacedLayers& placed, double box_gap,
            double line_gap, std::vector<double>& x)
{
    struct Block {
        double weight;
        double sum;
        std::size_t count;
    };
    std::vector<Block> blocks;
    std::vector<double> shift(items.size(), 0.0);
    for (std::size_t k = 0; k < items.size(); ++k) {
        if (k > 0) {
            const auto a = static_cast<std::size_t>(items[k - 1]);
            const auto b = static_cast<std::size_t>(items[k]);
            const bool boxes = placed.width[a] > 0 && placed.width[b] > 0;
            shift[k] = shift[k - 1] + (placed.width[a] + placed.width[b]) / 2 +
                       (boxes ? box_gap : line_gap);
        }
        Block block{weight[k], weight[k] * (target[k] - shift[k]), 1};
        while (!blocks.empty() && blocks.back().sum * block.weight > block.sum * blocks.back().weight) {
            block.weight += blocks.back().weight;
            block.sum += blocks.back().sum;
            block.count += blocks.back().count;
            blocks.pop_back();
        }
        blocks.push_back(block);
    }
    std::size_t k = 0;
    for (const Block& block : blocks) {
        const double level = block.sum / block.weight;
        for (std::size_t n = 0; n < block.count; ++n, ++k) {
            x[static_cast<std::size_t>(items[k])] = level + shift[k];
        }
    }
}

} // namespace

void place_along_layers(PlacedLayers& placed, double box_gap, double line_gap)
{
    const std::size_t items = placed.x.size();
    std::vector<std::vector<std::size_t>> up(items), down(items); // link indices
    for (std::size_t l = 0; l < placed.links.size(); ++l) {
        up[static_cast<std::size_t>(placed.links[l].lower)].push_back(l);
        down[static_cast<std::size_t>(placed.links[l].upper)].push_back(l);
    }
    std::vector<std::size_t> order(placed.layers.size());
    std::iota(order.begin(), order.end(), 0);
    std::ranges::stable_sort(order, {}, [&](std::size_t l) { return placed.depth[l]; });

    // Each item pulled toward the ends of its links on one side; one without any stays.
    const auto sweep = [&](bool downward) {
        std::vector<double> target, weight;
        for (std::size_t n = 0; n < order.size(); ++n) {
            const auto& layer = placed.layers[order[downward ? n : order.size() - 1 - n]];
            target.assign(layer.size(), 0.0);
            weight.assign(layer.size(), 0.0);
            for (std::size_t k = 0; k < layer.size(); ++k) {
                const auto item = static_cast<std::size_t>(layer[k]);
                const auto& links = downward ? up[item] : down[item];
                for (const std::size_t l : links) {
                    const PlacedLayers::Link& link = placed.links[l];
                    target[k] += downward
                        ? placed.x[static_cast<std::size_t>(link.upper)] + link.upper_offset -
                              link.lower_offset
                        : placed.x[static_cast<std::size_t>(link.lower)] + link.lower_offset -
                              link.upper_offset;
                }
                if (links.empty()) {
                    target[k] = placed.x[item];
                    weight[k] = 0.25;
                } else {
                    weight[k] = static_cast<double>(links.size());
                    target[k] /= weight[k];
                }
            }
            settle(layer, target, weight, placed, box_gap, line_gap, placed.x);
        }
    };
    for (int n = 0; n < sweep_pairs; ++n) {
        sweep(true);
        sweep(false);
    }
}

} // namespace kinship::family
