#include "family_layout/row_placement.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kinship::family {
namespace {

// Alternating sweeps down and up, then a few up only, which put couples over their
// children; an item with nothing to pull it that way holds its place only weakly.
constexpr int sweep_pairs = 12;
constexpr int last_sweeps_up = 3;
constexpr double weight_of_unpulled = 0.05;

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
                    weight[k] = weight_of_unpulled;
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
    for (int n = 0; n < last_sweeps_up; ++n) {
        sweep(false);
    }
}

void align_over_children(PlacedLayers& placed, double box_gap, double line_gap,
                         double tolerance)
{
    std::vector<std::vector<std::size_t>> down(placed.x.size());
    for (std::size_t l = 0; l < placed.links.size(); ++l) {
        if (placed.links[l].family >= 0) {
            down[static_cast<std::size_t>(placed.links[l].upper)].push_back(l);
        }
    }
    std::vector<std::size_t> order(placed.layers.size());
    std::iota(order.begin(), order.end(), 0);
    std::ranges::stable_sort(order, {}, [&](std::size_t l) { return -placed.depth[l]; });
    auto& x = placed.x;
    for (const std::size_t l : order) {
        const auto& layer = placed.layers[l];
        const auto gap = [&](std::size_t k) { // least distance between items k - 1 and k
            const auto a = static_cast<std::size_t>(layer[k - 1]);
            const auto b = static_cast<std::size_t>(layer[k]);
            return (placed.width[a] + placed.width[b]) / 2 +
                   (placed.width[a] > 0 && placed.width[b] > 0 ? box_gap : line_gap);
        };
        for (std::size_t first = 0; first < layer.size();) {
            std::size_t last = first;
            while (last + 1 < layer.size() &&
                   x[static_cast<std::size_t>(layer[last + 1])] -
                           x[static_cast<std::size_t>(layer[last])] - gap(last + 1) < 1e-6) {
                ++last;
            }
            const double room_left = first == 0 ? 1e300
                : x[static_cast<std::size_t>(layer[first])] -
                      x[static_cast<std::size_t>(layer[first - 1])] - gap(first);
            const double room_right = last + 1 == layer.size() ? 1e300
                : x[static_cast<std::size_t>(layer[last + 1])] -
                      x[static_cast<std::size_t>(layer[last])] - gap(last + 1);
            // Per family of the run, the shifts that put its point over its children.
            std::vector<std::pair<double, double>> wanted;
            for (std::size_t k = first; k <= last; ++k) {
                const auto item = static_cast<std::size_t>(layer[k]);
                for (std::size_t n = 0; n < down[item].size();) {
                    const int family = placed.links[down[item][n]].family;
                    const double point = x[item] + placed.links[down[item][n]].upper_offset;
                    double lo = 1e300;
                    double hi = -1e300;
                    for (; n < down[item].size() && placed.links[down[item][n]].family == family; ++n) {
                        const PlacedLayers::Link& link = placed.links[down[item][n]];
                        const double end = x[static_cast<std::size_t>(link.lower)] + link.lower_offset;
                        lo = std::min(lo, end);
                        hi = std::max(hi, end);
                    }
                    wanted.emplace_back(lo - tolerance - point, hi + tolerance - point);
                }
            }
            if (!wanted.empty() && wanted.size() <= 256) {
                // The shift over most spans; of those, the one centring most families over
                // their children, then the smallest.
                double best_shift = 0;
                long best_count = -1;
                long best_centred = -1;
                std::vector<double> candidates{0.0};
                for (const auto& [lo, hi] : wanted) {
                    candidates.push_back(lo);
                    candidates.push_back(hi);
                    candidates.push_back((lo + hi) / 2);
                }
                for (double shift : candidates) {
                    shift = std::clamp(shift, -room_left, room_right);
                    const long count = std::ranges::count_if(wanted, [&](const auto& w) {
                        return w.first - 1e-9 <= shift && shift <= w.second + 1e-9;
                    });
                    const long centred = std::ranges::count_if(wanted, [&](const auto& w) {
                        return std::abs((w.first + w.second) / 2 - shift) < 1e-6;
                    });
                    if (count > best_count || (count == best_count && centred > best_centred) ||
                        (count == best_count && centred == best_centred &&
                         std::abs(shift) < std::abs(best_shift))) {
                        best_count = count;
                        best_centred = centred;
                        best_shift = shift;
                    }
                }
                for (std::size_t k = first; k <= last; ++k) {
                    x[static_cast<std::size_t>(layer[k])] += best_shift;
                }
            }
            first = last + 1;
        }
    }
}

} // namespace kinship::family
