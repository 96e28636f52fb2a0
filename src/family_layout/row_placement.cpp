#include "family_layout/row_placement.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kinship::family {
namespace {

// Alternating sweeps down and up, then one more up, which puts couples over their
// children; an item with nothing to pull it that way holds its place only weakly.
constexpr int last_sweeps_up = 1;
constexpr double weight_of_unpulled = 0.05;
// Runs moved over their children from the bottom layer up, then down, and so on.
constexpr int align_passes = 8;
// Items visited while trying to move parts of runs, per alignment: bounds the time on the
// largest charts, where runs of thousands of items would be tried part by part.
constexpr std::size_t split_budget = 1000000;

} // namespace

// The positions of one layer's items closest to `target` (least weighted absolute
// distance), in the layer's order and at least the required distance apart. With c the
// running sum of the distances, x - c must not decrease: pool adjacent violators, each pool
// at its weighted median. Unlike least squares, this leaves most items exactly at their
// targets and moves a few far, rather than moving everyone a little: a couple a little
// off its children is as far from standing over them as one far off.
void settle(const std::vector<int>& items, const std::vector<double>& target,
            const std::vector<double>& weight, const PlacedLayers& placed, double box_gap,
            double line_gap, std::vector<double>& x)
{
    // A block of pooled items: its values (target less the running distance) split at the
    // weighted median, the lower half in a max-heap, the upper in a min-heap.
    struct Value {
        double value;
        double weight;
    };
    struct Block {
        Value only{};            // the value of a block of one, which needs no heaps
        std::vector<Value> low;  // max-heap; its top is the median
        std::vector<Value> high; // min-heap
        double low_weight = 0;
        double weight = 0;
        std::size_t count = 0;
        double level() const { return low.empty() ? only.value : low.front().value; }
    };
    const auto lower = [](const Value& a, const Value& b) { return a.value < b.value; };
    const auto higher = [](const Value& a, const Value& b) { return a.value > b.value; };
    const auto add = [&](Block& block, const Value& v) {
        block.weight += v.weight;
        if (!block.low.empty() && v.value > block.level()) {
            block.high.push_back(v);
            std::ranges::push_heap(block.high, higher);
        } else {
            block.low.push_back(v);
            std::ranges::push_heap(block.low, lower);
            block.low_weight += v.weight;
        }
    };
    const auto values_of = [](const Block& block, auto&& use) {
        if (block.low.empty()) {
            use(block.only);
            return;
        }
        for (const Value& v : block.low) {
            use(v);
        }
        for (const Value& v : block.high) {
            use(v);
        }
    };
    // Moves values between the halves until the top of the lower one is the median: the
    // least value with at least half the weight at or below it.
    const auto balance = [&](Block& block) {
        constexpr double eps = 1e-12;
        while (block.low_weight < block.weight / 2 - eps && !block.high.empty()) {
            std::ranges::pop_heap(block.high, higher);
            block.low.push_back(block.high.back());
            block.high.pop_back();
            std::ranges::push_heap(block.low, lower);
            block.low_weight += block.low.back().weight;
        }
        while (block.low.size() > 1 && block.low_weight - block.low.front().weight >= block.weight / 2 - eps) {
            std::ranges::pop_heap(block.low, lower);
            block.low_weight -= block.low.back().weight;
            block.high.push_back(block.low.back());
            block.low.pop_back();
            std::ranges::push_heap(block.high, higher);
        }
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
        Block block;
        block.only = {target[k] - shift[k], weight[k]};
        block.weight = weight[k];
        block.count = 1;
        // Pool with the blocks to the left while they would stand right of this one, the
        // smaller block's values moved into the larger one's heaps.
        while (!blocks.empty() && blocks.back().level() > block.level()) {
            Block& left = blocks.back();
            if (left.low.size() + left.high.size() > block.low.size() + block.high.size()) {
                std::swap(left, block);
            }
            if (block.low.empty()) { // a block of one: its value into the heaps
                const Value only = block.only;
                block.weight = 0;
                add(block, only);
            }
            values_of(left, [&](const Value& v) { add(block, v); });
            block.count += left.count;
            balance(block);
            blocks.pop_back();
        }
        blocks.push_back(std::move(block));
    }
    std::size_t k = 0;
    for (const Block& block : blocks) {
        for (std::size_t n = 0; n < block.count; ++n, ++k) {
            x[static_cast<std::size_t>(items[k])] = block.level() + shift[k];
        }
    }
}

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

