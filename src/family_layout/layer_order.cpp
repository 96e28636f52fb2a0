#include "family_layout/layer_order.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace kinship::family {
namespace {

constexpr int sweep_pairs = 12;
// Sweeps stop early after this many pairs in a row that crossed no less than the best:
// by then they go round the same few orders.
constexpr int sweep_patience = 3;
constexpr int transpose_passes = 4;
// Sifting passes (down, up, ...) over layers of at most `sift_limit` items (it takes time
// in proportion to the square of a layer's items).
constexpr int sift_passes = 2;
constexpr std::size_t sift_limit = 200;
// A try from the best order shaken moves one item in `shake_share` (and one more) of every
// layer elsewhere, then sweeps and sifts a little.
constexpr std::size_t shake_share = 10;
constexpr int shaken_sweep_pairs = 3;
constexpr int shaken_sift_passes = 2;
// Tries in a row that find nothing better before a part is left as it is.
constexpr int fails_to_stop = 25;

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

// Sorts `v`, counting the pairs out of order (strictly greater first): merges bottom up.
long sort_counting(std::vector<double>& v, std::vector<double>& scratch)
{
    long count = 0;
    const std::size_t n = v.size();
    scratch.resize(n);
    for (std::size_t width = 1; width < n; width *= 2) {
        for (std::size_t lo = 0; lo < n; lo += 2 * width) {
            const std::size_t mid = std::min(lo + width, n);
            const std::size_t hi = std::min(lo + 2 * width, n);
            std::size_t i = lo;
            std::size_t j = mid;
            std::size_t k = lo;
            while (i < mid && j < hi) {
                if (v[j] < v[i]) {
                    count += static_cast<long>(mid - i);
                    scratch[k++] = v[j++];
                } else {
                    scratch[k++] = v[i++];
                }
            }
            while (i < mid) {
                scratch[k++] = v[i++];
            }
            while (j < hi) {
                scratch[k++] = v[j++];
            }
        }
        v.swap(scratch);
    }
    return count;
}

// Links as (upper end, lower end) that cross: the first strictly less, the second strictly
// greater. Sorted by both, those are the pairs whose seconds are out of order.
long crossing_pairs(std::vector<std::pair<double, double>>& pairs, std::vector<double>& seconds,
                    std::vector<double>& scratch)
{
    std::ranges::sort(pairs);
    seconds.clear();
    for (const auto& p : pairs) {
        seconds.push_back(p.second);
    }
    return sort_counting(seconds, scratch);
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
    std::vector<double> seconds, scratch;
    for (auto& pairs : between) {
        count += crossing_pairs(pairs, seconds, scratch);
    }
    return count;
}

void order_layers(PlacedLayers& placed, int shakes)
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
    // Crossings of the links between each layer and the next, as the places stand: the
    // links sorted by their upper ends, the lower ends out of order counted.
    std::vector<std::vector<std::size_t>> links_below(placed.layers.size());
    {
        std::vector<std::size_t> layer_of(items, 0);
        for (std::size_t l = 0; l < placed.layers.size(); ++l) {
            for (const int item : placed.layers[l]) {
                layer_of[static_cast<std::size_t>(item)] = l;
            }
        }
        for (std::size_t l = 0; l < placed.links.size(); ++l) {
            links_below[layer_of[static_cast<std::size_t>(placed.links[l].upper)]].push_back(l);
        }
    }
    std::vector<std::pair<double, double>> pairs;
    std::vector<double> lower_ends, scratch;
    // Per part, when `per_part` is given; the sum is returned.
    const auto count_now = [&](std::vector<long>* per_part = nullptr) {
        long count = 0;
        for (std::size_t l = 0; l < links_below.size(); ++l) {
            pairs.clear();
            for (const std::size_t n : links_below[l]) {
                const PlacedLayers::Link& link = placed.links[n];
                pairs.emplace_back(places.end(placed, link.upper, link.upper_offset),
                                   places.end(placed, link.lower, link.lower_offset));
            }
            const long here = crossing_pairs(pairs, lower_ends, scratch);
            count += here;
            if (per_part != nullptr) {
                (*per_part)[placed.part.empty() ? 0 : static_cast<std::size_t>(placed.part[l])] += here;
            }
        }
        return count;
    };
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
    // The ends of the links of a layer's items (by their places when loaded), sorted, on
    // both sides; the layers around stay as they are while the layer is reordered.
    std::vector<std::vector<double>> ups, downs;
    const auto load = [&](const std::vector<int>& layer) {
        if (ups.size() < layer.size()) {
            ups.resize(layer.size());
            downs.resize(layer.size());
        }
        for (std::size_t k = 0; k < layer.size(); ++k) {
            ends(layer[k], true, ups[k]);
            ends(layer[k], false, downs[k]);
            std::ranges::sort(ups[k]);
            std::ranges::sort(downs[k]);
        }
    };
    // How much more the links of loaded items u and v cross with u left of v than with v
    // left of u: one merge per side.
    const auto excess = [&](std::size_t u, std::size_t v) {
        long more = 0;
        for (const auto* side : {&ups, &downs}) {
            const auto& a = (*side)[u];
            const auto& b = (*side)[v];
            if (a.empty() || b.empty()) {
                continue;
            }
            // Apart, every pair crosses one way round and none the other.
            const auto pairs = static_cast<long>(a.size() * b.size());
            if (b.back() < a.front()) {
                more += pairs;
                continue;
            }
            if (a.back() < b.front()) {
                more -= pairs;
                continue;
            }
            std::size_t below = 0; // ends of v before x
            std::size_t up_to = 0; // ends of v at or before x
            for (const double x : a) {
                while (below < b.size() && b[below] < x) {
                    ++below;
                }
                up_to = std::max(up_to, below);
                while (up_to < b.size() && b[up_to] <= x) {
                    ++up_to;
                }
                // u left: pairs with x > y cross; v left: pairs with x < y.
                more += static_cast<long>(below) - static_cast<long>(b.size() - up_to);
            }
        }
        return more;
    };
    std::vector<std::size_t> slot; // the loaded items in their current order
    const auto transpose = [&](std::vector<int>& layer) {
        load(layer);
        slot.resize(layer.size());
        std::iota(slot.begin(), slot.end(), std::size_t{0});
        for (int pass = 0; pass < transpose_passes; ++pass) {
            bool swapped = false;
            for (std::size_t k = 0; k + 1 < layer.size(); ++k) {
                if (excess(slot[k], slot[k + 1]) > 0) {
                    std::swap(slot[k], slot[k + 1]);
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
    std::vector<int> item_of;
    std::vector<long> cost_at;
    // Which loaded items of a layer of n have a link crossing another item's: the ends
    // passed left to right and right to left, counted by value (Fenwick tree).
    std::vector<char> crossing;
    std::vector<double> values;
    std::vector<int> tree;
    const auto mark_crossing = [&](std::size_t n) {
        crossing.assign(n, 0);
        for (const auto* side : {&ups, &downs}) {
            values.clear();
            for (std::size_t k = 0; k < n; ++k) {
                values.insert(values.end(), (*side)[k].begin(), (*side)[k].end());
            }
            std::ranges::sort(values);
            values.erase(std::unique(values.begin(), values.end()), values.end());
            const auto rank = [&](double v) { // 1-based
                return static_cast<std::size_t>(std::ranges::lower_bound(values, v) - values.begin()) + 1;
            };
            for (const bool rightward : {true, false}) {
                tree.assign(values.size() + 1, 0);
                int inserted = 0;
                for (std::size_t j = 0; j < n; ++j) {
                    const std::size_t k = rightward ? j : n - 1 - j;
                    for (const double v : (*side)[k]) {
                        // Before it, ends greater (passing rightward) or smaller (leftward).
                        int up_to = 0; // ends at most v, or below v
                        for (std::size_t r = rightward ? rank(v) : rank(v) - 1; r > 0; r -= r & (~r + 1)) {
                            up_to += tree[r];
                        }
                        crossing[k] |= rightward ? inserted - up_to > 0 : up_to > 0;
                    }
                    for (const double v : (*side)[k]) {
                        for (std::size_t r = rank(v); r < tree.size(); r += r & (~r + 1)) {
                            ++tree[r];
                        }
                        ++inserted;
                    }
                }
            }
        }
    };
    const auto sift = [&](std::vector<int>& layer) {
        const std::size_t n = layer.size();
        if (n < 3 || n > sift_limit) {
            return;
        }
        load(layer);
        slot.resize(n);
        std::iota(slot.begin(), slot.end(), std::size_t{0});
        item_of = layer;
        mark_crossing(n);
        for (std::size_t u = 0; u < n; ++u) {
            if (!crossing[u]) { // nowhere to go that crosses less
                continue;
            }
            const auto at = static_cast<std::size_t>(std::ranges::find(slot, u) - slot.begin());
            slot.erase(slot.begin() + static_cast<std::ptrdiff_t>(at));
            // The crossings of u at each place, relative to the first: each step right
            // past an item adds the difference of the two ways round.
            cost_at.assign(1, 0);
            for (std::size_t k = 0; k < slot.size(); ++k) {
                cost_at.push_back(cost_at.back() - excess(u, slot[k]));
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
    std::vector<double> key;
    std::vector<double> a;
    std::vector<std::size_t> linked, by_key;
    std::vector<int> sorted;
    std::vector<char> settled(placed.layers.size(), 0); // layers of parts crossing nowhere
    const auto sweep = [&](bool downward) {
        for (std::size_t n = 0; n < order.size(); ++n) {
            if (settled[order[downward ? n : order.size() - 1 - n]]) {
                continue;
            }
            auto& layer = placed.layers[order[downward ? n : order.size() - 1 - n]];
            key.assign(layer.size(), 0.0);
            // Items linked that way are sorted by their barycentres into the places of
            // the linked ones; the others keep their places.
            linked.clear();
            for (std::size_t k = 0; k < layer.size(); ++k) {
                ends(layer[k], downward, a);
                if (!a.empty()) {
                    key[k] = std::accumulate(a.begin(), a.end(), 0.0) / static_cast<double>(a.size());
                    linked.push_back(k);
                }
            }
            by_key = linked;
            std::ranges::stable_sort(by_key, {}, [&](std::size_t k) { return key[k]; });
            sorted = layer;
            for (std::size_t j = 0; j < linked.size(); ++j) {
                sorted[linked[j]] = layer[by_key[j]];
            }
            layer.swap(sorted);
            number(layer);
            transpose(layer);
        }
    };
    // Sweeps from the layers as they stand, the order crossing least kept, then sifting.
    const auto improve = [&](int pairs, int sifts) {
        long best = count_now();
        auto best_layers = placed.layers;
        for (int n = 0, last_better = 0; n < pairs && best > 0 && n - last_better < sweep_patience;
             ++n) {
            sweep(true);
            sweep(false);
            const long now = count_now();
            if (now < best) {
                best = now;
                best_layers = placed.layers;
                last_better = n + 1;
            }
        }
        placed.layers = std::move(best_layers);
        for (const auto& layer : placed.layers) {
            number(layer);
        }
        for (int pass = 0; pass < sifts; ++pass) {
            for (std::size_t n = 0; n < order.size(); ++n) {
                const std::size_t l = order[pass % 2 == 0 ? n : order.size() - 1 - n];
                if (!settled[l]) {
                    sift(placed.layers[l]);
                }
            }
        }
    };
    improve(sweep_pairs, sift_passes);
    // Then tries from the best order shaken: in each layer some items moved elsewhere, at
    // places drawn from a fixed sequence (the same every run).
    std::uint64_t state = 0x9e3779b97f4a7c15ULL;
    const auto draw = [&](std::size_t below) { // splitmix64
        std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return static_cast<std::size_t>((z ^ (z >> 31)) % below);
    };
    // Each part keeps the try's order only where it crosses less there.
    const std::size_t parts = placed.part.empty()
        ? 1 : static_cast<std::size_t>(*std::ranges::max_element(placed.part)) + 1;
    std::vector<long> best_part(parts, 0);
    std::vector<long> now_part(parts, 0);
    count_now(&best_part);
    // A part is done once it crosses nowhere, or after `fails_to_stop` tries in a row that
    // found nothing better for it; the tries end when every part is done.
    std::vector<int> failed(parts, 0);
    for (int t = 0; t < shakes; ++t) {
        bool any = false;
        for (std::size_t l = 0; l < placed.layers.size(); ++l) {
            const std::size_t part = placed.part.empty() ? 0 : static_cast<std::size_t>(placed.part[l]);
            settled[l] = best_part[part] == 0 || failed[part] >= fails_to_stop;
            any = any || !settled[l];
        }
        if (!any) {
            break;
        }
        const auto kept = placed.layers;
        for (std::size_t l = 0; l < placed.layers.size(); ++l) {
            auto& layer = placed.layers[l];
            for (std::size_t m = 0; !settled[l] && layer.size() > 2 && m < 1 + layer.size() / shake_share; ++m) {
                const std::size_t from = draw(layer.size());
                const int item = layer[from];
                layer.erase(layer.begin() + static_cast<std::ptrdiff_t>(from));
                layer.insert(layer.begin() + static_cast<std::ptrdiff_t>(draw(layer.size() + 1)), item);
            }
            number(layer);
        }
        improve(shaken_sweep_pairs, shaken_sift_passes);
        std::ranges::fill(now_part, 0);
        count_now(&now_part);
        for (std::size_t l = 0; l < placed.layers.size(); ++l) {
            const std::size_t part = placed.part.empty() ? 0 : static_cast<std::size_t>(placed.part[l]);
            if (now_part[part] >= best_part[part]) {
                placed.layers[l] = kept[l];
            }
            number(placed.layers[l]);
        }
        for (std::size_t part = 0; part < parts; ++part) {
            failed[part] = now_part[part] < best_part[part] ? 0 : failed[part] + 1;
            best_part[part] = std::min(best_part[part], now_part[part]);
        }
    }
}

} // namespace kinship::family
