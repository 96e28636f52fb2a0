#include "family_layout/layer_order.h"

#include <algorithm>
#include <numeric>

namespace kinship::family {
namespace {

constexpr int sweep_pairs = 12;
constexpr int transpose_passes = 4;
// Sifting passes (down, up, ...) over layers of at most `sift_limit` items.
constexpr int sift_passes = 4;
constexpr std::size_t sift_limit = 600;

// The place of each item in its layer, and of a link's end: the item's place, moved
// within (-0.5, 0.5) by where the end lies in the row.
struct Places {
    std::vector<double> place;

    double end(const PlacedLayers& placed, int item, double offset) const
    {
        const double w = placed.width[static_cast<std::size_t>(item)];
        return place[static_cast<std::size_t>(item)] + (w > 0 ? offset / (w + 1) : 0.0);
    }
};

// Pairs with the first value strictly less and the second strictly greater.
long inversions(std::vector<std::pair<double, double>>& pairs)
{
    std::vector<double> seconds;
    for (const auto& p : pairs) {
        seconds.push_back(p.second);
    }
    std::ranges::sort(seconds);
    seconds.erase(std::unique(seconds.begin(), seconds.end()), seconds.end());
    std::vector<long> tree(seconds.size() + 1, 0); // counts of seconds inserted, Fenwick
    std::ranges::sort(pairs);
    long count = 0;
    long inserted = 0;
    for (std::size_t k = 0; k < pairs.size();) {
        std::size_t end = k;
        while (end < pairs.size() && pairs[end].first == pairs[k].first) {
            ++end;
        }
        for (std::size_t j = k; j < end; ++j) { // earlier ones with a greater second
            auto at = static_cast<std::size_t>(
                std::ranges::upper_bound(seconds, pairs[j].second) - seconds.begin());
            long not_greater = 0;
            for (; at > 0; at -= at & (~at + 1)) {
                not_greater += tree[at];
            }
            count += inserted - not_greater;
        }
        for (std::size_t j = k; j < end; ++j) {
            auto at = static_cast<std::size_t>(
                std::ranges::upper_bound(seconds, pairs[j].second) - seconds.begin());
            for (; at < tree.size(); at += at & (~at + 1)) {
                ++tree[at];
            }
            ++inserted;
        }
        k = end;
    }
    return count;
}

} // namespace

long count_crossings(const PlacedLayers& placed)
{
    Places places{std::vector<double>(placed.x.size(), 0.0)};
    for (const auto& layer : placed.layers) {
        for (std::size_t k = 0; k < layer.size(); ++k) {
            places.place[static_cast<std::size_t>(layer[k])] = static_cast<double>(k);
        }
    }
    std::vector<int> layer_of(placed.x.size());
    for (std::size_t l = 0; l < placed.layers.size(); ++l) {
        for (const int item : placed.layers[l]) {
            layer_of[static_cast<std::size_t>(item)] = static_cast<int>(l);
        }
    }
    std::vector<std::vector<std::pair<double, double>>> between(placed.layers.size());
    for (const PlacedLayers::Link& link : placed.links) {
        between[static_cast<std::size_t>(layer_of[static_cast<std::size_t>(link.upper)])].emplace_back(
            places.end(placed, link.upper, link.upper_offset),
            places.end(placed, link.lower, link.lower_offset));
    }
    long count = 0;
    for (auto& pairs : between) {
        count += inversions(pairs);
    }
    return count;
}

void order_layers(PlacedLayers& placed)
{
    const std::size_t items = placed.x.size();
    const ItemLinks item_links = links_by_item(placed);
    const auto& up = item_links.up;
    const auto& down = item_links.down;
    const std::vector<std::size_t> order = layers_by_depth(placed);
    Places places{std::vector<double>(items, 0.0)};
    const auto number = [&](const std::vector<int>& layer) {
        for (std::size_t k = 0; k < layer.size(); ++k) {
            places.place[static_cast<std::size_t>(layer[k])] = static_cast<double>(k);
        }
    };
    for (const auto& layer : placed.layers) {
        number(layer);
    }
    // The ends on the other side of an item's links, up or down.
    const auto ends = [&](int item, bool upward, std::vector<double>& out) {
        out.clear();
        for (const std::size_t l : upward ? up[static_cast<std::size_t>(item)]
                                          : down[static_cast<std::size_t>(item)]) {
            const PlacedLayers::Link& link = placed.links[l];
            out.push_back(upward ? places.end(placed, link.upper, link.upper_offset)
                                 : places.end(placed, link.lower, link.lower_offset));
        }
    };
    std::vector<double> a, b;
    const auto crossings = [&](int left, int right) { // with `left` before `right`
        long count = 0;
        for (const bool upward : {true, false}) {
            ends(left, upward, a);
            ends(right, upward, b);
            for (const double x : a) {
                for (const double y : b) {
                    count += x > y;
                }
            }
        }
        return count;
    };
    const auto transpose = [&](std::vector<int>& layer) {
        for (int pass = 0; pass < transpose_passes; ++pass) {
            bool swapped = false;
            for (std::size_t k = 0; k + 1 < layer.size(); ++k) {
                if (crossings(layer[k + 1], layer[k]) < crossings(layer[k], layer[k + 1])) {
                    std::swap(layer[k], layer[k + 1]);
                    places.place[static_cast<std::size_t>(layer[k])] = static_cast<double>(k);
                    places.place[static_cast<std::size_t>(layer[k + 1])] = static_cast<double>(k + 1);
                    swapped = true;
                }
            }
            if (!swapped) {
                return;
            }
        }
    };
    // Sifting: each item of a layer in turn is taken out and put back at the place where
    // its links cross least those of the others, with both neighbouring layers. Each move
    // crosses at most as often as before; layers too long for this are left as they are.
    std::vector<std::vector<double>> ups, downs;
    const auto crossed = [&](std::size_t u, std::size_t v) { // u's links left of v's
        long count = 0;
        for (const auto* side : {&ups, &downs}) {
            const auto& a = (*side)[u];
            const auto& b = (*side)[v];
            std::size_t j = 0;
            for (const double x : a) { // pairs with x > y, both sorted
                while (j < b.size() && b[j] < x) {
                    ++j;
                }
                count += static_cast<long>(j);
            }
        }
        return count;
    };
    const auto sift = [&](std::vector<int>& layer) {
        const std::size_t n = layer.size();
        if (n < 3 || n > sift_limit) {
            return;
        }
        ups.assign(n, {});
        downs.assign(n, {});
        std::vector<std::size_t> slot(n); // the items of the layer, as indices 0..n-1
        std::vector<int> item_of(n);
        for (std::size_t k = 0; k < n; ++k) {
            item_of[k] = layer[k];
            slot[k] = k;
            ends(layer[k], true, ups[k]);
            ends(layer[k], false, downs[k]);
            std::ranges::sort(ups[k]);
            std::ranges::sort(downs[k]);
        }
        for (std::size_t u = 0; u < n; ++u) {
            if (ups[u].empty() && downs[u].empty()) {
                continue;
            }
            auto at = static_cast<std::size_t>(std::ranges::find(slot, u) - slot.begin());
            slot.erase(slot.begin() + static_cast<std::ptrdiff_t>(at));
            // The crossings of u at each place, relative to the first: each step right
            // past an item adds the difference of the two ways round.
            long cost = 0;
            std::vector<long> cost_at{0}; // per place, relative to place 0
            for (std::size_t k = 0; k < slot.size(); ++k) {
                cost += crossed(slot[k], u) - crossed(u, slot[k]);
                cost_at.push_back(cost);
            }
            std::size_t best_place = at; // moves only for a gain
            for (std::size_t k = 0; k < cost_at.size(); ++k) {
                if (cost_at[k] < cost_at[best_place]) {
                    best_place = k;
                }
            }
            slot.insert(slot.begin() + static_cast<std::ptrdiff_t>(best_place), u);
        }
        for (std::size_t k = 0; k < n; ++k) {
            layer[k] = item_of[slot[k]];
        }
        number(layer);
    };
    const auto sweep = [&](bool downward) {
        std::vector<double> key;
        for (std::size_t n = 0; n < order.size(); ++n) {
            auto& layer = placed.layers[order[downward ? n : order.size() - 1 - n]];
            key.assign(items == 0 ? 0 : layer.size(), 0.0);
            // Items linked that way are sorted by their barycentres into the places of
            // the linked ones; the others keep their places.
            std::vector<std::size_t> linked;
            for (std::size_t k = 0; k < layer.size(); ++k) {
                ends(layer[k], downward, a);
                if (!a.empty()) {
                    key[k] = std::accumulate(a.begin(), a.end(), 0.0) / static_cast<double>(a.size());
                    linked.push_back(k);
                }
            }
            std::vector<std::size_t> by_key = linked;
            std::ranges::stable_sort(by_key, {}, [&](std::size_t k) { return key[k]; });
            std::vector<int> sorted = layer;
            for (std::size_t j = 0; j < linked.size(); ++j) {
                sorted[linked[j]] = layer[by_key[j]];
            }
            layer = std::move(sorted);
            number(layer);
            transpose(layer);

        }
    };
    long best = count_crossings(placed);

    auto best_layers = placed.layers;
    for (int n = 0; n < sweep_pairs && best > 0; ++n) {
        sweep(true);
        sweep(false);
        const long now = count_crossings(placed);

        if (now < best) {
            best = now;
            best_layers = placed.layers;
        }
    }
    placed.layers = std::move(best_layers);
    for (const auto& layer : placed.layers) {
        number(layer);
    }

    for (int pass = 0; pass < sift_passes; ++pass) {
        for (std::size_t n = 0; n < order.size(); ++n) {
            sift(placed.layers[order[pass % 2 == 0 ? n : order.size() - 1 - n]]);
        }
    }
}

} // namespace kinship::family