std::vector<std::vector<std::size_t>> links_by_family(const PlacedLayers& placed)
{
    std::vector<std::vector<std::size_t>> family_links;
    for (std::size_t l = 0; l < placed.links.size(); ++l) {
        if (placed.links[l].family >= 0) {
            const auto f = static_cast<std::size_t>(placed.links[l].family);
            if (family_links.size() <= f) {
                family_links.resize(f + 1);
            }
            family_links[f].push_back(l);
        }
    }
    return family_links;
}

std::vector<std::size_t> layers_by_depth(const PlacedLayers& placed)
{
    std::vector<std::size_t> order(placed.layers.size());
    std::iota(order.begin(), order.end(), 0);
    std::ranges::stable_sort(order, {}, [&](std::size_t l) { return placed.depth[l]; });
    return order;
}

std::vector<std::vector<std::size_t>> layers_by_part(const PlacedLayers& placed)
{
    const std::size_t parts = placed.part.empty()
        ? 1 : static_cast<std::size_t>(*std::ranges::max_element(placed.part)) + 1;
    std::vector<std::vector<std::size_t>> chains(parts);
    for (const std::size_t l : layers_by_depth(placed)) {
        chains[placed.part.empty() ? 0 : static_cast<std::size_t>(placed.part[l])].push_back(l);
    }
    return chains;
}

