#include "family_layout/row_placement.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kinship::family {
namespace {

// Alternating sweeps down and up, then one more up, which puts couples over their
// children; an item with nothing to pull it that way holds its place only weakly.
constexpr int sweep_pairs = 12;
constexpr int last_sweeps_up = 1;
constexpr double weight_of_unpulled = 0.05;
// Runs moved over their children from the bottom layer up, then down, and so on.
constexpr int align_passes = 4;

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

ItemLinks links_by_item(const PlacedLayers& placed)
{
    ItemLinks links{std::vector<std::vector<std::size_t>>(placed.x.size()),
                    std::vector<std::vector<std::size_t>>(placed.x.size())};
    for (std::size_t l = 0; l < placed.links.size(); ++l) {
        links.up[static_cast<std::size_t>(placed.links[l].lower)].push_back(l);
        links.down[static_cast<std::size_t>(placed.links[l].upper)].push_back(l);
    }
    return links;
}

std::vector<std::size_t> layers_by_depth(const PlacedLayers& placed)
{
    std::vector<std::size_t> order(placed.layers.size());
    std::iota(order.begin(), order.end(), 0);
    std::ranges::stable_sort(order, {}, [&](std::size_t l) { return placed.depth[l]; });
    return order;
}

void place_along_layers(PlacedLayers& placed, double box_gap, double line_gap)
{
    const ItemLinks item_links = links_by_item(placed);
    const auto& up = item_links.up;
    const auto& down = item_links.down;
    const std::vector<std::size_t> order = layers_by_depth(placed);

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
    // Per family, its links; per item, the families it is the point or a child of.
    std::vector<std::vector<std::size_t>> family_links;
    std::vector<std::vector<int>> families_of(placed.x.size());
    for (std::size_t l = 0; l < placed.links.size(); ++l) {
        const PlacedLayers::Link& link = placed.links[l];
        if (link.family < 0) {
            continue;
        }
        const auto f = static_cast<std::size_t>(link.family);
        if (family_links.size() <= f) {
            family_links.resize(f + 1);
        }
        family_links[f].push_back(l);
        for (const int item : {link.upper, link.lower}) {
            auto& of = families_of[static_cast<std::size_t>(item)];
            if (of.empty() || of.back() != link.family) {
                of.push_back(link.family);
            }
        }
    }
    std::vector<std::size_t> order(placed.layers.size());
    std::iota(order.begin(), order.end(), 0);
    std::ranges::stable_sort(order, {}, [&](std::size_t l) { return -placed.depth[l]; });
    auto& x = placed.x;
    std::vector<int> run_of(x.size(), -1); // the run an item is in, while it is looked at
    std::vector<int> seen(family_links.size(), -1);
    int run_number = 0;
    // Upward, a run looks at the families whose point it holds; downward, at those whose
    // children it holds too. Each such family stands over its children for one interval of
    // the run's shifts (the point and the children are never in one layer): the shift
    // inside the most intervals is taken.
    std::vector<double> starts, ends, centres;
    const auto align_layer = [&](std::size_t l, bool upward) {
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
            ++run_number;
            for (std::size_t k = first; k <= last; ++k) {
                run_of[static_cast<std::size_t>(layer[k])] = run_number;
            }
            starts.clear();
            ends.clear();
            centres.clear();
            for (std::size_t k = first; k <= last; ++k) {
                for (const int f : families_of[static_cast<std::size_t>(layer[k])]) {
                    const auto& links = family_links[static_cast<std::size_t>(f)];
                    const auto upper = static_cast<std::size_t>(placed.links[links.front()].upper);
                    const bool point_here = run_of[upper] == run_number;
                    if (seen[static_cast<std::size_t>(f)] == run_number || (upward && !point_here)) {
                        continue;
                    }
                    seen[static_cast<std::size_t>(f)] = run_number;
                    const double point = x[upper] + placed.links[links.front()].upper_offset;
                    // The span of the children in the run and of those outside it.
                    double in_lo = 1e300, in_hi = -1e300, out_lo = 1e300, out_hi = -1e300;
                    for (const std::size_t li : links) {
                        const PlacedLayers::Link& link = placed.links[li];
                        const auto lower = static_cast<std::size_t>(link.lower);
                        const double end = x[lower] + link.lower_offset;
                        if (run_of[lower] == run_number) {
                            in_lo = std::min(in_lo, end);
                            in_hi = std::max(in_hi, end);
                        } else {
                            out_lo = std::min(out_lo, end);
                            out_hi = std::max(out_hi, end);
                        }
                    }
                    if (point_here) {
                        starts.push_back(out_lo - tolerance - point);
                        ends.push_back(out_hi + tolerance - point);
                        centres.push_back((out_lo + out_hi) / 2 - point);
                        continue;
                    }
                    // The children's span grows with the shift on both sides.
                    starts.push_back(out_hi >= point - tolerance ? -1e300 : point - tolerance - in_hi);
                    ends.push_back(out_lo <= point + tolerance ? 1e300 : point + tolerance - in_lo);
                    if (out_lo > out_hi) {
                        centres.push_back(point - (in_lo + in_hi) / 2);
                    }
                }
            }
            if (!starts.empty()) {
                // The shift in the most intervals; of those, the one centring most, then
                // the smallest.
                std::vector<double> candidates{0.0};
                for (const double v : starts) {
                    candidates.push_back(v);
                }
                for (const double v : centres) {
                    candidates.push_back(v);
                }
                std::ranges::sort(starts);
                std::ranges::sort(ends);
                std::ranges::sort(centres);
                double best_shift = 0;
                long best_count = -1;
                long best_centred = -1;
                for (double shift : candidates) {
                    shift = std::clamp(shift, -room_left, room_right);
                    const long count = (std::ranges::upper_bound(starts, shift + 1e-9) - starts.begin()) -
                                       (std::ranges::lower_bound(ends, shift - 1e-9) - ends.begin());
                    const long centred = std::ranges::upper_bound(centres, shift + 1e-6) -
                                         std::ranges::lower_bound(centres, shift - 1e-6);
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
    };
    for (int pass = 0; pass < align_passes; ++pass) {
        for (std::size_t n = 0; n < order.size(); ++n) {
            align_layer(order[pass % 2 == 0 ? n : order.size() - 1 - n], pass % 2 == 0);
        }
    }
}

} // namespace kinship::family