void place_along_layers(PlacedLayers& placed, double box_gap, double line_gap, int sweep_pairs)
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
                    target[k] /= static_cast<double>(links.size());
                    // Down, each line from above pulls (a row of two children of different
                    // couples twice); up, a row counts once however many children it has,
                    // as each couple counts once over its children.
                    weight[k] = downward ? static_cast<double>(links.size()) : 1.0;
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
    const std::vector<std::vector<std::size_t>> family_links = links_by_family(placed);
    std::vector<std::vector<int>> families_of(placed.x.size());
    for (const PlacedLayers::Link& link : placed.links) {
        if (link.family < 0) {
            continue;
        }
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
    std::vector<double> starts, ends, centres, candidates;
    struct Move {
        double shift = 0;
        long gain = 0; // families over their children, more than without the move
        long left_out = 0; // families not over their children after it
    };
    // The best shift within [lo, hi] of the items `layer[first..last]`.
    const auto best_move = [&](const std::vector<int>& layer, std::size_t first, std::size_t last,
                               double lo, double hi, bool upward) {
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
                const PlacedLayers::Link& first_link = placed.links[links.front()];
                const double point = x[upper] + first_link.upper_offset;
                const double middle = x[upper] + first_link.middle_offset;
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
                // The shifts that put `at` over the children; with the children in the run,
                // their span grows with the shift on both sides.
                const auto over = [&](double at) {
                    return point_here
                        ? std::pair{out_lo - tolerance - at, out_hi + tolerance - at}
                        : std::pair{out_hi >= at - tolerance ? -1e300 : at - tolerance - in_hi,
                                    out_lo <= at + tolerance ? 1e300 : at + tolerance - in_lo};
                };
                // Both the point and the middle between the partners over the children,
                // else the middle alone.
                const auto [point_from, point_to] = over(point);
                const auto [middle_from, middle_to] = over(middle);
                const double from = std::max(point_from, middle_from);
                const double to = std::min(point_to, middle_to);
                starts.push_back(from <= to ? from : middle_from);
                ends.push_back(from <= to ? to : middle_to);
                if (point_here) {
                    centres.push_back((out_lo + out_hi) / 2 - point);
                } else if (out_lo > out_hi) {
                    centres.push_back(point - (in_lo + in_hi) / 2);
                }
            }
        }
        Move move;
        if (starts.empty()) {
            return move;
        }
        // The shift in the most intervals; of those, the one centring most, then the
        // smallest.
        candidates.assign(1, 0.0);
        for (const double v : starts) {
            if (v > -1e299) { // an open end is no shift to take
                candidates.push_back(v);
            }
        }
        candidates.insert(candidates.end(), centres.begin(), centres.end());
        std::ranges::sort(starts);
        std::ranges::sort(ends);
        std::ranges::sort(centres);
        const auto count_at = [&](double shift) {
            return (std::ranges::upper_bound(starts, shift + 1e-9) - starts.begin()) -
                   (std::ranges::lower_bound(ends, shift - 1e-9) - ends.begin());
        };
        const long unmoved = count_at(0.0);
        long best_count = -1;
        long best_centred = -1;
        for (double shift : candidates) {
            shift = std::clamp(shift, lo, hi);
            const long count = count_at(shift);
            const long centred = std::ranges::upper_bound(centres, shift + 1e-6) -
                                 std::ranges::lower_bound(centres, shift - 1e-6);
            if (count > best_count || (count == best_count && centred > best_centred) ||
                (count == best_count && centred == best_centred &&
                 std::abs(shift) < std::abs(move.shift))) {
                best_count = count;
                best_centred = centred;
                move.shift = shift;
            }
        }
        move.gain = best_count - unmoved;
        move.left_out = static_cast<long>(starts.size()) - best_count;
        return move;
    };
    std::size_t split_work = 0;
    const auto align_layer = [&](std::size_t l, bool upward) {
        const auto& layer = placed.layers[l];
        const auto gap = [&](std::size_t k) { // least distance between items k - 1 and k
            const auto a = static_cast<std::size_t>(layer[k - 1]);
            const auto b = static_cast<std::size_t>(layer[k]);
            return (placed.width[a] + placed.width[b]) / 2 +
                   (placed.width[a] > 0 && placed.width[b] > 0 ? box_gap : line_gap);
        };
        const auto item_x = [&](std::size_t k) { return x[static_cast<std::size_t>(layer[k])]; };
        const auto shift_items = [&](std::size_t from, std::size_t to, double shift) {
            for (std::size_t k = from; k <= to; ++k) {
                x[static_cast<std::size_t>(layer[k])] += shift;
            }
        };
        for (std::size_t first = 0; first < layer.size();) {
            std::size_t last = first;
            while (last + 1 < layer.size() && item_x(last + 1) - item_x(last) - gap(last + 1) < 1e-6) {
                ++last;
            }
            const auto room_left = [&] {
                return first == 0 ? 1e300 : item_x(first) - item_x(first - 1) - gap(first);
            };
            const auto room_right = [&] {
                return last + 1 == layer.size() ? 1e300 : item_x(last + 1) - item_x(last) - gap(last + 1);
            };
            const Move whole = best_move(layer, first, last, -room_left(), room_right(), upward);
            shift_items(first, last, whole.shift);
            // Then the run may come apart: its right part moving right, or its left part
            // left, where that puts more families over their children.
            for (std::size_t k = last; k > first && whole.left_out > 0 && split_work < split_budget; --k) {
                split_work += last - k + 1;
                const Move right = best_move(layer, k, last, 0.0, room_right(), upward);
                if (right.gain > 0 && right.shift > 1e-6) {
                    shift_items(k, last, right.shift);
                }
                split_work += k - first;
                const Move left = best_move(layer, first, k - 1, -room_left(), 0.0, upward);
                if (left.gain > 0 && left.shift < -1e-6) {
                    shift_items(first, k - 1, left.shift);
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
